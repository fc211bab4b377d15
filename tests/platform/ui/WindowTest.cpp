#include "WindowFixture.h"

#include "AddControl.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "NilObjectException.h"
#include "OutOfBoundsException.h"
#include "PropertyString.h"
#include "SetProperties.h"
#include "UnsupportedOperationException.h"
#include "Watchdog.h"
#include "WindowSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

using namespace platform;

namespace {

using I32 = std::int32_t;
using Obj = const Ref<Object>&;
using Str = const String&;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

const std::vector<std::string> operationNames {
    "Show", "ShowWithin", "ShowModalWithin", "Hide", "Close", "Refresh", "RefreshRect", "ShowModal", "NewDragItem",
    "AcceptTextDrop", "AcceptPictureDrop", "AcceptFileDrop", "AcceptMacDataDrop", "AcceptRawDataDrop", "Control",
    "SetFocus", "DrawInto", "_DrawBackground", "UpdateNow", "_AddControl", "_AddMenuHandler", "Window",
    "Operator_Convert", "__New", "_Move", "Maximize", "Minimize", "Restore", "_Update", "_CallMoved",
    "_EnableMenuItems", "_CallActivated", "_CallDeactivated", "_HandleMenuCommand", "_UnifiedClose",
    "_CallMouseDown", "_CallResized", "_CallResizing", "_RemoveControl", "_MouseEnter", "_MouseExit", "_MouseMove",
    "_Paint", "_MouseWheel", "_KeyDown", "__DependencyList", "Constructor", "TrueWindow", "FocusNext",
    "FocusPrevious",
};

const std::vector<std::string> eventNames {
    "Layout", "CreateControls", "AddMenuHandlers", "SetupBindings", "Open", "Close", "CancelClose", "KeyDown",
    "KeyUp", "MouseMove", "MouseEnter", "MouseExit", "Paint", "MouseDown", "MouseDrag", "MouseUp",
    "EnableMenuItems", "Resized", "Resizing", "Moved", "DropObject", "Activate", "Deactivate", "Minimize",
    "Maximize", "Restore", "MouseWheel", "ConstructContextualMenu", "ContextualMenuAction", "DragEnter",
    "DragExit", "DragOver", "ContentsChanged",
};

// Guards: an operation or event out of the place a subclass's table and its callers rely on.
TEST(WindowRecord, ListsItsOperationsAndEventsInTheirFixedOrder)
{
    const ClassRecord& r = Window::Lookup();
    EXPECT_EQ(&Window::Lookup(), &r);
    ASSERT_EQ(r.methods().size(), operationNames.size());
    for (std::size_t i = 0; i < operationNames.size(); ++i) {
        EXPECT_EQ(r.slot(i).name, operationNames[i]) << "slot " << i;
        EXPECT_TRUE(r.slot(i).code) << operationNames[i];
    }
    ASSERT_EQ(r.events().size(), eventNames.size());
    for (std::size_t i = 0; i < eventNames.size(); ++i) {
        EXPECT_EQ(r.events()[i].name, eventNames[i]);
        EXPECT_FALSE(r.events()[i].handler) << eventNames[i] << ": Window itself handles no event";
    }
}

// Guards: a slot whose code takes other arguments than its callers pass (reinterpreted or refused).
TEST(WindowRecord, EachOperationHasItsTypedSignature)
{
    const std::vector<std::pair<Window::Slot, std::type_index>> expected {
        { Window::SlotShow, typeid(void(Object&)) },
        { Window::SlotShowWithin, typeid(void(Object&, Obj)) },
        { Window::SlotShowModalWithin, typeid(void(Object&, Obj)) },
        { Window::SlotClose, typeid(void(Object&)) },
        { Window::SlotRefreshRect, typeid(void(Object&, I32, I32, I32, I32)) },
        { Window::SlotNewDragItem, typeid(Ref<Object>(Object&, I32, I32, I32, I32)) },
        { Window::SlotAcceptFileDrop, typeid(void(Object&, Str)) },
        { Window::SlotControl, typeid(Ref<Object>(Object&, I32)) },
        { Window::SlotDrawInto, typeid(void(Object&, Obj, I32, I32)) },
        { Window::SlotAddControl, typeid(void(Object&, Str, Obj)) },
        { Window::SlotWindow, typeid(Ref<Object>(Object&)) },
        { Window::SlotNew, typeid(Ref<Object>(Object&, const ClassRecord&)) },
        { Window::SlotMove, typeid(void(Object&, I32, I32)) },
        { Window::SlotUnifiedClose, typeid(bool(Object&, bool)) },
        { Window::SlotCallMouseDown, typeid(bool(Object&, I32, I32)) },
        { Window::SlotRemoveControl, typeid(void(Object&, Obj)) },
        { Window::SlotMouseWheel, typeid(bool(Object&, I32, I32, I32, I32)) },
        { Window::SlotKeyDown, typeid(bool(Object&, Str)) },
        { Window::SlotTrueWindow, typeid(Ref<Object>(Object&)) },
        { Window::SlotFocusNext, typeid(void(Object&)) },
    };
    for (const auto& [slot, type] : expected)
        EXPECT_EQ(std::type_index(Window::Lookup().slot(slot).code->signature()), type) << operationNames[slot];
    EXPECT_THROW(Window::Lookup().callSlot<void(Object&, I32)>(Window::SlotControl, *RuntimeNewObject(Window::Lookup()), 0),
                 SignatureMismatchException);
}

struct UnsupportedCase {
    Window::Slot slot;
    std::function<void(Object&)> call;
};

template<class Signature, class... Args>
UnsupportedCase unsupported(Window::Slot slot, Args... args)
{
    return { slot, [=](Object& o) { o.record().callSlot<Signature>(slot, o, args...); } };
}

// Guards: an operation this framework cannot perform silently doing nothing instead of saying so.
TEST_F(WindowTest, OperationsItCannotPerformSaySo)
{
    const Ref<Object> w = newWindow();
    const Ref<Object> none;
    const std::vector<UnsupportedCase> cases {
        unsupported<Ref<Object>(Object&, I32, I32, I32, I32)>(Window::SlotNewDragItem, 0, 0, 1, 1),
        unsupported<void(Object&)>(Window::SlotAcceptTextDrop),
        unsupported<void(Object&)>(Window::SlotAcceptPictureDrop),
        unsupported<void(Object&, Str)>(Window::SlotAcceptFileDrop, String("text")),
        unsupported<void(Object&, Str)>(Window::SlotAcceptMacDataDrop, String("TEXT")),
        unsupported<void(Object&, Str)>(Window::SlotAcceptRawDataDrop, String("TEXT")),
        unsupported<void(Object&, Obj, I32, I32)>(Window::SlotDrawInto, none, 0, 0),
        unsupported<void(Object&, Obj)>(Window::SlotDrawBackground, none),
        unsupported<void(Object&, Str, Obj)>(Window::SlotAddMenuHandler, String("EditCopy"), none),
        unsupported<Ref<Object>(Object&)>(Window::SlotOperatorConvert),
        unsupported<void(Object&)>(Window::SlotUpdate),
        unsupported<bool(Object&, Str)>(Window::SlotHandleMenuCommand, String("EditCopy")),
        unsupported<void(Object&, Obj)>(Window::SlotPaint, none),
        unsupported<void(Object&)>(Window::SlotDependencyList),
    };
    for (const UnsupportedCase& c : cases) {
        const std::string& name = operationNames[c.slot];
        try {
            c.call(*w);
            ADD_FAILURE() << name << " returned as though it had done something";
        } catch (const UnsupportedOperationException& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
}

// Guards: show, hide, move and the window states not reaching the screen, or their events not raised.
// Guards: ShowWithin not tying the window to its parent, or accepting a parent it cannot have.
TEST_F(WindowTest, ShowHideMoveAndStatesReachTheScreenAndRaiseTheirEvents)
{
    for (const char* e : { "Maximize", "Minimize", "Restore", "Moved" })
        logEvent(e);
    const Ref<Object> w = newWindow();
    const ClassRecord& r = w->record();
    r.callSlot<void(Object&)>(Window::SlotShow, *w);
    EXPECT_TRUE(qt(w).isVisible());

    log.clear();
    r.callSlot<void(Object&, I32, I32)>(Window::SlotMove, *w, 30, 40);
    EXPECT_EQ(qt(w).pos(), QPoint(30, 40));
    EXPECT_EQ(log, std::vector<std::string> { "Moved" });

    log.clear();
    r.callSlot<void(Object&)>(Window::SlotMaximize, *w);
    EXPECT_TRUE(qt(w).isMaximized());
    r.callSlot<void(Object&)>(Window::SlotMinimize, *w);
    EXPECT_TRUE(qt(w).isMinimized());
    r.callSlot<void(Object&)>(Window::SlotRestore, *w);
    EXPECT_FALSE(qt(w).isMinimized());
    EXPECT_FALSE(qt(w).isMaximized());
    log.erase(std::remove(log.begin(), log.end(), "Moved"), log.end());
    EXPECT_EQ(log, (std::vector<std::string> { "Maximize", "Minimize", "Restore" }));

    r.callSlot<void(Object&)>(Window::SlotHide, *w);
    EXPECT_FALSE(qt(w).isVisible());

    const Ref<Object> parent = newWindow();
    Window::Show(*parent); // else both windows lack a handle and a missing tie compares equal
    r.callSlot<void(Object&, Obj)>(Window::SlotShowWithin, *w, parent);
    EXPECT_TRUE(qt(w).isVisible());
    EXPECT_EQ(qt(w).windowHandle()->transientParent(), qt(parent).windowHandle());
    EXPECT_THROW(Window::ShowWithin(*w, w), RuntimeException);
    EXPECT_THROW(Window::ShowWithin(*w, nullptr), NilObjectException);
}

// Guards: Window.Control returning the wrong control, or reading past the list.
// Guards: Window and TrueWindow of a window giving anything but the window.
TEST_F(WindowTest, ControlAtAnIndexIsTheOneAddedThereAndTheWindowOfAWindowIsItself)
{
    const Ref<Object> w = newWindow();
    const Ref<Object> a = addTextField(w, "A");
    const Ref<Object> b = addTextField(w, "B");
    const auto at = [&](I32 i) { return w->record().callSlot<Ref<Object>(Object&, I32)>(Window::SlotControl, *w, i); };
    EXPECT_EQ(at(0), a);
    EXPECT_EQ(at(1), b);
    for (I32 bad : { -1, 2, std::numeric_limits<I32>::min() })
        EXPECT_THROW(at(bad), OutOfBoundsException) << bad;
    EXPECT_EQ(w->record().callSlot<Ref<Object>(Object&)>(Window::SlotWindow, *w), w);
    EXPECT_EQ(w->record().callSlot<Ref<Object>(Object&)>(Window::SlotTrueWindow, *w), w);
}

// Guards: focus operations that move nothing, or that skip or stop at the ends of the tab order.
TEST_F(WindowTest, FocusMovesAmongTheControlsInTabOrder)
{
    const Ref<Object> w = newWindow();
    const Ref<Object> fields[] = { addTextField(w, "A"), addTextField(w, "B"), addTextField(w, "C") };
    activate(w);
    ASSERT_EQ(QApplication::activeWindow(), &qt(w));

    fields[0]->record().callSlot<void(Object&)>(RectControl::SlotSetFocus, *fields[0]);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(fields[0]));
    const ClassRecord& r = w->record();
    r.callSlot<void(Object&)>(Window::SlotFocusNext, *w);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(fields[1]));
    r.callSlot<void(Object&)>(Window::SlotFocusPrevious, *w);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(fields[0]));
    r.callSlot<void(Object&)>(Window::SlotFocusPrevious, *w);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(fields[2])) << "wraps at the start";

    r.callSlot<void(Object&)>(Window::SlotSetFocus, *w);
    EXPECT_EQ(QApplication::focusWidget(), Window::from(*w).contentArea()) << "the window itself, no control";
}

