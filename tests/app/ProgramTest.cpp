#include "App.h"
#include "MenuBar1.h"
#include "Program.h"

#include "Application.h"
#include "Delegate.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Graphics.h"
#include "Introspection.h"
#include "NilObjectException.h"
#include "PrintDialog.h"
#include "PrintJobException.h"
#include "Runtime.h"
#include "RuntimeException.h"
#include "Watchdog.h"
#include "Window.h"
#include "WindowSupport.h"
#include "Window1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace platform;

namespace {

// What start-up handed the framework and what shut-down released, seen through framework calls
// that offer no observer of their own: the test program is linked with them wrapped
// (tests/CMakeLists.txt), and each wrapper tells the probe, when one is set, and passes the call on.
struct LifeProbe {
    struct MadeDelegate {
        Delegate::InvokerFn invoker;
        Ref<Object> target;
        String signature;
        Ref<Object> delegate; // held, so its count shows whether the program still holds it
    };
    // The first delegate made while the probe lives: start-up's, made before anything else runs.
    std::optional<MadeDelegate> startupDelegate;
    std::vector<Code> startupCodes;
    std::vector<int> delegateRefsAsStartupReturned;
    std::vector<std::string> finalizers;

    int startupDelegateRefs() const { return startupDelegate ? startupDelegate->delegate->refCount() : 0; }

    LifeProbe() { s_current = this; }
    ~LifeProbe() { s_current = nullptr; }
    LifeProbe(const LifeProbe&) = delete;
    LifeProbe& operator=(const LifeProbe&) = delete;

    static inline LifeProbe* s_current = nullptr;
};

}

Ref<Object> realCreateDelegate(Delegate::InvokerFn, Code, const Ref<Object>&, const String&) __asm__(
    "__real__ZN8platform21RuntimeCreateDelegateEPFvRKNS_8DelegateEESt10shared_ptrIKNS_8CallableEERKNS_3RefINS_6ObjectEEERKNS_6StringE");
Ref<Object> wrappedCreateDelegate(Delegate::InvokerFn, Code, const Ref<Object>&, const String&) __asm__(
    "__wrap__ZN8platform21RuntimeCreateDelegateEPFvRKNS_8DelegateEESt10shared_ptrIKNS_8CallableEERKNS_3RefINS_6ObjectEEERKNS_6StringE");
Ref<Object> wrappedCreateDelegate(Delegate::InvokerFn invoker, Code code, const Ref<Object>& target, const String& signature)
{
    Ref<Object> made = realCreateDelegate(invoker, std::move(code), target, signature);
    LifeProbe* probe = LifeProbe::s_current;
    if (probe && !probe->startupDelegate)
        probe->startupDelegate = LifeProbe::MadeDelegate { invoker, target, signature, made };
    return made;
}

void realRunFrameworkInitialization(const Code&) __asm__("__real__ZN8platform26RunFrameworkInitializationERKSt10shared_ptrIKNS_8CallableEE");
void wrappedRunFrameworkInitialization(const Code&) __asm__("__wrap__ZN8platform26RunFrameworkInitializationERKSt10shared_ptrIKNS_8CallableEE");
void wrappedRunFrameworkInitialization(const Code& startup)
{
    LifeProbe* probe = LifeProbe::s_current;
    if (probe)
        probe->startupCodes.push_back(startup);
    realRunFrameworkInitialization(startup);
    if (probe)
        probe->delegateRefsAsStartupReturned.push_back(probe->startupDelegateRefs());
}

#define SUMWISE_LOGGED_FINALIZER(mangled, name)                                                                        \
    void real##mangled() __asm__("__real_" #mangled);                                                                  \
    void wrapped##mangled() __asm__("__wrap_" #mangled);                                                               \
    void wrapped##mangled()                                                                                            \
    {                                                                                                                  \
        if (LifeProbe* probe = LifeProbe::s_current)                                                                   \
            probe->finalizers.push_back(name);                                                                         \
        real##mangled();                                                                                               \
    }
