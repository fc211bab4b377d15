#include "Runtime.h"

#include "Application.h"
#include "ClassRecord.h"
#include "EventLoop.h"
#include "RuntimeException.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace platform {

namespace {

std::unique_ptr<QApplication> s_app;
bool s_reportedUnhandled = false;
bool s_quitOnLastWindowClosedBefore = true;

// The entry-point table: a list of entries the program can fill; this program has none.
class PluginEntrypointsTable final : public Object {
public:
    static const ClassRecord& Lookup()
    {
        static const ClassRecord record("PluginEntrypointsTable", nullptr);
        return record;
    }
    explicit PluginEntrypointsTable(std::int32_t count)
        : Object(Lookup())
        , m_entries(static_cast<std::size_t>(count), nullptr)
    {
    }

private:
    std::vector<void*> m_entries;
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

bool hasDisplay()
{
    if (!QGuiApplication::instance())
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}

void RuntimeInit()
{
    s_reportedUnhandled = false;
    // A Qt application made by someone else (a test's) is used as it is and outlives the runtime.
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "sumwise";
        static char* argv[] = { name, nullptr };
        s_app = std::make_unique<QApplication>(argc, argv);
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
        s_app.reset();
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
    std::fprintf(stderr, "Sumwise: unhandled %s\n", text.c_str());
    std::fflush(stderr);
    if (hasDisplay())
        QMessageBox::critical(nullptr, QStringLiteral("Sumwise"),
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
    return Ref<Object>(new PluginEntrypointsTable(count));
}

bool runtimeReportedUnhandledException() noexcept
{
    return s_reportedUnhandled;
}

}
