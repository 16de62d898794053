#pragma once
// Ends a server process a test started: asks it to stop and waits for it, so that no server
// outlives its test. Does nothing for a process already ended (pid -1 or 0).

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>

namespace testsupport {

inline void stopChildProcess(pid_t& pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    pid = -1;
}

} // namespace testsupport