// Guards: refresh operations that repaint nothing, or repaint only on the loop's next turn when asked for now.
TEST_F(WindowTest, RefreshesRepaintTheWindow)
{
    const Ref<Object> w = newWindow();
    activate(w);
    PaintCounter painted(Window::from(*w).contentArea());
    const ClassRecord& r = w->record();
    const std::vector<std::pair<const char*, std::function<void()>>> refreshes {
        { "Refresh", [&] { r.callSlot<void(Object&)>(Window::SlotRefresh, *w); } },
        { "RefreshRect", [&] { r.callSlot<void(Object&, I32, I32, I32, I32)>(Window::SlotRefreshRect, *w, 0, 0, 10, 10); } },
        { "UpdateNow", [&] { r.callSlot<void(Object&)>(Window::SlotUpdateNow, *w); } },
    };
    for (const auto& [name, refresh] : refreshes) {
        painted.count = 0;
        refresh();
        if (std::string_view(name) != "UpdateNow") // which must paint before the loop turns
            QApplication::processEvents();
        EXPECT_GT(painted.count, 0) << name;
    }
    EXPECT_THROW(r.callSlot<void(Object&, I32, I32, I32, I32)>(Window::SlotRefreshRect, *w, 0, 0, -1, 10),
                 OutOfBoundsException);
}

