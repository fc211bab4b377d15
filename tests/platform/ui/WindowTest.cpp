// Window and its Qt window: the method table, what each operation does on screen, the events the
// user's actions raise, and controls that outlive their window.

#include "AddControl.h"
#include "Control.h"
#include "FrameworkTest.h"
#include "NilObjectException.h"
#include "OutOfBoundsException.h"
#include "PopupMenu.h"
#include "PropertyString.h"
#include "PushButton.h"
#include "SetProperties.h"
#include "StaticText.h"
#include "TextField.h"
#include "UnsupportedOperationException.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include <span>
#include <string>
#include <typeindex>
#include <vector>

using namespace platform;

namespace {

using enum Window::Slot;
using namespace slotParameters;
using Log = std::vector<std::string>;

QMainWindow& qt(Obj window) { return *Window::from(*window).qtWindow(); }
QWidget* contentOf(Obj window) { return Window::from(*window).contentArea(); }
QWidget* widgetOf(Obj control) { return RectControl::from(*control).widget(); }
// Through the object's own table, as the program's code calls it.
template<class Sig = void(Object&), class... A>
decltype(auto) run(Obj o, std::size_t slot, A... a) { return o->record().callSlot<Sig>(slot, *o, a...); }

// Qt's offscreen platform activates windows only when asked.
void activate(Obj w) { qt(w).show(); qt(w).activateWindow(); qApp->setActiveWindow(&qt(w)); qApp->processEvents(); }

std::string text(I32 i) { return std::to_string(i); }
std::string text(bool b) { return b ? "true" : "false"; }
std::string text(Str s) { return s.toStdString(); }

// Windows of a class of the test's own, over Window's table, whose handlers log what they get.
class WindowTest : public testsupport::FrameworkTest {
protected:
    void releaseHeld() override { releaseWindows(); EventLoop::takePendingException(); }
    // Logs the event with its arguments ("MouseDown 5,6"); a handler that must answer answers `answer`.
    template<class R = void, class... A> void logEvent(const char* event, bool answer = false)
    {
        record.setEventHandler(event, makeCode<R(Object&, A...)>([this, event, answer](Object&, A... a) -> R {
            std::string line = event, separator = " ";
            ((line += separator + text(a), separator = ","), ...);
            log.push_back(line);
            return R(answer);
        }));
    }
    Ref<Object> newWindow() { return RuntimeNewObject(record); }
    Ref<Object> newShownWindow() { Ref<Object> w = newWindow(); Window::Show(*w); return w; }
    Ref<Object> newOpenWindow() { Ref<Object> w = newWindow(); run(w, SlotConstructor); Window::Show(*w); return w; }
    Ref<Object> addTextField(Obj w, const char* name) { return testsupport::addControl(w, TextField::Lookup(), name); }

