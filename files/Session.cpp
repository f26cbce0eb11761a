// SPDX-License-Identifier: GPL-3.0-or-later
#include "Session.h"

namespace optimara::files {

void Session::Changed() {
    Modified = true;
    named_ = true;
}

void Session::Opened(const std::string& name) {
    CurrentFileName = name;
    Modified = false;
    named_ = true;
}

void Session::Saved() {
    Modified = false;
    named_ = true;
}

void Session::Cleared() {
    Modified = false;
    CurrentFileName.clear();
    named_ = false;
}

void Session::Restored(const std::string& name, bool modified) {
    CurrentFileName = name;
    Modified = modified;
    named_ = true;
}

std::string Session::Caption() const {
    if (!named_) return "Optimara";
    // Built afresh every time, so repeated edits never repeat the suffix.
    return "Optimara- " + CurrentFileName + (Modified ? " Modificado" : "");
}

} // namespace optimara::files
