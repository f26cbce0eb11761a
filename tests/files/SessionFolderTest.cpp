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

// Who owns a prepared path: the bound user, or another one (root, when the
// tests run as root and the bound user is nobody).
enum class Owner { Bound, Other };
enum class Kind { Folder, File, Missing };

struct PathSpec {
    Kind kind;
    Owner owner;
    mode_t mode;
};

struct Row {
    const char* what;
    PathSpec working;
    PathSpec stateParent;  // the folder that holds the state folder
    PathSpec state;
    Place expected;
};

constexpr PathSpec kOwn{Kind::Folder, Owner::Bound, 0700};
constexpr PathSpec kMissing{Kind::Missing, Owner::Bound, 0};
constexpr PathSpec kShared{Kind::Folder, Owner::Other, 01777};  // as /tmp

const Row kRows[] = {
    {"own folder", kOwn, kOwn, kMissing, Place::WorkingDirectory},
    {"own folder, not writable", {Kind::Folder, Owner::Bound, 0500}, kOwn, kMissing, Place::StateFolder},
    {"shared folder with the sticky bit", kShared, kOwn, kMissing, Place::StateFolder},
    {"another user's folder, as /", {Kind::Folder, Owner::Other, 0755}, kOwn, kMissing, Place::StateFolder},
    {"another user's folder open to all", {Kind::Folder, Owner::Other, 0777}, kOwn, kOwn, Place::StateFolder},
    {"missing folder", kMissing, kOwn, kOwn, Place::StateFolder},
    {"a file, not a folder", {Kind::File, Owner::Bound, 0600}, kOwn, kMissing, Place::StateFolder},
    {"state folder of another user", kShared, kOwn, {Kind::Folder, Owner::Other, 0777}, Place::Nowhere},
    {"state folder cannot be made", kShared, {Kind::Folder, Owner::Bound, 0500}, kMissing, Place::Nowhere},
    {"state folder is a file", kShared, kOwn, {Kind::File, Owner::Bound, 0600}, Place::Nowhere},
};

bool Prepare(const QString& path, const PathSpec& spec) {
    const QByteArray native = QFile::encodeName(path);
    if (spec.kind == Kind::Missing) return true;
    if (spec.kind == Kind::Folder ? !QDir().mkdir(path) : !QFile(path).open(QIODevice::WriteOnly)) return false;
    const uid_t owner = spec.owner == Owner::Bound ? BoundUser() : 0;
    return chown(native.constData(), owner, owner) == 0 && chmod(native.constData(), spec.mode) == 0;
}

TEST(SessionFolder, ChoiceFollowsOwnershipAndWritePermission) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        const bool needsOther = row.working.owner == Owner::Other || row.state.owner == Owner::Other;
        if (needsOther && geteuid() != 0) continue;  // no second user to give a folder to
        QTemporaryDir top;
        ASSERT_TRUE(top.isValid());
        ASSERT_EQ(chmod(QFile::encodeName(top.path()).constData(), 0755), 0);
        const QString working = top.filePath("work"), parent = top.filePath("state"),
                      state = parent + "/optimara";
        ASSERT_TRUE(Prepare(working, row.working) && Prepare(parent, row.stateParent) && Prepare(state, row.state));
        const bool created = row.state.kind == Kind::Missing;
        const int result = RunBoundByPermissions([&] {
            const SessionFolder choice = ChooseSessionFolder(working, state);
            if (choice.place != row.expected) return 1 + int(choice.place);
            if (choice.place == Place::WorkingDirectory) return choice.path.isEmpty() ? 0 : 10;
            if (choice.place == Place::Nowhere) return 0;
            if (choice.path != state) return 11;
            struct stat info {};
            if (stat(QFile::encodeName(state).constData(), &info) != 0) return 12;
            // A folder made here is the user's alone.
            return created && (info.st_mode & 07777) != 0700 ? 13 : 0;
        });
        // 1 + the place chosen instead, 10 and up for a wrong folder.
        EXPECT_EQ(result, 0);
    }
}

TEST(SessionFolder, FilesAreNamedAsTheFolderSays) {
    EXPECT_EQ((SessionFolder{Place::WorkingDirectory, QString()}.FilePath("tabvex.qzt")), "tabvex.qzt");
    EXPECT_EQ((SessionFolder{Place::StateFolder, "/home/ana/.local/state/optimara"}.FilePath("tabvex.lp~")),
              "/home/ana/.local/state/optimara/tabvex.lp~");
    EXPECT_FALSE((SessionFolder{Place::Nowhere, QString()}.Usable()));
}

TEST(SessionFolder, StateFolderFollowsTheXdgRule) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    const struct {
        const char* value;  // nullptr: unset
        QString expected;
    } rows[] = {
        {"/srv/estado/", "/srv/estado/optimara"},
        {"relativo", QDir::homePath() + "/.local/state/optimara"},
        {nullptr, QDir::homePath() + "/.local/state/optimara"},
    };
    for (const auto& row : rows) {
        if (row.value) {
            qputenv("XDG_STATE_HOME", row.value);
        } else {
            qunsetenv("XDG_STATE_HOME");
        }
        EXPECT_EQ(DefaultStateFolder(), row.expected) << (row.value ? row.value : "unset");
    }
    if (saved.isNull()) {
        qunsetenv("XDG_STATE_HOME");
    } else {
        qputenv("XDG_STATE_HOME", saved);
    }
}

} // namespace
