#pragma once

namespace optimara {
// Runs the whole desktop application; returns the process exit code.
int RunApplication(int argc, char** argv);
}
