// Calls the framework's background-task hook N times (the first argument, ten million if none),
// with the application object in place as in the program, so that the whole run divided by N,
// less a run with N = 0, is the cost of one idle call.
#include "EventLoop.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    long long calls = 10'000'000;
    if (argc > 1) {
        char* end = nullptr;
        calls = std::strtoll(argv[1], &end, 10);
        if (*argv[1] == '\0' || *end != '\0' || calls < 0) {
            std::fprintf(stderr, "usage: %s [CALLS]  (a whole number, 0 or more)\n", argv[0]);
            return 2;
        }
    }
    QCoreApplication app(argc, argv);
    for (long long i = 0; i < calls; ++i)
        platform::RuntimeBackgroundTask();
    std::printf("%lld calls\n", calls);
    return 0;
}