    ClassRecord record { "WindowTest.Logged", &Window::Lookup() };
    Log log;
};

const Log operationNames {
    "Show", "ShowWithin", "ShowModalWithin", "Hide", "Close", "Refresh", "RefreshRect", "ShowModal", "NewDragItem",
    "AcceptTextDrop", "AcceptPictureDrop", "AcceptFileDrop", "AcceptMacDataDrop", "AcceptRawDataDrop", "Control",
    "SetFocus", "DrawInto", "_DrawBackground", "UpdateNow", "_AddControl", "_AddMenuHandler", "Window",
    "Operator_Convert", "__New", "_Move", "Maximize", "Minimize", "Restore", "_Update", "_CallMoved",
    "_EnableMenuItems", "_CallActivated", "_CallDeactivated", "_HandleMenuCommand", "_UnifiedClose", "_CallMouseDown",
    "_CallResized", "_CallResizing", "_RemoveControl", "_MouseEnter", "_MouseExit", "_MouseMove", "_Paint",
    "_MouseWheel", "_KeyDown", "__DependencyList", "Constructor", "TrueWindow", "FocusNext", "FocusPrevious",
};

const Log eventNames {
    "Layout", "CreateControls", "AddMenuHandlers", "SetupBindings", "Open", "Close", "CancelClose", "KeyDown", "KeyUp",
    "MouseMove", "MouseEnter", "MouseExit", "Paint", "MouseDown", "MouseDrag", "MouseUp", "EnableMenuItems", "Resized",
    "Resizing", "Moved", "DropObject", "Activate", "Deactivate", "Minimize", "Maximize", "Restore", "MouseWheel",
    "ConstructContextualMenu", "ContextualMenuAction", "DragEnter", "DragExit", "DragOver", "ContentsChanged",
};

using SlotUse = std::pair<Window::Slot, std::function<void(Object&)>>;
template<class Sig, class... A>
SlotUse unsupported(Window::Slot s, A... a) { return { s, [=](Object& o) { o.record().callSlot<Sig>(s, o, a...); } }; }

// Guards: an operation or event out of the place a subclass's table and its callers rely on; a slot whose code
// takes other arguments than its callers pass (reinterpreted or refused); an operation this framework cannot
// perform silently doing nothing instead of saying so.
TEST_F(WindowTest, TheTableListsEachOperationAndEventInItsFixedPlaceAndTheOperationsItCannotPerformSaySo)
{
    const ClassRecord& r = Window::Lookup();
    EXPECT_EQ(&Window::Lookup(), &r);
    Log operations, events;
    for (const Slot& s : r.methods()) { operations.push_back(s.name); EXPECT_TRUE(s.code) << s.name; }
    for (const EventEntry& e : r.events()) { events.emplace_back(e.name); EXPECT_FALSE(e.handler) << e.name; }
    EXPECT_EQ(operations, operationNames);
    EXPECT_EQ(events, eventNames);
    // The slots that no test below calls through the table with its signature (the framework's own callers would
    // change with it); the others' are checked by those calls.
    const std::pair<Window::Slot, std::type_index> signatures[] {
        { SlotNew, typeid(Ref<Object>(Object&, const ClassRecord&)) },
        { SlotMouseWheel, typeid(bool(Object&, I32, I32, I32, I32)) }, { SlotUnifiedClose, typeid(bool(Object&, bool)) },
        { SlotCallMouseDown, typeid(bool(Object&, I32, I32)) }, { SlotKeyDown, typeid(bool(Object&, Str)) },
    };
    for (const auto& [slot, type] : signatures)
        EXPECT_EQ(std::type_index(r.slot(slot).code->signature()), type) << operationNames[slot];
    EXPECT_THROW(r.callSlot<void(Object&, I32)>(SlotControl, *RuntimeNewObject(r), 0), SignatureMismatchException);

    const Ref<Object> w = newWindow(), none;
    const SlotUse cases[] {
        unsupported<Ref<Object>(Object&, I32, I32, I32, I32)>(SlotNewDragItem, 0, 0, 1, 1),
        unsupported<void(Object&)>(SlotAcceptTextDrop), unsupported<void(Object&)>(SlotAcceptPictureDrop),
        unsupported<void(Object&, Str)>(SlotAcceptFileDrop, String("text")),
        unsupported<void(Object&, Str)>(SlotAcceptMacDataDrop, String("TEXT")),
        unsupported<void(Object&, Str)>(SlotAcceptRawDataDrop, String("TEXT")),
        unsupported<void(Object&, Obj, I32, I32)>(SlotDrawInto, none, 0, 0), unsupported<void(Object&)>(SlotUpdate),
        unsupported<void(Object&, Obj)>(SlotDrawBackground, none), unsupported<void(Object&, Obj)>(SlotPaint, none),
        unsupported<void(Object&, Str, Obj)>(SlotAddMenuHandler, String("EditCopy"), none),
        unsupported<bool(Object&, Str)>(SlotHandleMenuCommand, String("EditCopy")),
        unsupported<Ref<Object>(Object&)>(SlotOperatorConvert), unsupported<void(Object&)>(SlotDependencyList),
    };
    for (const auto& [slot, use] : cases) {
        std::string said; // stays empty when the operation returns as though it had done something
        try { use(*w); } catch (const UnsupportedOperationException& e) { said = e.what(); }
        EXPECT_NE(said.find(operationNames[slot]), std::string::npos) << operationNames[slot] << ": \"" << said << '"';
    }
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override { count += event->type() == QEvent::Paint; return false; }
    int count = 0;
};

// Guards: show, hide, move and the window states not reaching the screen, or their events not raised.
// Guards: ShowWithin not tying the window to its parent, or accepting a parent it cannot have.
// Guards: refresh operations that repaint nothing, or repaint only on the loop's next turn when asked for now.
TEST_F(WindowTest, ShowHideMoveStatesAndRefreshesReachTheScreenAndRaiseTheirEvents)
{
    for (const char* e : { "Maximize", "Minimize", "Restore", "Moved" }) logEvent(e);
    const Ref<Object> w = newWindow();
    const auto after = [&](Window::Slot slot) -> QMainWindow& { run(w, slot); return qt(w); };
    EXPECT_TRUE(after(SlotShow).isVisible());
    log.clear();
    run<void(Object&, I32, I32)>(w, SlotMove, 30, 40);
    EXPECT_EQ(qt(w).pos(), QPoint(30, 40));
    EXPECT_EQ(std::exchange(log, {}), Log { "Moved" });
    EXPECT_TRUE(after(SlotMaximize).isMaximized());
    EXPECT_TRUE(after(SlotMinimize).isMinimized());
    EXPECT_FALSE(after(SlotRestore).isMinimized());
    EXPECT_FALSE(qt(w).isMaximized());
    std::erase(log, "Moved");
    EXPECT_EQ(log, (Log { "Maximize", "Minimize", "Restore" }));
    EXPECT_FALSE(after(SlotHide).isVisible());

    const Ref<Object> parent = newShownWindow(); // else both windows lack a handle and a missing tie compares equal
    run<void(Object&, Obj)>(w, SlotShowWithin, parent);
    EXPECT_TRUE(qt(w).isVisible());
    EXPECT_EQ(qt(w).windowHandle()->transientParent(), qt(parent).windowHandle());
    EXPECT_THROW(Window::ShowWithin(*w, w), RuntimeException);
    EXPECT_THROW(Window::ShowWithin(*w, nullptr), NilObjectException);

    activate(w);
    PaintCounter painted(contentOf(w));
    const std::pair<std::string_view, std::function<void()>> refreshes[] {
        { "Refresh", [&] { run(w, SlotRefresh); qApp->processEvents(); } },
        { "RefreshRect",
          [&] { run<void(Object&, I32, I32, I32, I32)>(w, SlotRefreshRect, 0, 0, 10, 10); qApp->processEvents(); } },
        { "UpdateNow", [&] { run(w, SlotUpdateNow); } }, // which must paint before the loop turns
    };
    for (const auto& [name, refresh] : refreshes) {
        painted.count = 0;
        refresh();
        EXPECT_GT(painted.count, 0) << name;
    }
    EXPECT_THROW(run<void(Object&, I32, I32, I32, I32)>(w, SlotRefreshRect, 0, 0, -1, 10), OutOfBoundsException);
}

// Guards: Window.Control returning the wrong control, or reading past the list; Window and TrueWindow of a window
// giving anything but the window; focus operations that move nothing, or that skip or stop at the ends of the tab
// order; a removed control still found or shown, a control lost on removal, or an unknown one ignored.
TEST_F(WindowTest, ItsControlsAreIndexedFocusedInTabOrderRemovedAndAddedAgain)
{
    const Ref<Object> w = newWindow();
    const Ref<Object> fields[] = { addTextField(w, "A"), addTextField(w, "B"), addTextField(w, "C") };
    const auto at = [&](I32 i) { return run<Ref<Object>(Object&, I32)>(w, SlotControl, i); };
    for (I32 i : { 0, 1, 2 })
        EXPECT_EQ(at(i), fields[i]) << i;
    for (I32 bad : { -1, 3, std::numeric_limits<I32>::min() })
        EXPECT_THROW(at(bad), OutOfBoundsException) << bad;
    for (auto s : { SlotWindow, SlotTrueWindow }) EXPECT_EQ(run<Ref<Object>(Object&)>(w, s), w) << operationNames[s];

    activate(w);
    ASSERT_EQ(QApplication::activeWindow(), &qt(w));
    const auto focusAfter = [](Obj o, std::size_t slot) { run(o, slot); return QApplication::focusWidget(); };
    EXPECT_EQ(focusAfter(fields[0], RectControl::SlotSetFocus), widgetOf(fields[0]));
    EXPECT_EQ(focusAfter(w, SlotFocusNext), widgetOf(fields[1]));
    EXPECT_EQ(focusAfter(w, SlotFocusPrevious), widgetOf(fields[0]));
    EXPECT_EQ(focusAfter(w, SlotFocusPrevious), widgetOf(fields[2])) << "wraps at the start";
    EXPECT_EQ(focusAfter(w, SlotSetFocus), contentOf(w)) << "the window itself, no control";

    const Ref<Object>& field = fields[0];
    const int count = field->refCount();
    run<void(Object&, Obj)>(w, SlotRemoveControl, field);
    EXPECT_FALSE(RuntimeWindowControlByName(w, "A"));
    EXPECT_EQ(field->refCount(), count - 1);
    EXPECT_EQ(widgetOf(field)->parentWidget(), nullptr);
    EXPECT_THROW(Window::RemoveControl(*w, field), RuntimeException);
    run<void(Object&, Str, Obj)>(w, SlotAddControl, String("A"), field);
    EXPECT_EQ(RuntimeWindowControlByName(w, "A"), field);
    EXPECT_EQ(widgetOf(field)->parentWidget(), contentOf(w));
    EXPECT_THROW(Window::AddControl(*w, "A", field), RuntimeException) << "added twice";
}

// Guards: a construction that raises its events out of order, or leaves a half-built window registered so
// the next request finds it; a window mapped during its Layout, so that Qt lays it out again for every control
// its CreateControls adds; and one whose Visible property is lost on the way to the screen.
TEST_F(WindowTest, ConstructionRaisesItsEventsInOrderThenShowsAVisibleWindowAndAFailureLeavesNoWindowRegistered)
{
    for (const char* event : { "Layout", "CreateControls", "Open" })
        record.setEventHandler(event, makeCode<void(Object&)>([&, event](Object& w) {
            if (event == std::string_view("Layout")) {
                const PropertyEntry visible { "Visible", "Visible", "Window", true };
                SetProperties(w, PropertyString::encode(std::span(&visible, 1)));
                EXPECT_EQ(GetProperty(w, "Visible"), PropertyValue(true)) << "as set, while the window is built";
            }
            log.push_back(event + std::string(Window::from(w).qtWindow()->isVisible() ? " while shown" : ""));
        }));
    {
        const Ref<Object> w = newWindow();
        Window::Constructor(*w);
        EXPECT_EQ(log, (Log { "Layout", "CreateControls", "Open" })) << "in order, none while shown";
        EXPECT_TRUE(qt(w).isVisible());
        EXPECT_EQ(GetProperty(*w, "Visible"), PropertyValue(true));
        EXPECT_EQ(GetImplicitWindow(record.name()), w);
        EXPECT_FALSE(Window::ContentsChangedGet(*w));
    }
    releaseWindows();
    record.setEventHandler("Open", makeCode<void(Object&)>([](Object&) { throw RuntimeException("no open"); }));
    const Ref<Object> w = newWindow();
    EXPECT_THROW(Window::Constructor(*w), RuntimeException);
    EXPECT_FALSE(GetImplicitWindow(record.name()));
    EXPECT_EQ(WindowSupport::openWindowCount(), 0u);
    EXPECT_EQ(w->refCount(), 1) << "the framework holds no reference to a failed window";
}

// Guards: ShowModal returning at once, never returning, or leaving the window modal afterwards.
TEST_F(WindowTest, ShowModalRunsUntilTheWindowIsHiddenOrClosed)
{
    const struct { const char* how; bool withinParent; void (*end)(Object&); } cases[] {
        { "ShowModal, Hide", false, &Window::Hide }, { "ShowModal, Close", false, &Window::Close },
        { "ShowModalWithin, Hide", true, &Window::Hide },
    };
    // A quit requested while no loop ran (as a failing handler does) makes Qt end every new loop at
    // once, until the main loop has run again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    for (const auto& c : cases) {
        const Ref<Object> parent = newShownWindow(), w = newWindow();
        Qt::WindowModality whileShown = Qt::NonModal;
        QTimer::singleShot(0, [&] { whileShown = qt(w).windowModality(); c.end(*w); });
        const testsupport::Watchdog failsafe(0, std::chrono::seconds(10));
        c.withinParent ? run<void(Object&, Obj)>(w, SlotShowModalWithin, parent) : Window::ShowModal(*w);
        EXPECT_FALSE(failsafe.fired()) << c.how << " never returned by itself";
        EXPECT_EQ(whileShown, c.withinParent ? Qt::WindowModal : Qt::ApplicationModal) << c.how;
        EXPECT_EQ(qt(w).windowModality(), Qt::NonModal) << c.how;
        EXPECT_FALSE(qt(w).isVisible()) << c.how;
        if (c.withinParent) { EXPECT_EQ(qt(w).windowHandle()->transientParent(), qt(parent).windowHandle()) << c.how; }
    }
}

