#include "Runtime.h"

#include "Application.h"
#include "ClassRecord.h"
#include "EventLoop.h"
#include "RuntimeException.h"
#include "UserReport.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Made by RuntimeInit and deleted by RuntimeExit, never by a static destructor: an exit from
// inside Qt (a lost display) must not tear the application down under Qt's feet.
QApplication* s_app = nullptr;
bool s_reportedUnhandled = false;
bool s_quitOnLastWindowClosedBefore = true;

// The entry-point table. No plug-in reads it in this framework, so it holds no entries, only its
// count's check when it is made.
class PluginEntrypointsTable final : public Object {
public:
    static const ClassRecord& Lookup()
    {
        static ClassCache cache;
        return cache.build(nullptr, "PluginEntrypointsTable", 0, [](ClassRecord&) {});
    }
    PluginEntrypointsTable()
        : Object(Lookup())
    {
    }
};

std::string describe(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const RuntimeException& e) {
        return std::string(e.kind()) + ": " + e.what();
    } catch (const std::exception& e) {
        return std::string("exception: ") + e.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        return "not set";
    return std::string("\"") + value + "\"";
}

// While Qt starts, what it says is held back: when no display can be opened it would end the
// process with a paragraph about reinstalling the application; the user gets one line that says
// what is missing instead, and a successful start passes the held messages on.
struct HeldMessage {
    QtMsgType type;
    // Qt's log contexts point at static text: file, function and category names.
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};
std::vector<HeldMessage>* s_heldMessages = nullptr;

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "Sumwise: no graphical display could be opened (DISPLAY is %s, WAYLAND_DISPLAY is %s); "
                     "Sumwise needs one to show its window.\n",
                     environmentValue("DISPLAY").c_str(), environmentValue("WAYLAND_DISPLAY").c_str());
        std::fflush(stderr);
        // Qt is half made: nothing may be torn down, by a static destructor or anything else.
        std::_Exit(1);
    }
    if (s_heldMessages)
        s_heldMessages->push_back({ type, context.file, context.line, context.function, context.category, message });
}

QApplication* startQt()
{
    static int argc = 1;
    static char name[] = "sumwise";
    static char* argv[] = { name, nullptr };
    std::vector<HeldMessage> held;
    s_heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(&holdStartMessage);
    auto* app = new QApplication(argc, argv);
    qInstallMessageHandler(previous);
    s_heldMessages = nullptr;
    for (const HeldMessage& m : held)
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
    return app;
}

}

bool runtimeShowsWindows()
{
    if (!QGuiApplication::instance())
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void RuntimeInit()
{
    s_reportedUnhandled = false;
    // A Qt application made by someone else (a test's) is used as it is and outlives the runtime.
    if (!QCoreApplication::instance()) {
        s_app = startQt();
        QApplication::setApplicationName(QStringLiteral("Sumwise"));
    }
    // Closing the last window does not by itself quit: the window's Close event asks to.
    s_quitOnLastWindowClosedBefore = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

std::int32_t RuntimeExit()
{
    // Work queued for the loop's next turn runs now, while Qt is still there: whatever such work
    // holds must not be released from inside Qt's own clean-up of its queue, where a window being
    // torn down waits for that queue and never finishes.
    const auto flush = [] {
        if (!QCoreApplication::instance())
            return;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    flush();
    RuntimeReleaseAppObject();
    flush();
    // A handler that failed after the loop had ended still counts as a failure.
    if (std::exception_ptr late = EventLoop::takePendingException())
        UnhandledException(late);
    if (s_app)
        delete std::exchange(s_app, nullptr);
    else if (QCoreApplication::instance())
        QGuiApplication::setQuitOnLastWindowClosed(s_quitOnLastWindowClosedBefore);
    return s_reportedUnhandled ? 1 : 0;
}

void RunFrameworkInitialization(const Code& startup)
{
    if (!startup)
        throw RuntimeException("the framework was given no start-up routine");
    startup->call<void()>("the start-up routine");
}

void RuntimeRun()
{
    EventLoop::run();
}

void Quit(std::int32_t)
{
    EventLoop::quit();
}

void UnhandledException(std::exception_ptr exception)
{
    s_reportedUnhandled = true;
    const std::string text = describe(exception);
    tellUser("unhandled " + text, QMessageBox::Critical,
             QStringLiteral("An unexpected error stopped Sumwise:\n%1").arg(QString::fromStdString(text)));
}

void RuntimeInitExternalClasses()
{
}

void PluginEntrypointsHook(void (*initPluginEntrypoints)())
{
    if (initPluginEntrypoints)
        initPluginEntrypoints();
}

Ref<Object> RuntimeAllocatePluginEntrypointsTable(std::int32_t count)
{
    if (count < 0)
        throw RuntimeException("a plug-in entry-point table cannot have " + std::to_string(count) + " entries");
    return Ref<Object>(new PluginEntrypointsTable);
}

bool runtimeReportedUnhandledException() noexcept
{
    return s_reportedUnhandled;
}

}
