#include "App.h"
#include "MenuBar1.h"
#include "Program.h"

#include "Application.h"
#include "Delegate.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "IllegalCastException.h"
#include "Introspection.h"
#include "Invoker.h"
#include "MenuItems.h"
#include "NilObjectException.h"
#include "PrintDialog.h"
#include "PrintJobException.h"
#include "RecordSwap.h"
#include "Runtime.h"
#include "SignatureMismatchException.h"
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

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;

namespace {

// What start-up handed the framework and what shut-down released, seen through framework calls that offer no
// observer of their own: the test program is linked with them wrapped (tests/CMakeLists.txt), and each wrapper
// tells the probe, when one is set, and passes the call on.
struct LifeProbe {
    // The first delegate made while the probe lives: start-up's, made before anything else runs. The delegate is
    // held, so its count shows whether the program still holds it.
    struct MadeDelegate { Delegate::InvokerFn invoker; Ref<Object> target; String signature; Ref<Object> delegate; };
    std::optional<MadeDelegate> startupDelegate;
    std::vector<Code> startupCodes;
    std::vector<int> delegateRefsAsStartupReturned;
    std::vector<std::string> finalizers;
    int startupDelegateRefs() const { return startupDelegate ? startupDelegate->delegate->refCount() : 0; }
    LifeProbe() { s_current = this; }
    ~LifeProbe() { s_current = nullptr; }
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
    if (LifeProbe* probe = LifeProbe::s_current; probe && !probe->startupDelegate)
        probe->startupDelegate = LifeProbe::MadeDelegate { invoker, target, signature, made };
    return made;
}

void realRunFrameworkInitialization(const Code&) __asm__("__real__ZN8platform26RunFrameworkInitializationERKSt10shared_ptrIKNS_8CallableEE");
void wrappedRunFrameworkInitialization(const Code&) __asm__("__wrap__ZN8platform26RunFrameworkInitializationERKSt10shared_ptrIKNS_8CallableEE");
void wrappedRunFrameworkInitialization(const Code& startup)
{
    if (LifeProbe* probe = LifeProbe::s_current)
        probe->startupCodes.push_back(startup);
    realRunFrameworkInitialization(startup);
    if (LifeProbe* probe = LifeProbe::s_current)
        probe->delegateRefsAsStartupReturned.push_back(probe->startupDelegateRefs());
}

// The seven releases of the module globals at shut-down, in their order: the wrapped call and the name it is logged as.
#define SUMWISE_MODULE_FINALIZERS(X)                                                                                   \
    X(_ZN8platform13WindowSupport22ImplicitWindowListExitEv, "_mImplicitWindowList.__Exit")                            \
    X(_ZN8platform13WindowSupport16DirtyWindowsExitEv, "_WindowSupport.mDirtyWindows.__Exit")                          \
    X(_ZN8platform13WindowSupport11WindowsExitEv, "_WindowSupport.Windows.__Exit")                                     \
    X(_ZN8platform13Introspection12ArrayMapExitEv, "Introspection.ArrayInfo.mArrayMap.__Exit")                         \
    X(_ZN8platform13Introspection20ClassFQNToRefMapExitEv, "Introspection.ClassInfo.sClassFQNToRefMap.__Exit")         \
    X(_ZN8platform13Introspection15ClassRefMapExitEv, "Introspection.ClassInfo.sClassRefMap.__Exit")                   \
    X(_ZN8MenuBar120implicitInstanceExitEv, "MenuBar1._implicitInstance.__Exit")
#define SUMWISE_LOGGED_FINALIZER(mangled, name)                                                                        \
    void real##mangled() __asm__("__real_" #mangled);                                                                  \
    void wrapped##mangled() __asm__("__wrap_" #mangled);                                                               \
    void wrapped##mangled() { if (LifeProbe* p = LifeProbe::s_current) p->finalizers.push_back(name); real##mangled(); }
SUMWISE_MODULE_FINALIZERS(SUMWISE_LOGGED_FINALIZER)
#define SUMWISE_FINALIZER_NAME(mangled, name) name,

namespace {

const std::vector<std::string> moduleFinalizers = { SUMWISE_MODULE_FINALIZERS(SUMWISE_FINALIZER_NAME) };

// The start-up steps in their order, then the event loop.
const std::vector<std::string> allSteps = { "app", "menu bar", "window", "loop" };

void PrintWith(const std::function<Ref<Graphics>()>& dialog, QMainWindow& window)
{
    setPrintDialogHook([dialog](const Ref<Object>&, const Ref<Object>&) { return dialog(); });
    window.findChild<QPushButton*>()->click();
}

// Presses key in focus, printing nothing. The press ends the loop, so a key that presses nothing leaves it to the
// watchdog.
void pressKey(QMainWindow& window, QWidget* focus, Qt::Key key)
{
    ASSERT_TRUE(focus);
    focus->setFocus();
    setPrintDialogHook([](const Ref<Object>&, const Ref<Object>&) { Quit(0); return Ref<Graphics>(); });
    QTest::keyClick(focus, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_TRUE(window.isVisible());
}

// One run of the program: what breaks start-up, if anything, and what ends the loop.
struct ProgramCase {
    const char* name;
    std::function<void(QMainWindow&)> act = [](QMainWindow&) { Quit(0); };
    int status = 0; const char* reported = nullptr; // what standard error must say, or nullptr for nothing
    std::size_t steps = allSteps.size(); // how many of allSteps happen
    // Whether what it says is the report of an unexpected error; whether start-up makes no application object.
    bool unhandled = true, noApplicationObject = false;
    // A record whose slot brokenSlot runs brokenCode instead.
    ClassCache* broken = nullptr; std::size_t brokenSlot = 0; void (*brokenCode)(Object&) = nullptr;
};

const ProgramCase runs[] = {
    { .name = "QuitCalled" },
    { .name = "FileQuitChosen", .act = [](QMainWindow& w) { w.menuBar()->actions().at(0)->menu()->actions().at(0)->trigger(); } },
    { .name = "WindowClosed", .act = [](QMainWindow& w) { w.close(); } },
    { .name = "PrintCancelled", .act = [](QMainWindow& w) { PrintWith([] { return Ref<Graphics>(); }, w); Quit(0); } },
    // A job that cannot start is told by the print layer and ends the press as a cancel would:
    // the program goes on, and it is no unexpected error.
    { .name = "PrintJobCannotStart", .act = [](QMainWindow& w) {
          PrintWith([]() -> Ref<Graphics> { throw PrintJobException("no printer for the test"); }, w);
          EXPECT_TRUE(w.isVisible()); Quit(0); },
      .reported = "Sumwise: could not print: no printer for the test. Nothing was printed.\n", .unhandled = false },
    // Work queued just as the loop ends still runs, and its failure is still reported.
    { .name = "HandlerFailsAsTheLoopEnds", .act = [](QMainWindow&) {
          const auto fail = [] { EventLoop::deliver(*RuntimeAppObject(), [] { throw RuntimeException("too late"); }); };
          QMetaObject::invokeMethod(qApp, fail, Qt::QueuedConnection); Quit(0); },
      .status = 1, .reported = "RuntimeException: too late" },
    // Return and Enter, which no control of the window takes, press the default button "Print!".
    { .name = "ReturnInTheField", .act = [](QMainWindow& w) { pressKey(w, w.findChild<QLineEdit*>(), Qt::Key_Return); } },
    { .name = "EnterOnThePopup", .act = [](QMainWindow& w) { pressKey(w, w.findChild<QComboBox*>(), Qt::Key_Enter); } },
    // Start-up failures: reported, and the loop is never entered.
    { .name = "NoApplicationObject", .status = 1, .reported = "NilObjectException", .steps = 1, .noApplicationObject = true },
    { .name = "MenuBarFails", .status = 1, .reported = "RuntimeException: the menu bar failed", .steps = 2,
      .broken = &MenuBar1::ctbl, .brokenSlot = MenuBar1::SlotUntitled1, .brokenCode = [](Object&) {
          throw RuntimeException("the menu bar failed"); } },
    { .name = "WindowWithoutPracticeField", .status = 1, .reported = "NilObjectException", .steps = 3,
      .broken = &Window1::ctbl, .brokenSlot = Window1::SlotCreateControls0, .brokenCode = [](Object&) {} },
};

void PrintTo(const ProgramCase& run, std::ostream* os) { *os << run.name; }

class ProgramTest : public testsupport::FrameworkTest, public ::testing::WithParamInterface<ProgramCase> {
protected:
    void SetUp() override { App::ctblinit(); FrameworkTest::SetUp(); }

    void releaseHeld() override
    {
        Program::finalize();
        RuntimeReleaseAppObject();
        Program::pluginEntrypoints = nullptr;
        setPrintDialogHook(nullptr);
        EventLoop::takePendingException();
        QCoreApplication::sendPostedEvents();
        if (m_savedApp) App::ctbl = std::move(m_savedApp);
    }

    ClassCache m_savedApp;
};

// Guards: a start-up step misordered, repeated or skipped; a wrong or kept start-up delegate; a loop end or start-up
// failure that hangs, is unreported, exits wrongly, leaks, or misorders releases.
TEST_P(ProgramTest, StartsUpRunsAndShutsDown)
{
    const ProgramCase& r = GetParam();
    // The start-up steps, those that other classes run (the menu bar's construction, the window's Layout) seen by
    // swapping in code that logs them.
    std::vector<std::string> log;
    const RecordSwap menuBar(*(MenuBar1::ctblinit(), MenuBar1::ctbl), MenuBar1::SlotConstructor,
                             runFirst<void>("Constructor", [&log](Object&) { log.push_back("menu bar"); }));
    const RecordSwap layout(*(Window1::ctblinit(), Window1::ctbl), "Layout", runFirst<void>("Layout", [&log](Object&) {
        log.push_back("window");
        // By now the application object is registered and carries the shared menu bar.
        const Ref<Object> app = RuntimeAppObject();
        EXPECT_TRUE(app && MenuBar1::_implicitInstance && Application::MenuBarGet(*app) == MenuBar1::_implicitInstance);
    }));
    LifeProbe life;
    m_savedApp = std::move(App::ctbl);
    const ClassRecord::Factory makeApplication = Application::Lookup().factory();
    App::ctbl.build(&Application::Lookup, "App", Application::SlotCount, [](ClassRecord&) {},
                    [&](const ClassRecord& record) -> Object* {
                        log.push_back("app");
                        // Every class record, the window list and the plug-in table exist; the menu bar comes after.
                        EXPECT_EQ(std::tuple(Window1::ctbl && MenuBar1::ctbl, WindowSupport::windowsInitialised(),
                                             bool(Program::pluginEntrypoints), bool(MenuBar1::_implicitInstance)),
                                  std::tuple(true, true, true, false));
                        return r.noApplicationObject ? nullptr : makeApplication(record);
                    });
    std::optional<RecordSwap> broken;
    if (r.broken)
        broken.emplace(**r.broken, r.brokenSlot, [&r](const Code&) { return makeCode<void(Object&)>(r.brokenCode); });
    // Caches that shut-down must empty.
    const Ref<Object> described = RuntimeNewObject(Application::Lookup());
    Introspection::GetType(*described);
    Introspection::ArrayInfoForInt32List();

    // The whole program, run in this process; the step runs once its event loop is up.
    const bool completes = r.steps == allSteps.size();
    QPointer<QMainWindow> shown;
    bool looped = false;
    // A timer, not a posted call: start-up's own processing of posted events must not run the step.
    QTimer step;
    step.setSingleShot(true);
    step.callOnTimeout([&] {
        looped = QThread::currentThread()->loopLevel() > 0;
        log.push_back("loop");
        if (!completes) // start-up failed, so this loop is a fault: end it at once
            return Quit(0);
        const Ref<Object> app = RuntimeAppObject(), window = GetImplicitWindow("Window1.Window1");
        ASSERT_TRUE(app && window);
        // Only the runtime holds the application object, beside this test; one window, sharing the one menu bar.
        EXPECT_EQ(std::tuple(&app->record(), app->refCount(), Application::MenuBarGet(*app),
                             WindowSupport::openWindowCount(), window->isA(Window1::Lookup()), Window::MenuBarGet(*window)),
                  std::tuple(App::ctbl.get(), 2, MenuBar1::_implicitInstance, 1u, true, MenuBar1::_implicitInstance));
        shown = Window::from(*window).qtWindow();
        ASSERT_TRUE(shown);
        // Shown with focus in the practice number field; the program let go of the delegate before the loop.
        EXPECT_EQ(std::tuple(shown->isVisible(), shown->windowTitle(), shown->focusWidget(), life.startupDelegateRefs(),
                             life.finalizers.empty()),
                  std::tuple(true, QString("Sumwise"), shown->findChild<QLineEdit*>(), 1, true));
        r.act(*shown);
    });
    step.start(0);
    const testsupport::Watchdog watchdog([] { ADD_FAILURE() << "the event loop did not end"; Quit(0); });
    ::testing::internal::CaptureStderr();
    const int status = Program::main_();
    const std::string stderrText = ::testing::internal::GetCapturedStderr();
    // Looped, exit status, reported as unexpected, work left pending.
    EXPECT_EQ(std::tuple(looped, status, runtimeReportedUnhandledException(), EventLoop::hasPendingException()),
              std::tuple(completes, r.status, r.reported && r.unhandled, false));
    EXPECT_TRUE(r.reported ? stderrText.find(r.reported) != std::string::npos : stderrText.empty()) << stderrText;
    EXPECT_EQ(log, std::vector<std::string>(allSteps.begin(), allSteps.begin() + r.steps));

    // Everything that start-up made is released, in order, and the window went with it.
    EXPECT_EQ(life.finalizers, moduleFinalizers);
    EXPECT_EQ((std::vector<bool> { bool(MenuBar1::_implicitInstance), WindowSupport::windowsInitialised(),
                                   WindowSupport::implicitWindowListInitialised(),
                                   bool(GetImplicitWindow("Window1.Window1")), bool(shown),
                                   Introspection::cachedClassCount() != 0, bool(Introspection::TypeNamed("Application")),
                                   bool(RuntimeAppObject()) }), std::vector<bool>(8, false))
        << "still held: menu bar, window list, implicit window list, window, Qt window, class cache, type, application";
    // The plug-in table lives to the end of the process; a Qt application made by others stays.
    EXPECT_TRUE(Program::pluginEntrypoints && QCoreApplication::instance());

    // Start-up ran as a routine without arguments, handed on as code alone and let go of after.
    ASSERT_TRUE(life.startupDelegate);
    const LifeProbe::MadeDelegate& made = *life.startupDelegate;
    // Invoked as a delegate, no target, an ASCII-tagged empty signature; its code alone handed on, the delegate held
    // through the initialisation and let go of after.
    EXPECT_EQ(std::tuple(made.invoker == &Delegate::Invoke, bool(made.target), made.signature.bytes(),
                         made.signature.encoding() == TextEncoding::ASCII, life.startupCodes,
                         life.delegateRefsAsStartupReturned, life.startupDelegateRefs()),
              std::tuple(true, false, std::string("(  )"), true,
                         std::vector<Code> { static_cast<const Delegate&>(*made.delegate).code() },
                         completes ? std::vector<int> { 2 } : std::vector<int> {}, 1));
}

INSTANTIATE_TEST_SUITE_P(Runs, ProgramTest, ::testing::ValuesIn(runs),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards: App overriding, adding or reordering an operation, handling an event, publishing members, renamed or
// rebased, or its record rebuilt or nil before start-up.
TEST_F(ProgramTest, AppIsApplicationUnchangedAndBuiltOnce)
{
    m_savedApp = std::move(App::ctbl);
    ASSERT_FALSE(App::ctbl);
    const ClassRecord& app = App::Lookup();
    EXPECT_EQ(App::ctbl.get(), &app) << "the lookup builds the record itself";
    App::ctblinit();
    Program::initialize();
    EXPECT_EQ(std::tuple(App::ctbl.get(), &App::Lookup()), std::tuple(&app, &app));

    const ClassRecord& base = Application::Lookup();
    EXPECT_EQ(std::tuple(app.name(), app.parent()), std::tuple(String("App"), &base));
    ASSERT_EQ(std::tuple(app.methods().size(), base.methods().size()), std::tuple(std::size_t { 17 }, std::size_t { 17 }));
    for (std::size_t i = 0; i < 17; ++i)
        EXPECT_EQ(std::tuple(app.slot(i).name, app.slot(i).code, bool(app.slot(i).code)),
                  std::tuple(base.slot(i).name, base.slot(i).code, true)) << i;
    EXPECT_EQ(std::tuple(app.slot(0).name, app.slot(16).name), std::tuple("NewDocument", "__DependencyList"));
    const std::vector<std::string> events = { "Open", "Close", "EnableMenuItems", "NewDocument", "OpenDocument",
        "HandleAppleEvent", "Activate", "Deactivate", "UnhandledException", "CancelClose" };
    ASSERT_EQ(app.events().size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) // declared in this order, none handled
        EXPECT_EQ(std::tuple(app.events()[i].name, bool(app.eventHandler(events[i]))), std::tuple(events[i], false));
    EXPECT_EQ(std::tuple(app.members().empty(), app.attributes().empty()), std::tuple(true, true)) << "members, attributes";

    const Ref<Object> object = RuntimeNewObject(app);
    ASSERT_TRUE(object && object->isA(base));
    EXPECT_NO_THROW(Application::from(*object));
}


// A Window1 menu accessor's slot, the item's name and text. Where each item sits in the menus is MenuBar1Test's.
struct Accessor { std::size_t slot; const char *name, *text; };
const Accessor accessors[] = {
    { Window1::SlotEditMenu, "EditMenu", "&Edit" }, { Window1::SlotEditSelectAll, "EditSelectAll", "Select &All" },
    { Window1::SlotUntitledMenu0, "UntitledMenu0", "-" }, { Window1::SlotEditClear, "EditClear", "&Delete" },
    { Window1::SlotEditPaste, "EditPaste", "&Paste" }, { Window1::SlotEditCopy, "EditCopy", "&Copy" },
    { Window1::SlotEditCut, "EditCut", "Cu&t" }, { Window1::SlotUntitledMenu1, "UntitledMenu1", "-" },
    { Window1::SlotEditUndo, "EditUndo", "&Undo" }, { Window1::SlotFileMenu, "FileMenu", "&File" },
    { Window1::SlotFileQuit, "FileQuit", "&Quit" },
};

// A practice sheet window with the menu bar given, as its Layout handler gives it.
Ref<Object> windowWith(const Ref<Object>& bar)
{
    Ref<Object> w = RuntimeNewObject(Window1::Lookup());
    Window::MenuBarSet(*w, 0, bar);
    return w;
}

Ref<Object> call(Object& w, std::size_t slot) { return w.record().callSlot<Ref<Object>(Object&)>(slot, w); }

// Guards: an accessor returning another item (the two separators swapped, Delete mistaken for Clear), FileQuit not a
// QuitMenuItem, or a call through reflection reaching something else; an accessor that builds or copies items, or
// keeps or leaks a reference on any way out; a window without a menu bar crashing an accessor.
TEST_F(ProgramTest, Window1MenuAccessorsReturnTheItemsBuiltUnderTheirNamesAndHoldNothing)
{
    const Ref<Object> bar = MenuBar1::implicitInstance(), w = windowWith(bar), bare = RuntimeNewObject(Window1::Lookup());
    for (const Accessor& a : accessors) {
        SCOPED_TRACE(a.name);
        const Ref<Object> item = MenuItem::LookupNamed(*bar, a.name);
        ASSERT_TRUE(item);
        const auto counts = [&] { return std::vector<long> { w->refCount(), bar->refCount(), item->refCount(),
                                                             bare->refCount(), Object::liveInstances() }; };
        const std::vector<long> before = counts();
        {
            const Ref<Object> first = call(*w, a.slot), second = call(*w, a.slot);
            EXPECT_EQ(std::tuple(first.get(), second.get(), item->refCount()),
                      std::tuple(item.get(), item.get(), before[2] + 2)) << "the item each time, one reference per result";
        }
        EXPECT_THROW(call(*bare, a.slot), NilObjectException);
        EXPECT_EQ(counts(), before) << "window, menu bar, item, bare window, live objects";

        const MenuItem& found = MenuItem::from(*item);
        EXPECT_EQ(std::tuple(found.name(), found.text(), item->isA(QuitMenuItem::Lookup())),
                  std::tuple(String(a.name), String(a.text), a.slot == Window1::SlotFileQuit));
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w, a.name)), item) << "through reflection";
    }
    EXPECT_THROW(RuntimeInvokeMember(*w, "EditCopy", { Value(String("EditCut")) }), SignatureMismatchException);
}

// Guards: a menu bar lacking an item, or holding one of another class, going unnoticed.
TEST_F(ProgramTest, AMissingMenuItemIsNilAndAnItemOfAnotherClassIsRefused)
{
    const Ref<Object> bar = RuntimeNewObject(MenuBar::Lookup());
    bar->record().callSlot<void(Object&)>(MenuItem::SlotConstructor, *bar);
    const Ref<Object> plain = testsupport::newItem("FileQuit");
    MenuItem::TextSet(*plain, 0, "&Quit");
    testsupport::append(bar, plain);
    const Ref<Object> w = windowWith(bar);
    EXPECT_FALSE(call(*w, Window1::SlotEditCopy));
    EXPECT_THROW(call(*w, Window1::SlotFileQuit), IllegalCastException);
    EXPECT_EQ(call(*w, Window1::SlotFileMenu), nullptr);
}

}