// What the user does to a window's Qt window, as the window's own events.

// Guards: closing without asking CancelClose, closing despite its veto, a closed window still
// registered, or a second close raising Close again.
// Guards: the user's close not raising Close, or the window dying inside Qt's close event when
// the close drops its last reference (a use after free), or never being released at all; a failing
// Close handler letting the exception into Qt, or leaving a window the user cannot close.
TEST_F(WindowTest, CloseAsksCancelCloseThenRaisesCloseAndUnregistersAndTheUsersCloseReleasesTheWindowAfterwards)
{
    const struct { const char* how; bool vetoed; Log events; } cases[] {
        { "allowed", false, { "CancelClose false", "Close" } }, { "vetoed", true, { "CancelClose false" } },
    };
    logEvent("Close");
    for (const auto& c : cases) {
        log.clear();
        logEvent<bool, bool>("CancelClose", c.vetoed);
        const Ref<Object> w = newOpenWindow();
        run(w, SlotClose);
        EXPECT_EQ(log, c.events) << c.how;
        EXPECT_EQ(qt(w).isVisible(), c.vetoed) << c.how;
        EXPECT_EQ(GetImplicitWindow(record.name()) == w, c.vetoed) << c.how;
        run(w, SlotClose);
        EXPECT_EQ(log.size(), c.events.size() * (c.vetoed ? 2 : 1)) << c.how << ": closed once only";
        releaseWindows();
    }

    log.clear();
    record.setEventHandler("CancelClose", nullptr);
    Ref<Object> held;
    logEvent("Open");
    record.setEventHandler("Close", makeCode<void(Object&)>([&](Object&) {
        log.push_back("Close");
        held = nullptr; // the program lets go of the window while Qt closes it
    }));
    held = newOpenWindow();
    QMainWindow* shown = &qt(held);
    const long live = Object::liveInstances();
    EXPECT_TRUE(shown->close());
    EXPECT_EQ(log, (Log { "Open", "Close" }));
    EXPECT_FALSE(held);
    EXPECT_FALSE(GetImplicitWindow(record.name())) << "a closed window is no longer found";
    EXPECT_EQ(Object::liveInstances(), live) << "still alive until Qt is done";
    QApplication::sendPostedEvents();
    EXPECT_EQ(Object::liveInstances(), live - 1) << "released on the loop's next turn";

    record.setEventHandler("Close", makeCode<void(Object&)>([](Object&) { throw RuntimeException("close failed"); }));
    const Ref<Object> w = newShownWindow();
    qt(w).close();
    EXPECT_TRUE(Window::from(*w).isClosed());
    EXPECT_FALSE(qt(w).isVisible());
    EXPECT_THROW(EventLoop::rethrowPendingException(), RuntimeException);
}

