// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace optimara::files {

bool IsOwnWritableFolder(const QString& path) {
    if (path.isEmpty()) return false;
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    // The effective user, as the writes will be made by it.
    return info.st_uid == ::geteuid() && ::faccessat(AT_FDCWD, native.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

QString SessionFolder::FilePath(const QString& name) const {
    return path.isEmpty() ? name : QDir(path).filePath(name);
}

SessionFolder ChooseSessionFolder(const QString& workingDirectory, const QString& stateFolder) {
    if (IsOwnWritableFolder(workingDirectory)) return {SessionFolder::Place::WorkingDirectory, QString()};
    if (!stateFolder.isEmpty() && !QFileInfo::exists(stateFolder) && QDir().mkpath(stateFolder))
        QFile::setPermissions(stateFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (IsOwnWritableFolder(stateFolder)) return {SessionFolder::Place::StateFolder, QDir::cleanPath(stateFolder)};
    return {SessionFolder::Place::Nowhere, QString()};
}

QString DefaultStateFolder() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // The toolkit names the state folder only from 6.7 on; the same rule.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) state = QDir::homePath() + "/.local/state";
#endif
    return state.isEmpty() ? QString() : QDir::cleanPath(state + "/optimara");
}

} // namespace optimara::files
