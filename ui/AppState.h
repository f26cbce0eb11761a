// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the program keeps between two events, in one place: the solve
// session, and beside it what only the window keeps. The main window owns
// it and hands it to whatever needs it.
#include "Plot.h"
#include "Session.h"
#include "SessionFolder.h"
#include "SolveSession.h"

namespace optimara {

struct AppState : SolveSession {
    PlotState plot;
    files::Session session;
    // Where the settings line and the autosave are read and written, chosen
    // once when the window is created; whether this run already said that
    // they cannot be kept anywhere.
    files::SessionFolder sessionFolder;
    bool sessionLossReported = false;
    // The size of the results' texts and the picture's lines, in percent.
    int zoom = 100;
    // The grid names the slack variables (from its next display on).
    bool slackNames = false;
};

} // namespace optimara
