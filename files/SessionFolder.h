// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a run keeps its settings line and its autosave. A folder that is the
// user's own keeps them as it always did; a folder shared with others (the
// root folder of a menu start, a common /tmp) would show one user's problem
// to the next or refuse the writes, so the user's state folder keeps them
// instead.
#include <QString>

namespace optimara::files {

// A folder whose owner is the effective user and which that user may
// write and enter.
bool IsOwnWritableFolder(const QString& path);

struct SessionFolder {
    enum class Place { WorkingDirectory, StateFolder, Nowhere };
    Place place = Place::WorkingDirectory;
    QString path;  // the folder, empty for the working directory

    bool Usable() const { return place != Place::Nowhere; }
    // The file of that name in the folder; in the working directory the
    // bare name, so that messages name it as they always did.
    QString FilePath(const QString& name) const;
};

// The working directory when it is the user's own; otherwise the state
// folder, created (for the user alone) when missing, when that is the
// user's own; otherwise nowhere.
SessionFolder ChooseSessionFolder(const QString& workingDirectory, const QString& stateFolder);

// The program's folder in the user's state folder: $XDG_STATE_HOME/optimara,
// by default ~/.local/state/optimara.
QString DefaultStateFolder();

} // namespace optimara::files
