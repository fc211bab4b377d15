#pragma once

#include "EventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <functional>

namespace testsupport {

// Ends an event loop that nothing else ends, so that a fault fails the test instead of hanging it.
class Watchdog {
public:
    // After the time given, runs fire.
    explicit Watchdog(std::function<void()> fire, std::chrono::milliseconds after = std::chrono::seconds(20))
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this, fire = std::move(fire)] {
            m_fired = true;
            fire();
        });
        m_timer.start(after);
    }
    // After the time given, ends the running loops with exitCode.
    explicit Watchdog(int exitCode, std::chrono::milliseconds after = std::chrono::seconds(20))
        : Watchdog([exitCode] { QCoreApplication::exit(exitCode); }, after)
    {
    }

    bool fired() const noexcept { return m_fired; }
    void stop() { m_timer.stop(); }

private:
    QTimer m_timer;
    bool m_fired = false;
};

// Runs the framework's event loop, first thing in it first, until something ends it; false when
// only the watchdog did.
inline bool runLoopUntilQuit(const std::function<void()>& first)
{
    Watchdog watchdog(3);
    QTimer::singleShot(0, first);
    platform::EventLoop::run();
    return !watchdog.fired();
}

}