SUMWISE_LOGGED_FINALIZER(_ZN8platform13WindowSupport22ImplicitWindowListExitEv, "_mImplicitWindowList.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8platform13WindowSupport16DirtyWindowsExitEv, "_WindowSupport.mDirtyWindows.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8platform13WindowSupport11WindowsExitEv, "_WindowSupport.Windows.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8platform13Introspection12ArrayMapExitEv, "Introspection.ArrayInfo.mArrayMap.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8platform13Introspection20ClassFQNToRefMapExitEv, "Introspection.ClassInfo.sClassFQNToRefMap.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8platform13Introspection15ClassRefMapExitEv, "Introspection.ClassInfo.sClassRefMap.__Exit")
SUMWISE_LOGGED_FINALIZER(_ZN8MenuBar120implicitInstanceExitEv, "MenuBar1._implicitInstance.__Exit")
#undef SUMWISE_LOGGED_FINALIZER

namespace {

// What one run of the program showed from inside.
struct ProgramRun {
    int status = -1;
    bool looped = false;
    std::string stderrText;
};

// Runs the whole program in this process; whileLooping runs once its event loop is up.
ProgramRun runProgram(const std::function<void()>& whileLooping)
{
    ProgramRun run;
    QTimer step;
    step.setSingleShot(true);
    QObject::connect(&step, &QTimer::timeout, [&] {
        run.looped = QThread::currentThread()->loopLevel() > 0;
        whileLooping();
    });
    step.start(0);
    const testsupport::Watchdog watchdog([] {
        ADD_FAILURE() << "the event loop did not end";
        Quit(0);
    });
    ::testing::internal::CaptureStderr();
    run.status = Program::main_();
    run.stderrText = ::testing::internal::GetCapturedStderr();
    return run;
}

Ref<Object> theWindow()
{
    return GetImplicitWindow("Window1.Window1");
}

QMainWindow* qtWindowOf(const Ref<Object>& window)
{
    return window ? Window::from(*window).qtWindow() : nullptr;
}

// Puts other code into a record's slot or event handler for the length of a test.
class Swap {
public:
    using Wrap = std::function<Code(const Code& original)>;
    static Swap slot(ClassRecord& record, std::size_t index, const Wrap& wrap)
    {
        Swap s(record);
        s.m_index = index;
        s.m_saved = record.slot(index).code;
        record.setSlot(index, record.slot(index).name, wrap(s.m_saved));
        return s;
    }
    static Swap handler(ClassRecord& record, const char* event, const Wrap& wrap)
    {
        Swap s(record);
        s.m_event = event;
        s.m_saved = record.eventHandler(event);
        record.setEventHandler(event, wrap(s.m_saved));
        return s;
    }
    Swap(Swap&& other) noexcept
        : m_record(other.m_record)
        , m_index(other.m_index)
        , m_event(other.m_event)
        , m_saved(std::move(other.m_saved))
    {
        other.m_record = nullptr;
    }
    ~Swap()
    {
        if (!m_record)
            return;
        if (m_event)
            m_record->setEventHandler(m_event, m_saved);
        else
            m_record->setSlot(m_index, m_record->slot(m_index).name, m_saved);
    }

private:
    explicit Swap(ClassRecord& record)
        : m_record(&record)
    {
    }
    ClassRecord* m_record;
    std::size_t m_index = 0;
    const char* m_event = nullptr;
    Code m_saved;
};

// Counts and logs the start-up steps that other classes run: the menu bar's construction and the
// window's Layout.
struct StartupProbe {
    std::vector<std::string> log;
    Swap menuBar = Swap::slot(*(MenuBar1::ctblinit(), MenuBar1::ctbl), MenuBar1::SlotConstructor,
                              [this](const Code& original) {
                                  return makeCode<void(Object&)>([this, original](Object& bar) {
                                      log.push_back("menu bar");
                                      original->call<void(Object&)>("Constructor", bar);
                                  });
                              });
    Swap layout = Swap::handler(*(Window1::ctblinit(), Window1::ctbl), "Layout", [this](const Code& original) {
        return makeCode<void(Object&)>([this, original](Object& window) {
            log.push_back("window");
            // By now the application object is registered and carries the shared menu bar.
            const Ref<Object> app = RuntimeAppObject();
            EXPECT_TRUE(app && MenuBar1::_implicitInstance
                        && Application::MenuBarGet(*app) == MenuBar1::_implicitInstance);
            original->call<void(Object&)>("Layout", window);
        });
    });
};

// The seven releases of the module globals at shut-down, in their order.
const std::vector<std::string> moduleFinalizers = {
    "_mImplicitWindowList.__Exit",
    "_WindowSupport.mDirtyWindows.__Exit",
    "_WindowSupport.Windows.__Exit",
    "Introspection.ArrayInfo.mArrayMap.__Exit",
    "Introspection.ClassInfo.sClassFQNToRefMap.__Exit",
    "Introspection.ClassInfo.sClassRefMap.__Exit",
    "MenuBar1._implicitInstance.__Exit",
};

class ProgramTest : public testsupport::FrameworkTest {
protected:
    void SetUp() override
    {
        App::ctblinit();
        FrameworkTest::SetUp();
    }

    void releaseHeld() override
    {
        Program::finalize();
        RuntimeReleaseAppObject();
        Program::pluginEntrypoints = nullptr;
        setPrintDialogHook(nullptr);
        EventLoop::takePendingException();
        QCoreApplication::sendPostedEvents();
        if (m_savedApp)
            App::ctbl = std::move(m_savedApp);
    }

    // App's record replaced by one over Application whose objects come from make.
    void replaceAppRecord(ClassRecord::Factory make)
    {
        m_savedApp = std::move(App::ctbl);
        App::ctbl.build(&Application::Lookup, "App", Application::SlotCount, [](ClassRecord&) {}, std::move(make));
    }

    // Everything that start-up made and shut-down must release.
    static void expectGlobalsReleased()
    {
        EXPECT_FALSE(MenuBar1::_implicitInstance);
        EXPECT_FALSE(WindowSupport::windowsInitialised());
        EXPECT_FALSE(WindowSupport::implicitWindowListInitialised());
        EXPECT_FALSE(theWindow());
        EXPECT_EQ(Introspection::cachedClassCount(), 0u);
        EXPECT_FALSE(Introspection::TypeNamed("Application"));
        EXPECT_FALSE(RuntimeAppObject());
        EXPECT_TRUE(Program::pluginEntrypoints) << "the plug-in table lives to the end of the process";
    }

    ClassCache m_savedApp;
};

// Guards: a start-up step run out of order, run twice, or skipped; the app object created before
// the class records exist; the window opened before the app object carries its menu bar; a start-up
// delegate with another invoker, a target or another signature, or still held when the loop runs;
// the module globals released in another order.
TEST_F(ProgramTest, StartsUpInOrderAndQuitsWithStatusZero)
{
    StartupProbe probe;
    LifeProbe life;
    int appsMade = 0;
    const ClassRecord::Factory makeApplication = Application::Lookup().factory();
    replaceAppRecord([&](const ClassRecord& record) {
        ++appsMade;
        probe.log.push_back("app");
        EXPECT_TRUE(Window1::ctbl && MenuBar1::ctbl) << "every class record exists before start-up";
        EXPECT_TRUE(WindowSupport::windowsInitialised());
        EXPECT_TRUE(Program::pluginEntrypoints) << "the plug-in table comes first";
        EXPECT_FALSE(MenuBar1::_implicitInstance) << "the menu bar comes after the application object";
        return makeApplication(record);
    });
    // Caches that shut-down must empty.
    const Ref<Object> described = RuntimeNewObject(Application::Lookup());
    Introspection::GetType(*described);
    Introspection::ArrayInfoForInt32List();

    QPointer<QMainWindow> shown;
    const ProgramRun run = runProgram([&] {
        probe.log.push_back("loop");
        const Ref<Object> app = RuntimeAppObject();
        ASSERT_TRUE(app);
        EXPECT_EQ(&app->record(), App::ctbl.get());
        EXPECT_EQ(app->refCount(), 2) << "only the runtime holds the application object, beside this test";
        EXPECT_EQ(Application::MenuBarGet(*app), MenuBar1::_implicitInstance);
        EXPECT_EQ(WindowSupport::openWindowCount(), 1u);
        const Ref<Object> window = theWindow();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isA(Window1::Lookup()));
        EXPECT_EQ(Window::MenuBarGet(*window), MenuBar1::_implicitInstance) << "one shared menu bar";
        shown = qtWindowOf(window);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(shown->windowTitle(), "Sumwise");
        EXPECT_EQ(shown->focusWidget(), shown->findChild<QLineEdit*>()) << "focus in the practice number field";
        EXPECT_EQ(life.startupDelegateRefs(), 1) << "the program let go of the delegate before the loop";
        EXPECT_TRUE(life.finalizers.empty());
        Quit(0);
    });

    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.looped);
    EXPECT_EQ(run.stderrText, "");
    EXPECT_FALSE(runtimeReportedUnhandledException());
    EXPECT_EQ(appsMade, 1);
    EXPECT_EQ(probe.log, (std::vector<std::string> { "app", "menu bar", "window", "loop" }));
    expectGlobalsReleased();
    EXPECT_FALSE(shown) << "the window went at shut-down";
    EXPECT_NE(QCoreApplication::instance(), nullptr) << "a Qt application made by others stays";

    ASSERT_TRUE(life.startupDelegate);
    const LifeProbe::MadeDelegate& made = *life.startupDelegate;
    EXPECT_TRUE(made.invoker == &Delegate::Invoke) << "invoked as a routine without arguments";
    EXPECT_FALSE(made.target);
    EXPECT_EQ(made.signature.bytes(), "(  )");
    EXPECT_TRUE(made.signature.encoding() == TextEncoding::ASCII) << "the signature is tagged ASCII";
    ASSERT_EQ(life.startupCodes.size(), 1u);
    EXPECT_EQ(life.startupCodes[0], static_cast<const Delegate&>(*made.delegate).code()) << "only its code is handed on";
    EXPECT_EQ(life.delegateRefsAsStartupReturned, std::vector<int> { 2 }) << "held through the initialisation";
    EXPECT_EQ(life.finalizers, moduleFinalizers);
}

