#include "EventLoop.h"

#include "Object.h"
#include "Ref.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>

namespace platform {

namespace {

std::exception_ptr s_pending;
int s_depth = 0;

}

void EventLoop::deliver(Object& receiver, const std::function<void()>& handler) noexcept
{
    if (receiver.refCount() == 0)
        return;
    ++s_depth;
    try {
        // Held inside the count: a receiver whose last reference goes with the handler defers
        // deleting its Qt objects, which may still be delivering.
        Ref<Object> keep(&receiver);
        handler();
    } catch (...) {
        if (!s_pending)
            s_pending = std::current_exception();
        // Only a running loop is stopped: an exit asked for with none running would end the
        // next loop to start, a modal one included, before it ran.
        if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(1);
    }
    --s_depth;
}

void EventLoop::dispose(QObject* object, const std::function<void()>& takeOutOfView)
{
    if (!object)
        return;
    if (deliveryDepth() == 0) {
        delete object;
        return;
    }
    takeOutOfView();
    object->deleteLater();
}

int EventLoop::deliveryDepth() noexcept
{
    return s_depth;
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