// Guards: mouse presses on the window not reaching MouseDown, or drag and release reported to a
// window that did not take the press; typing on the window itself not reaching KeyDown and KeyUp.
TEST_F(WindowTest, MousePressesAndKeysOnTheWindowRaiseItsEvents)
{
    const struct { const char* how; bool mouseDownHandled; Log events; } cases[] {
        { "handled", true, { "MouseDown 5,6", "MouseDrag 9,9", "MouseUp 9,9", "KeyDown a", "KeyUp a" } },
        { "not handled", false, { "MouseDown 5,6", "MouseMove 9,9", "KeyDown a", "KeyUp a" } },
    };
    for (const auto& c : cases) {
        log.clear();
        logEvent<bool, I32, I32>("MouseDown", c.mouseDownHandled);
        for (const char* e : { "MouseDrag", "MouseUp", "MouseMove" }) logEvent<void, I32, I32>(e);
        logEvent<bool, Str>("KeyDown", true);
        logEvent<void, Str>("KeyUp");
        const Ref<Object> w = newWindow();
        activate(w);
        QWidget* content = contentOf(w);
        QTest::mousePress(content, Qt::LeftButton, {}, QPoint(5, 6));
        QMouseEvent drag(QEvent::MouseMove, QPointF(9, 9), content->mapToGlobal(QPointF(9, 9)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(content, &drag);
        QTest::mouseRelease(content, Qt::LeftButton, {}, QPoint(9, 9));
        Window::SetFocus(*w);
        QTest::keyClick(content, Qt::Key_A);
        EXPECT_EQ(log, c.events) << c.how;
    }
}

// Guards: a control held after its window died reaching through a dangling widget pointer; every
// use must say what is wrong instead.
TEST(ControlAfterWindow, UsesRaiseAClearErrorInsteadOfTouchingAGoneWidget)
{
    const std::pair<const ClassRecord& (*)(), std::function<void(Object&)>> uses[] {
        { &TextField::Lookup, [](Object& c) { TextField::TextGet(c); } },
        { &TextField::Lookup, [](Object& c) { TextField::TextSet(c, 0, "5"); } },
        { &TextField::Lookup, [](Object& c) { TextField::MaskSet(c, 0, "#"); } },
        { &PushButton::Lookup, [](Object& c) { static_cast<PushButton&>(c).press(); } },
        { &PushButton::Lookup, [](Object& c) { PushButton::CaptionSet(c, 0, "Print!"); } },
        { &StaticText::Lookup, [](Object& c) { StaticText::TextGet(c); } },
        { &PopupMenu::Lookup, [](Object& c) { PopupMenu::TextGet(c); } },
        { &PopupMenu::Lookup, [](Object& c) { RectControl::SetFocus(c); } },
        { &PopupMenu::Lookup, [](Object& c) { RectControl::TextSizeSet(c, 0, 12.0f); } },
    };
    for (std::size_t i = 0; i < std::size(uses); ++i) {
        // The window, and with it every widget, is gone once the control is made; only the control is held.
        const Ref<Object> held = testsupport::addControl(RuntimeNewObject(Window::Lookup()), uses[i].first(), "Held");
        EXPECT_TRUE(Control::WindowGet(*held).isNil()) << "use " << i;
        EXPECT_THROW(uses[i].second(*held), RuntimeException) << "use " << i;
    }
}

}