struct LoopEnd {
    const char* name;
    std::function<void(QMainWindow&)> act;
    int status;
    const char* reported; // what standard error must say, or nullptr for nothing
    bool unhandled = true; // whether what it says is the report of an unexpected error
};

void PrintWith(const std::function<Ref<Graphics>()>& dialog, QMainWindow& window)
{
    setPrintDialogHook([dialog](const Ref<Object>&, const Ref<Object>&) { return dialog(); });
    window.findChild<QPushButton*>()->click();
}

// The press ends the loop, so a key that presses nothing leaves it to the watchdog.
void pressKeyAndPrintNothing(QMainWindow& window, QWidget* focus, Qt::Key key)
{
    ASSERT_TRUE(focus);
    focus->setFocus();
    setPrintDialogHook([](const Ref<Object>&, const Ref<Object>&) {
        Quit(0);
        return Ref<Graphics>();
    });
    QTest::keyClick(focus, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_TRUE(window.isVisible());
}

const LoopEnd loopEnds[] = {
    { "QuitCalled", [](QMainWindow&) { Quit(0); }, 0, nullptr },
    { "FileQuitChosen", [](QMainWindow& w) { w.menuBar()->actions().at(0)->menu()->actions().at(0)->trigger(); }, 0,
      nullptr },
    { "WindowClosed", [](QMainWindow& w) { w.close(); }, 0, nullptr },
    { "PrintCancelled",
      [](QMainWindow& w) {
          PrintWith([] { return Ref<Graphics>(); }, w);
          Quit(0);
      },
      0, nullptr },
    // A job that cannot start is told by the print layer and ends the press as a cancel would:
    // the program goes on, and it is no unexpected error.
    { "PrintJobCannotStart",
      [](QMainWindow& w) {
          PrintWith([]() -> Ref<Graphics> { throw PrintJobException("no printer for the test"); }, w);
          EXPECT_TRUE(w.isVisible());
          Quit(0);
      },
      0, "Sumwise: could not print: no printer for the test. Nothing was printed.\n", false },
    // Work queued just as the loop ends still runs, and its failure is still reported.
    { "HandlerFailsAsTheLoopEnds",
      [](QMainWindow&) {
          QMetaObject::invokeMethod(
              qApp, [] { EventLoop::deliver(*RuntimeAppObject(), [] { throw RuntimeException("too late"); }); },
              Qt::QueuedConnection);
          Quit(0);
      },
      1, "RuntimeException: too late" },
    // Return and Enter, which no control of the window takes, press the default button "Print!".
    { "ReturnInTheField", [](QMainWindow& w) { pressKeyAndPrintNothing(w, w.findChild<QLineEdit*>(), Qt::Key_Return); },
      0, nullptr },
    { "EnterOnThePopup", [](QMainWindow& w) { pressKeyAndPrintNothing(w, w.findChild<QComboBox*>(), Qt::Key_Enter); },
      0, nullptr },
};

void PrintTo(const LoopEnd& end, std::ostream* os)
{
    *os << end.name;
}

class ProgramLoopEndTest : public ProgramTest, public ::testing::WithParamInterface<LoopEnd> {};

// Guards: a way of ending the loop that leaves the process running, an exception from a handler
// crossing Qt or lost, a failure reported as success, or the closed window left to Qt's clean-up
// (where its release hung the process).
TEST_P(ProgramLoopEndTest, EndsTheLoopAndShutsDown)
{
    const LoopEnd& end = GetParam();
    QPointer<QMainWindow> shown;
    const ProgramRun run = runProgram([&] {
        shown = qtWindowOf(theWindow());
        ASSERT_TRUE(shown);
        end.act(*shown);
    });
    EXPECT_TRUE(run.looped);
    EXPECT_EQ(run.status, end.status);
    EXPECT_EQ(runtimeReportedUnhandledException(), end.reported && end.unhandled);
    if (end.reported)
        EXPECT_NE(run.stderrText.find(end.reported), std::string::npos) << run.stderrText;
    else
        EXPECT_EQ(run.stderrText, "");
    EXPECT_FALSE(EventLoop::hasPendingException());
    expectGlobalsReleased();
    EXPECT_FALSE(shown) << "the window went at shut-down";
}

INSTANTIATE_TEST_SUITE_P(Ends, ProgramLoopEndTest, ::testing::ValuesIn(loopEnds),
                         [](const auto& info) { return std::string(info.param.name); });

struct StartupFailure {
    const char* name;
    const char* reported;
    bool menuBarMade;
    bool windowMade;
};

const StartupFailure startupFailures[] = {
    { "NoApplicationObject", "NilObjectException", false, false },
    { "MenuBarFails", "RuntimeException: the menu bar failed", true, false },
    { "WindowWithoutPracticeField", "NilObjectException", true, true },
};

void PrintTo(const StartupFailure& failure, std::ostream* os)
{
    *os << failure.name;
}

class ProgramStartupFailureTest : public ProgramTest, public ::testing::WithParamInterface<StartupFailure> {};

// Guards: a start-up failure that enters the event loop anyway, opens a window, goes unreported,
// exits with 0, leaks the application object, the menu bar or the start-up delegate, skips a
// release at shut-down or trips it over a nil global.
TEST_P(ProgramStartupFailureTest, ReportsSkipsTheLoopAndShutsDown)
{
    const StartupFailure& failure = GetParam();
    const std::string name = failure.name;
    StartupProbe probe;
    LifeProbe life;
    std::optional<Swap> broken;
    if (name == "NoApplicationObject") {
        replaceAppRecord([](const ClassRecord&) -> Object* { return nullptr; });
    } else if (name == "MenuBarFails") {
        broken.emplace(Swap::slot(*MenuBar1::ctbl, MenuBar1::SlotUntitled1, [](const Code&) {
            return makeCode<void(Object&)>([](Object&) { throw RuntimeException("the menu bar failed"); });
        }));
    } else {
        broken.emplace(Swap::slot(*Window1::ctbl, Window1::SlotCreateControls0,
                                  [](const Code&) { return makeCode<void(Object&)>([](Object&) {}); }));
    }

    const ProgramRun run = runProgram([] { Quit(0); });

    EXPECT_FALSE(run.looped) << "the event loop was entered";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(runtimeReportedUnhandledException());
    EXPECT_NE(run.stderrText.find(failure.reported), std::string::npos) << run.stderrText;
    std::vector<std::string> expected;
    if (failure.menuBarMade)
        expected.push_back("menu bar");
    if (failure.windowMade)
        expected.push_back("window");
    EXPECT_EQ(probe.log, expected);
    expectGlobalsReleased();
    EXPECT_EQ(WindowSupport::openWindowCount(), 0u);
    EXPECT_EQ(life.startupDelegateRefs(), 1) << "the program let go of the start-up delegate";
    EXPECT_EQ(life.finalizers, moduleFinalizers);
}

INSTANTIATE_TEST_SUITE_P(Failures, ProgramStartupFailureTest, ::testing::ValuesIn(startupFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards: App overriding, adding or reordering an operation, handling an event, publishing
// members, or registering under another name or base.
TEST_F(ProgramTest, AppIsApplicationUnchanged)
{
    const ClassRecord& app = App::Lookup();
    const ClassRecord& base = Application::Lookup();
    EXPECT_EQ(app.name(), String("App"));
    EXPECT_EQ(app.parent(), &base);
    ASSERT_EQ(app.methods().size(), 17u);
    ASSERT_EQ(base.methods().size(), 17u);
    for (std::size_t i = 0; i < 17; ++i) {
        EXPECT_EQ(app.slot(i).name, base.slot(i).name) << i;
        EXPECT_EQ(app.slot(i).code, base.slot(i).code) << app.slot(i).name;
        EXPECT_TRUE(app.slot(i).code) << app.slot(i).name;
    }
    EXPECT_EQ(app.slot(0).name, "NewDocument");
    EXPECT_EQ(app.slot(16).name, "__DependencyList");
    const std::vector<std::string> events = { "Open", "Close", "EnableMenuItems", "NewDocument", "OpenDocument",
                                              "HandleAppleEvent", "Activate", "Deactivate", "UnhandledException",
                                              "CancelClose" };
    ASSERT_EQ(app.events().size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(app.events()[i].name, events[i]);
        EXPECT_FALSE(app.eventHandler(events[i])) << events[i];
    }
    EXPECT_TRUE(app.members().empty());
    EXPECT_TRUE(app.attributes().empty());

    const Ref<Object> object = RuntimeNewObject(app);
    ASSERT_TRUE(object);
    EXPECT_TRUE(object->isA(base));
    EXPECT_NO_THROW(Application::from(*object));
}

// Guards: a builder that rebuilds an existing record (dangling the old one), or a lookup that
// returns nil before start-up has built the records.
TEST_F(ProgramTest, AppRecordIsBuiltOnceWhoeverAsksFirst)
{
    m_savedApp = std::move(App::ctbl);
    ASSERT_FALSE(App::ctbl);
    const ClassRecord* first = &App::Lookup();
    EXPECT_EQ(App::ctbl.get(), first) << "the lookup builds the record itself";
    const std::vector<Slot> table = first->methods();
    App::ctblinit();
    Program::initialize();
    EXPECT_EQ(App::ctbl.get(), first);
    EXPECT_EQ(&App::Lookup(), first);
    ASSERT_EQ(first->methods().size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(first->methods()[i].code, table[i].code);
    EXPECT_TRUE(WindowSupport::windowsInitialised()) << "initialize starts the window list";
    EXPECT_TRUE(Window1::ctbl && MenuBar1::ctbl);
}

}
