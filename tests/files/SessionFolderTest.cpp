// SPDX-License-Identifier: GPL-3.0-or-later
// The folder of the session, decided for a user whom permissions bind: the
// working directory when it is the user's own and writable, else the user's
// state folder (made for the user alone), else nowhere.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "SessionFolder.h"
#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

using Place = SessionFolder::Place;

// A folder with its mode (0: none), owned by the bound user or by another.
struct Folder {
    mode_t mode;
    bool own = true;
};

bool Make(const QString& path, Folder folder) {
    if (folder.mode == 0) return true;
    const QByteArray native = QFile::encodeName(path);
    const uid_t owner = folder.own ? BoundUser() : 0;
    return QDir().mkdir(path) && chown(native.constData(), owner, owner) == 0 &&
           chmod(native.constData(), folder.mode) == 0;
}

TEST(SessionFolder, OwnWritableWorkingDirectoryElseOwnStateFolderElseNowhere) {
    const struct {
        const char* what;
        Folder working, stateParent, state;
        Place expected;
    } rows[] = {
        {"own folder", {0700}, {0700}, {0}, Place::WorkingDirectory},
        {"own folder, not writable", {0500}, {0700}, {0}, Place::StateFolder},
        {"shared with the sticky bit, as /tmp", {01777, false}, {0700}, {0}, Place::StateFolder},
        {"another user's, as /, with a state folder", {0755, false}, {0700}, {0700}, Place::StateFolder},
        {"state folder of another user", {01777, false}, {0700}, {0777, false}, Place::Nowhere},
        {"state folder cannot be made", {01777, false}, {0500}, {0}, Place::Nowhere},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (geteuid() != 0 && !(row.working.own && row.state.own)) continue;  // no other user to own a folder
        QTemporaryDir top;
        ASSERT_EQ(chmod(QFile::encodeName(top.path()).constData(), 0755), 0);
        const QString working = top.filePath("work"), state = top.filePath("state/optimara");
        ASSERT_TRUE(Make(working, row.working) && Make(top.filePath("state"), row.stateParent) &&
                    Make(state, row.state));
        const int wrong = RunBoundByPermissions([&] {
            const SessionFolder choice = ChooseSessionFolder(working, state);
            if (choice.place != row.expected) return 1;
            if (choice.place != Place::StateFolder) return choice.path.isEmpty() ? 0 : 2;
            struct stat made {};
            const bool alone = stat(QFile::encodeName(state).constData(), &made) == 0 && (made.st_mode & 0777) == 0700;
            return choice.path == state && (row.state.mode != 0 || alone) ? 0 : 3;
        });
        EXPECT_EQ(wrong, 0) << "1: another place, 2: another folder, 3: not made for the user alone";
    }
}

} // namespace