struct CloseCase {
    const char* how;
    bool vetoed;
    std::vector<std::string> events;
};

// Guards: closing without asking CancelClose, closing despite its veto, a closed window still
// registered, or a second close raising Close again.
TEST_F(WindowTest, CloseAsksCancelCloseThenRaisesCloseAndUnregisters)
{
    const std::vector<CloseCase> cases {
        { "allowed", false, { "CancelClose false", "Close" } },
        { "vetoed", true, { "CancelClose false" } },
    };
    logEvent("Close");
    for (const CloseCase& c : cases) {
        log.clear();
        record.setEventHandler("CancelClose", makeCode<bool(Object&, bool)>([&](Object&, bool quitting) {
                                   log.push_back(std::string("CancelClose ") + (quitting ? "true" : "false"));
                                   return c.vetoed;
                               }));
        const Ref<Object> w = newWindow();
        w->record().callSlot<void(Object&)>(Window::SlotConstructor, *w);
        Window::Show(*w);
        w->record().callSlot<void(Object&)>(Window::SlotClose, *w);
        EXPECT_EQ(log, c.events) << c.how;
        EXPECT_EQ(qt(w).isVisible(), c.vetoed) << c.how;
        EXPECT_EQ(GetImplicitWindow(record.name()) == w, c.vetoed) << c.how;
        w->record().callSlot<void(Object&)>(Window::SlotClose, *w);
        EXPECT_EQ(log.size(), c.events.size() * (c.vetoed ? 2 : 1)) << c.how << ": closed once only";
        releaseWindows();
    }
}

