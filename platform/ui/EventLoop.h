#pragma once

#include <exception>
#include <functional>

class QObject;

namespace platform {

class Object;

// The boundary between Qt and the framework. Qt must never see an exception: code that Qt calls
// runs through deliver(), which keeps the first exception, stops the loop, and run() rethrows it.
class EventLoop {
public:
    // The one way Qt calls into the framework: runs handler for receiver, which it holds for the
    // call. A receiver nobody holds is still being made or already going, and gets nothing.
    static void deliver(Object& receiver, const std::function<void()>& handler) noexcept;
    // How many deliveries are under way. Above zero, a Qt object may be in the middle of
    // delivering a signal or event, so it must not be deleted under it.
    static int deliveryDepth() noexcept;
    // Deletes object at once, or, inside a delivery, where it may be the one delivering, on the
    // loop's next turn, after takeOutOfView has taken it off the screen. Null is nothing.
    static void dispose(QObject* object, const std::function<void()>& takeOutOfView);
    // Runs Qt's event loop until the application quits; rethrows an exception a handler raised.
    static void run();
    static void quit();
    static bool hasPendingException() noexcept;
    static std::exception_ptr takePendingException() noexcept;
    // For code that drives events outside run(), such as tests: rethrows what a handler raised.
    static void rethrowPendingException();
};

// Called on every iteration of long loops. Cheap when nothing is due; now and then it lets Qt
// repaint and process timers, without user input, so a press cannot start inside another press.
void RuntimeBackgroundTask();

}
