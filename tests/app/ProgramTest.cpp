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

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
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
      .broken = &MenuBar1::ctbl, .brokenSlot = MenuBar1::SlotUntitled1,
      .brokenCode = [](Object&) { throw RuntimeException("the menu bar failed"); } },
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
        if (m_savedApp)
            App::ctbl = std::move(m_savedApp);
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
    const RecordSwap menuBar(*(MenuBar1::ctblinit(), MenuBar1::ctbl), MenuBar1::SlotConstructor, [&log](const Code& orig) {
        return makeCode<void(Object&)>([&log, orig](Object& bar) {
            log.push_back("menu bar");
            orig->call<void(Object&)>("Constructor", bar);
        });
    });
    const RecordSwap layout(*(Window1::ctblinit(), Window1::ctbl), "Layout", [&log](const Code& original) {
        return makeCode<void(Object&)>([&log, original](Object& window) {
            log.push_back("window");
            // By now the application object is registered and carries the shared menu bar.
            const Ref<Object> app = RuntimeAppObject();
            EXPECT_TRUE(app && MenuBar1::_implicitInstance && Application::MenuBarGet(*app) == MenuBar1::_implicitInstance);
            original->call<void(Object&)>("Layout", window);
        });
    });
    LifeProbe life;
    m_savedApp = std::move(App::ctbl);
    const ClassRecord::Factory makeApplication = Application::Lookup().factory();
    App::ctbl.build(&Application::Lookup, "App", Application::SlotCount, [](ClassRecord&) {},
                    [&](const ClassRecord& record) -> Object* {
                        log.push_back("app");
                        EXPECT_TRUE(Window1::ctbl && MenuBar1::ctbl) << "every class record exists before start-up";
                        EXPECT_TRUE(WindowSupport::windowsInitialised());
                        EXPECT_TRUE(Program::pluginEntrypoints) << "the plug-in table comes first";
                        EXPECT_FALSE(MenuBar1::_implicitInstance) << "the menu bar comes after the application object";
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
        const Ref<Object> app = RuntimeAppObject();
        ASSERT_TRUE(app);
        EXPECT_EQ(&app->record(), App::ctbl.get());
        EXPECT_EQ(app->refCount(), 2) << "only the runtime holds the application object, beside this test";
        EXPECT_EQ(Application::MenuBarGet(*app), MenuBar1::_implicitInstance);
        EXPECT_EQ(WindowSupport::openWindowCount(), 1u);
        const Ref<Object> window = GetImplicitWindow("Window1.Window1");
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isA(Window1::Lookup()));
        EXPECT_EQ(Window::MenuBarGet(*window), MenuBar1::_implicitInstance) << "one shared menu bar";
        shown = Window::from(*window).qtWindow();
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(shown->windowTitle(), "Sumwise");
        EXPECT_EQ(shown->focusWidget(), shown->findChild<QLineEdit*>()) << "focus in the practice number field";
        EXPECT_EQ(life.startupDelegateRefs(), 1) << "the program let go of the delegate before the loop";
        EXPECT_TRUE(life.finalizers.empty());
        r.act(*shown);
    });
    step.start(0);
    const testsupport::Watchdog watchdog([] { ADD_FAILURE() << "the event loop did not end"; Quit(0); });
    ::testing::internal::CaptureStderr();
    const int status = Program::main_();
    const std::string stderrText = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(looped, completes);
    EXPECT_EQ(status, r.status);
    EXPECT_EQ(runtimeReportedUnhandledException(), r.reported && r.unhandled);
    EXPECT_TRUE(r.reported ? stderrText.find(r.reported) != std::string::npos : stderrText.empty()) << stderrText;
    EXPECT_FALSE(EventLoop::hasPendingException());
    EXPECT_EQ(log, std::vector<std::string>(allSteps.begin(), allSteps.begin() + r.steps));

    // Everything that start-up made is released, in order, and the window went with it.
    EXPECT_EQ(life.finalizers, moduleFinalizers);
    EXPECT_EQ((std::vector<bool> { bool(MenuBar1::_implicitInstance), WindowSupport::windowsInitialised(),
                                   WindowSupport::implicitWindowListInitialised(),
                                   bool(GetImplicitWindow("Window1.Window1")), bool(shown),
                                   Introspection::cachedClassCount() != 0, bool(Introspection::TypeNamed("Application")),
                                   bool(RuntimeAppObject()) }), std::vector<bool>(8, false))
        << "still held: menu bar, window list, implicit window list, window, Qt window, class cache, type, application";
    EXPECT_TRUE(Program::pluginEntrypoints) << "the plug-in table lives to the end of the process";
    EXPECT_NE(QCoreApplication::instance(), nullptr) << "a Qt application made by others stays";

    // Start-up ran as a routine without arguments, handed on as code alone and let go of after.
    ASSERT_TRUE(life.startupDelegate);
    const LifeProbe::MadeDelegate& made = *life.startupDelegate;
    EXPECT_TRUE(made.invoker == &Delegate::Invoke);
    EXPECT_FALSE(made.target);
    EXPECT_EQ(made.signature.bytes(), "(  )");
    EXPECT_TRUE(made.signature.encoding() == TextEncoding::ASCII) << "the signature is tagged ASCII";
    EXPECT_EQ(life.startupCodes, std::vector<Code> { static_cast<const Delegate&>(*made.delegate).code() });
    EXPECT_EQ(life.delegateRefsAsStartupReturned, completes ? std::vector<int> { 2 } : std::vector<int> {})
        << "held through the initialisation";
    EXPECT_EQ(life.startupDelegateRefs(), 1) << "the program let go of the start-up delegate";
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
    EXPECT_EQ(App::ctbl.get(), &app);
    EXPECT_EQ(&App::Lookup(), &app);

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
        "HandleAppleEvent", "Activate", "Deactivate", "UnhandledException", "CancelClose" };
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


