// Runs code in a child process that cannot grow any file past a given size,
// the way a full disk refuses writes, and collects what it printed on stderr.
#pragma once

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

struct ChildOutcome {
    int exitCode; // -1 if the child did not exit normally
    std::string errors;
};

// Runs `body` (returning the exit code) in a child where writes past `limit`
// bytes fail with EFBIG instead of killing the process.
template <typename Body> ChildOutcome runWithFileSizeLimit(rlim_t limit, Body body)
{
    ChildOutcome outcome = { -1, "" };
    int errorPipe[2];
    if (pipe(errorPipe) != 0)
        return outcome;
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit fileSize = { limit, limit };
        setrlimit(RLIMIT_FSIZE, &fileSize);
        dup2(errorPipe[1], 2);
        _exit(body());
    }
    close(errorPipe[1]);
    char chunk[512];
    ssize_t count;
    while ((count = read(errorPipe[0], chunk, sizeof chunk)) > 0)
        outcome.errors.append(chunk, (size_t)count);
    close(errorPipe[0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    return outcome;
}

} // namespace testsupport
