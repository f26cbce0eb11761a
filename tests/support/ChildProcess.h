// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a function in a forked child with its standard output captured, so
// that operations which end the process can be checked from the outside.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace optimara::testing {

struct ChildResult {
    bool exited = false;
    int exitStatus = -1;
    std::string output;
};

inline ChildResult RunInChild(const std::function<void()>& body) {
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[1]);
        body();
        std::exit(0);
    }
    close(fds[1]);
    ChildResult result;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    if (result.exited) result.exitStatus = WEXITSTATUS(status);
    return result;
}

} // namespace optimara::testing