// A Window1 menu accessor's slot, the item's name and text, and for a separator the items it lies between.
struct Accessor { std::size_t slot; const char *name, *text, *before = nullptr, *after = nullptr; };
const Accessor accessors[] = {
    { Window1::SlotEditMenu, "EditMenu", "&Edit" },
    { Window1::SlotEditSelectAll, "EditSelectAll", "Select &All" },
    { Window1::SlotUntitledMenu0, "UntitledMenu0", "-", "EditClear", "EditSelectAll" },
    { Window1::SlotEditClear, "EditClear", "&Delete" },
    { Window1::SlotEditPaste, "EditPaste", "&Paste" },
    { Window1::SlotEditCopy, "EditCopy", "&Copy" },
    { Window1::SlotEditCut, "EditCut", "Cu&t" },
    { Window1::SlotUntitledMenu1, "UntitledMenu1", "-", "EditUndo", "EditCut" },
    { Window1::SlotEditUndo, "EditUndo", "&Undo" },
    { Window1::SlotFileMenu, "FileMenu", "&File" },
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
    const Ref<Object> bar = MenuBar1::implicitInstance();
    const Ref<Object> w = windowWith(bar), bare = RuntimeNewObject(Window1::Lookup());
    for (const Accessor& a : accessors) {
        SCOPED_TRACE(a.name);
        const Ref<Object> item = MenuItem::LookupNamed(*bar, a.name);
        ASSERT_TRUE(item);
        const auto counts = [&] {
            return std::vector<long> { w->refCount(), bar->refCount(), item->refCount(), bare->refCount(),
                                       Object::liveInstances() };
        };
        const std::vector<long> before = counts();
        {
            const Ref<Object> first = call(*w, a.slot), second = call(*w, a.slot);
            EXPECT_EQ(first, item);
            EXPECT_EQ(second, item);
            EXPECT_EQ(item->refCount(), before[2] + 2) << "one reference per result";
        }
        EXPECT_THROW(call(*bare, a.slot), NilObjectException);
        EXPECT_EQ(counts(), before) << "window, menu bar, item, bare window, live objects";

        const MenuItem& found = MenuItem::from(*item);
        EXPECT_EQ(found.name(), String(a.name));
        EXPECT_EQ(found.text(), String(a.text));
        EXPECT_EQ(item->isA(QuitMenuItem::Lookup()), a.slot == Window1::SlotFileQuit);
        if (a.before) {
            ASSERT_TRUE(found.isSeparator());
            const auto& kids = found.parentItem()->children();
            const auto at = std::find(kids.begin(), kids.end(), Ref<MenuItem>(&MenuItem::from(*item)));
            ASSERT_TRUE(at > kids.begin() && at + 1 < kids.end());
            EXPECT_EQ(std::pair(at[-1]->name(), at[1]->name()), std::pair(String(a.before), String(a.after)));
        }
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
