#include "EventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>

namespace platform {

namespace {

std::exception_ptr s_pending;

}

void EventLoop::deliver(const std::function<void()>& handler) noexcept
{
    try {
        handler();
    } catch (...) {
        if (!s_pending)
            s_pending = std::current_exception();
        // Only a running loop is stopped: an exit asked for with none running would end the
        // next loop to start, a modal one included, before it ran.
        if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(1);
    }
}

void EventLoop::run()
{
    rethrowPendingException();
    if (QCoreApplication::instance())
        QCoreApplication::exec();
    rethrowPendingException();
}

void EventLoop::quit()
{
    if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}

bool EventLoop::hasPendingException() noexcept
{
    return static_cast<bool>(s_pending);
}

std::exception_ptr EventLoop::takePendingException() noexcept
{
    return std::exchange(s_pending, nullptr);
}

void EventLoop::rethrowPendingException()
{
    if (std::exception_ptr e = takePendingException())
        std::rethrow_exception(e);
}

void RuntimeBackgroundTask()
{
    using Clock = std::chrono::steady_clock;
    static unsigned calls = 0;
    static Clock::time_point last = Clock::now();
    // Reading the clock on every call would dominate an idle call; every 64th is enough.
    if ((++calls & 63u) != 0)
        return;
    const Clock::time_point now = Clock::now();
    if (now - last < std::chrono::milliseconds(20))
        return;
    last = now;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}