// Guards: a construction that leaves a half-built window registered, so the next request finds it.
TEST_F(WindowTest, ConstructionRaisesItsEventsInOrderAndAFailureLeavesNoWindowRegistered)
{
    for (const char* e : { "Layout", "CreateControls", "Open" })
        logEvent(e);
    {
        const Ref<Object> w = newWindow();
        Window::Constructor(*w);
        EXPECT_EQ(log, (std::vector<std::string> { "Layout", "CreateControls", "Open" }));
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

// Guards: a window mapped during its Layout, so that Qt lays it out again for every control its
// CreateControls adds; and one whose Visible property is lost on the way to the screen.
TEST_F(WindowTest, AVisibleWindowIsShownOnceItsConstructionIsComplete)
{
    std::vector<bool> shownDuring;
    const auto note = [&](const char* event, bool makeVisible) {
        record.setEventHandler(event, makeCode<void(Object&)>([&, makeVisible](Object& w) {
            if (makeVisible) {
                const PropertyEntry visible { "Visible", "Visible", "Window", true };
                SetProperties(w, PropertyString::encode(std::span(&visible, 1)));
                EXPECT_EQ(GetProperty(w, "Visible"), PropertyValue(true)) << "as set, while the window is built";
            }
            shownDuring.push_back(Window::from(w).qtWindow()->isVisible());
        }));
    };
    note("Layout", true);
    note("CreateControls", false);
    note("Open", false);
    const Ref<Object> w = newWindow();
    Window::Constructor(*w);
    EXPECT_EQ(shownDuring, std::vector<bool>(3, false));
    EXPECT_TRUE(qt(w).isVisible());
    EXPECT_EQ(GetProperty(*w, "Visible"), PropertyValue(true));
}

struct ModalCase {
    const char* how;
    bool withinParent;
    void (*end)(Object&);
};

// Guards: ShowModal returning at once, never returning, or leaving the window modal afterwards.
TEST_F(WindowTest, ShowModalRunsUntilTheWindowIsHiddenOrClosed)
{
    const std::vector<ModalCase> cases {
        { "ShowModal, Hide", false, &Window::Hide },
        { "ShowModal, Close", false, &Window::Close },
        { "ShowModalWithin, Hide", true, &Window::Hide },
    };
    // A quit requested while no loop ran (as a failing handler does) makes Qt end every new loop at
    // once, until the main loop has run again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    for (const ModalCase& c : cases) {
        const Ref<Object> parent = newWindow();
        const Ref<Object> w = newWindow();
        Window::Show(*parent);
        Qt::WindowModality whileShown = Qt::NonModal;
        QTimer::singleShot(0, [&] {
            whileShown = qt(w).windowModality();
            c.end(*w);
        });
        const testsupport::Watchdog failsafe(0, std::chrono::seconds(10));
        if (c.withinParent)
            Window::ShowModalWithin(*w, parent);
        else
            Window::ShowModal(*w);
        EXPECT_FALSE(failsafe.fired()) << c.how << " never returned by itself";
        EXPECT_EQ(whileShown, c.withinParent ? Qt::WindowModal : Qt::ApplicationModal) << c.how;
        EXPECT_EQ(qt(w).windowModality(), Qt::NonModal) << c.how;
        EXPECT_FALSE(qt(w).isVisible()) << c.how;
        if (c.withinParent) {
            EXPECT_EQ(qt(w).windowHandle()->transientParent(), qt(parent).windowHandle()) << c.how;
        }
    }
}

// Guards: a removed control still found or shown, a control lost on removal, or an unknown one ignored.
TEST_F(WindowTest, RemovedControlsLeaveTheWindowAndCanComeBack)
{
    const Ref<Object> w = newWindow();
    const Ref<Object> field = addTextField(w, "A");
    const int count = field->refCount();
    w->record().callSlot<void(Object&, Obj)>(Window::SlotRemoveControl, *w, field);
    EXPECT_FALSE(RuntimeWindowControlByName(w, "A"));
    EXPECT_EQ(field->refCount(), count - 1);
    EXPECT_EQ(widgetOf(field)->parentWidget(), nullptr);
    EXPECT_THROW(Window::RemoveControl(*w, field), RuntimeException);

    Window::AddControl(*w, "A", field);
    EXPECT_EQ(RuntimeWindowControlByName(w, "A"), field);
    EXPECT_EQ(widgetOf(field)->parentWidget(), Window::from(*w).contentArea());
    EXPECT_THROW(Window::AddControl(*w, "A", field), RuntimeException) << "added twice";
}

}
