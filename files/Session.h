// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The problem file the window works on, whether its text changed since it
// was last opened, saved or cleared, and the window caption that shows both.
#include <string>

namespace optimara::files {

class Session {
public:
    bool Modified = false;
    std::string CurrentFileName;  // UTF-8; empty when there is none

    // The user edited the problem text.
    void Changed();
    void Opened(const std::string& name);
    // The problem was written (to the current file or to the autosave).
    void Saved();
    void Cleared();
    // The settings of the last run were read back.
    void Restored(const std::string& name, bool modified);

    // "Optimara" until the first of the events above and after a clear;
    // otherwise "Optimara- " + file name, with " Modificado" while modified.
    std::string Caption() const;

private:
    bool named_ = false;
};

} // namespace optimara::files
