// Runs a command once and prints what its whole process cost, as the kernel accounted it: wall
// milliseconds from just before its start to just after it was reaped, user and system processor
// milliseconds, peak resident set size in kB, and its exit status. The command's standard output
// is thrown away; its errors go where ours go. Usage: bench_timed COMMAND [ARGUMENTS...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

double milliseconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COMMAND [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "%s: cannot run %s: %s\n", argv[0], argv[1], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("wait4");
            return 2;
        }
    }
    const auto end = std::chrono::steady_clock::now();
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%.3f %.3f %.3f %ld %d\n", std::chrono::duration<double, std::milli>(end - start).count(),
                milliseconds(usage.ru_utime), milliseconds(usage.ru_stime), usage.ru_maxrss, exitStatus);
    return exitStatus == 0 ? 0 : 1;
}
