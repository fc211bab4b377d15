#include "Window1.h"

#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "NilObjectException.h"
#include "RectControl.h"
#include "SignatureMismatchException.h"
#include "TextField.h"
#include "Watchdog.h"
#include "Window.h"
#include "WindowSupport.h"
#include "SharedMenuBar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <map>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

using namespace platform;

namespace {

const std::vector<std::string> ownOperations {
    "Layout", "CreateControls", "_CreateControls0", "PushButton1_Action", "EditMenu", "EditSelectAll",
    "UntitledMenu0", "EditClear", "EditPaste", "EditCopy", "EditCut", "UntitledMenu1", "EditUndo", "FileMenu",
    "FileQuit", "Event_Open", "Event_Close",
};

struct Member {
    const char* name;
    const char* signature;
    std::optional<std::size_t> runs; // the slot whose operation it runs; none for a control accessor
    bool hidden = false;
};

const std::vector<Member> members {
    { "Layout", "%%", Window1::SlotLayout },
    { "CreateControls", "%%", Window1::SlotCreateControls },
    { "_CreateControls0", "%%", Window1::SlotCreateControls0, true },
    { "PushButton1", "%o<PushButton>%s", std::nullopt },
    { "TextField1", "%o<TextField>%s", std::nullopt },
    { "StaticText1", "%o<StaticText>%s", std::nullopt },
    { "StaticText2", "%o<StaticText>%s", std::nullopt },
    { "StaticText3", "%o<StaticText>%s", std::nullopt },
    { "PopupMenu1", "%o<PopupMenu>%s", std::nullopt },
    { "PushButton1_Action", "%%", Window1::SlotPushButton1Action },
    { "EditMenu", "%o<MenuItem>%", Window1::SlotEditMenu },
    { "EditSelectAll", "%o<MenuItem>%", Window1::SlotEditSelectAll },
    { "UntitledMenu0", "%o<MenuItem>%", Window1::SlotUntitledMenu0 },
    { "EditClear", "%o<MenuItem>%", Window1::SlotEditClear },
    { "EditPaste", "%o<MenuItem>%", Window1::SlotEditPaste },
    { "EditCopy", "%o<MenuItem>%", Window1::SlotEditCopy },
    { "EditCut", "%o<MenuItem>%", Window1::SlotEditCut },
    { "UntitledMenu1", "%o<MenuItem>%", Window1::SlotUntitledMenu1 },
    { "EditUndo", "%o<MenuItem>%", Window1::SlotEditUndo },
    { "FileMenu", "%o<MenuItem>%", Window1::SlotFileMenu },
    { "FileQuit", "%o<QuitMenuItem>%", Window1::SlotFileQuit },
    { "Event_Open", "%%", Window1::SlotEventOpen },
    { "Event_Close", "%%", Window1::SlotEventClose },
};

// Guards: an inherited operation replaced or moved, an own one out of the place its callers use.
// Guards: a second build replacing or extending the record that objects already point at.
TEST(Window1Record, KeepsWindowsOperationsThenAppendsItsOwnInOrderAndIsBuiltOnce)
{
    const ClassRecord& r = Window1::Lookup();
    const ClassRecord& base = Window::Lookup();
    EXPECT_EQ(r.name(), String("Window1.Window1"));
    EXPECT_EQ(r.parent(), &base);
    ASSERT_EQ(r.methods().size(), 67u);
    ASSERT_EQ(base.methods().size(), 50u);
    const Ref<Object> window1 = RuntimeNewObject(r);
    const Ref<Object> plain = RuntimeNewObject(base);
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(r.slot(i).name, base.slot(i).name) << i;
        EXPECT_EQ(window1->record().slot(i).code.get(), plain->record().slot(i).code.get()) << base.slot(i).name;
    }
    for (std::size_t i = 0; i < ownOperations.size(); ++i)
        EXPECT_EQ(r.slot(50 + i).name, ownOperations[i]);
    for (std::size_t slot = Window1::SlotEditMenu; slot <= Window1::SlotFileQuit; ++slot)
        EXPECT_EQ(std::type_index(r.slot(slot).code->signature()), std::type_index(typeid(Ref<Object>(Object&))));
    for (std::size_t slot : { Window1::SlotLayout, Window1::SlotCreateControls, Window1::SlotCreateControls0,
                              Window1::SlotPushButton1Action, Window1::SlotEventOpen, Window1::SlotEventClose })
        EXPECT_EQ(std::type_index(r.slot(slot).code->signature()), std::type_index(typeid(void(Object&))));

    const std::vector<Slot> methods = r.methods();
    const std::size_t memberCount = r.members().size();
    const std::size_t attributeCount = r.attributes().size();
    Window1::ctblinit();
    const ClassRecord& again = Window1::Lookup();
    EXPECT_EQ(&again, &r);
    EXPECT_EQ(Window1::ctbl.get(), &r);
    ASSERT_EQ(again.methods().size(), methods.size());
    for (std::size_t i = 0; i < methods.size(); ++i)
        EXPECT_EQ(again.methods()[i].code, methods[i].code) << i;
    EXPECT_EQ(again.members().size(), memberCount);
    EXPECT_EQ(again.attributes().size(), attributeCount);
}

// Guards: a missing or extra handler, or a handler bound to a table place instead of the operation.
TEST(Window1Record, HandlesExactlyLayoutCreateControlsOpenAndClose)
{
    const ClassRecord& r = Window1::Lookup();
    const std::map<std::string, std::size_t> handled {
        { "Layout", Window1::SlotLayout },
        { "CreateControls", Window1::SlotCreateControls },
        { "Open", Window1::SlotEventOpen },
        { "Close", Window1::SlotEventClose },
    };
    ASSERT_EQ(r.events().size(), Window::Lookup().events().size());
    ASSERT_EQ(r.events().size(), 33u);
    for (std::size_t i = 0; i < r.events().size(); ++i) {
        const EventEntry& e = r.events()[i];
        EXPECT_EQ(e.name, Window::Lookup().events()[i].name);
        auto it = handled.find(std::string(e.name));
        if (it == handled.end()) {
            EXPECT_FALSE(e.handler) << e.name;
        } else {
            EXPECT_EQ(e.handler, r.slot(it->second).code) << e.name;
        }
    }
}

// Guards: a member missing, misnamed, with a wrong signature, invoker, flags or attributes.
TEST(Window1Record, PublishesItsTwentyThreeMembers)
{
    const ClassRecord& r = Window1::Lookup();
    ASSERT_EQ(r.members().size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const Member& want = members[i];
        const MemberRecord& m = r.members()[i];
        EXPECT_EQ(m.name, String(want.name));
        EXPECT_EQ(m.signature, String(want.signature)) << want.name;
        EXPECT_EQ(m.invoker, &Invoker::forSignature(want.signature)) << want.name << ": shared per signature";
        EXPECT_EQ(m.flags, MemberPublic | MemberInstance) << want.name;
        ASSERT_TRUE(m.code) << want.name;
        if (want.runs) {
            EXPECT_EQ(m.code, r.slot(*want.runs).code) << want.name;
        }
        ASSERT_EQ(m.attributes.size(), want.hidden ? 2u : 1u) << want.name;
        EXPECT_EQ(m.attributes[0].name, String("__Scope"));
        EXPECT_EQ(m.attributes[0].value, String("Public"));
        if (want.hidden) {
            EXPECT_EQ(m.attributes[1].name, String("Hidden"));
            EXPECT_FALSE(m.attributes[1].value) << "Hidden carries no value";
        }
    }
    ASSERT_EQ(r.attributes().size(), 1u);
    EXPECT_EQ(r.attributes()[0].name, String("__Scope"));
    EXPECT_EQ(r.attributes()[0].value, String("Public"));
}

// Wraps the Window1 record's handlers so they log each call, for the length of a test.
class HandlerLog {
public:
    explicit HandlerLog(std::vector<std::string>& log)
        : m_record((Window1::Lookup(), *Window1::ctbl))
    {
        for (const char* event : { "Layout", "CreateControls", "Open", "Close" }) {
            Code original = m_record.eventHandler(event);
            m_saved[event] = original;
            m_record.setEventHandler(event, makeCode<void(Object&)>([&log, event, original](Object& w) {
                                         log.push_back(event);
                                         original->call<void(Object&)>(event, w);
                                     }));
        }
    }
    ~HandlerLog()
    {
        for (const auto& [event, code] : m_saved)
            m_record.setEventHandler(event, code);
    }

private:
    ClassRecord& m_record;
    std::map<std::string, Code> m_saved;
};

Ref<Object>& menuBar()
{
    static Ref<Object> bar;
    return bar;
}

class Window1Test : public testsupport::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        menuBar() = RuntimeNewObject(MenuBar::Lookup());
        Window1::setSharedMenuBarAccessor([] { return menuBar(); });
    }
    void releaseHeld() override
    {
        releaseWindows();
        Window1::setSharedMenuBarAccessor(nullptr);
        menuBar() = nullptr;
        EventLoop::takePendingException();
    }

    static QWidget* widgetOf(const Ref<Object>& window, const char* control)
    {
        return RectControl::from(RuntimeWindowControlByName(window, control).object()).widget();
    }
};

// Guards: a window built twice, its events raised out of order or more than once, or the window
// dying with the caller's reference.
// Guards: the focus left on the first control in tab order (the button) instead of the number field.
// Guards: a control accessor giving another control, or a call with wrong arguments running anyway.
TEST_F(Window1Test, TheAccessorBuildsOneWindowThatStaysOpenWithItsControls)
{
    std::vector<std::string> log;
    HandlerLog logged(log);
    Object* made = nullptr;
    {
        const Ref<Object> w = Window1::implicitInstance();
        made = w.get();
        EXPECT_TRUE(w->isA(Window1::Lookup()));
    }
    EXPECT_EQ(log, (std::vector<std::string> { "Layout", "CreateControls", "Open" }));
    const long live = Object::liveInstances();
    const Ref<Object> w = Window1::implicitInstance();
    EXPECT_EQ(w.get(), made) << "the same window";
    EXPECT_EQ(log.size(), 3u) << "nothing constructed the second time";
    EXPECT_EQ(Object::liveInstances(), live);
    EXPECT_EQ(GetImplicitWindow("Window1.Window1"), w);
    EXPECT_EQ(w->refCount(), 3) << "held by the framework's two lists and this test only";

    QMainWindow& qw = *Window::from(*w).qtWindow();
    EXPECT_TRUE(qw.isVisible());
    EXPECT_EQ(qw.focusWidget(), widgetOf(w, "TextField1"));
    qw.activateWindow();
    QApplication::setActiveWindow(&qw);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(w, "TextField1"));

    for (const char* name : { "PushButton1", "TextField1", "StaticText1", "StaticText2", "StaticText3", "PopupMenu1" }) {
        const Ref<Object> control = RuntimeWindowControlByName(w, name);
        ASSERT_TRUE(control) << name;
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w, name)), control) << name;
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w, name, { Value(String(name)) })), control) << name;
    }
    EXPECT_THROW(RuntimeInvokeMember(*w, "PushButton1", { Value(std::int32_t { 1 }) }), SignatureMismatchException);
    EXPECT_THROW(RuntimeInvokeMember(*w, "PushButton1", { Value(String("TextField1")) }), SignatureMismatchException)
        << "a TextField is not a PushButton";
    EXPECT_THROW(RuntimeInvokeMember(*w, "PushButton1", { Value(String("a")), Value(String("b")) }),
                 SignatureMismatchException);
    EXPECT_THROW(RuntimeInvokeMember(*w, "Event_Open", { Value(true) }), SignatureMismatchException);
    EXPECT_THROW(RuntimeInvokeMember(*w, "PushButton2"), RuntimeException);
}

// Guards: Open on a window without the field touching another control's focus or failing silently.
TEST_F(Window1Test, OpenWithoutTheNumberFieldRaisesNilObjectAndMovesNoFocus)
{
    const Ref<Object> w = RuntimeNewObject(Window1::Lookup());
    const Ref<Object> other = Window::New(*w, TextField::Lookup());
    RectControl::Constructor(*other);
    Window::AddControl(*w, "Other", other);
    QMainWindow& qw = *Window::from(*w).qtWindow();
    qw.show();
    qw.activateWindow();
    QApplication::setActiveWindow(&qw);
    RectControl::SetFocus(*other);
    QApplication::processEvents();
    QWidget* before = QApplication::focusWidget();
    ASSERT_EQ(before, RectControl::from(*other).widget());

    EXPECT_THROW(Window1::Event_Open(*w), NilObjectException);
    EXPECT_EQ(QApplication::focusWidget(), before);

    // Raised by the construction itself, it fails the construction and leaves no window behind.
    ClassRecord noControls("Window1Test.NoControls", &Window1::Lookup());
    noControls.setEventHandler("CreateControls", makeCode<void(Object&)>([](Object&) {}));
    const Ref<Object> bare = RuntimeNewObject(noControls);
    EXPECT_THROW(bare->record().callSlot<void(Object&)>(Window::SlotConstructor, *bare), NilObjectException);
    EXPECT_FALSE(GetImplicitWindow("Window1Test.NoControls"));
}

// Guards: closing the window leaving the application running, asking anything first, or leaking it.
TEST_F(Window1Test, ClosingTheWindowQuitsWithZeroWithoutAPrompt)
{
    std::vector<std::string> log;
    HandlerLog logged(log);
    // As at run time: closing the last window does not by itself end the loop.
    const bool quitOnLastClosed = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    QMainWindow* qw = Window::from(*Window1::implicitInstance()).qtWindow();
    QTimer::singleShot(0, [qw] { qw->close(); });
    testsupport::Watchdog failsafe(99, std::chrono::seconds(10));

    const int status = QCoreApplication::exec();
    failsafe.stop();
    QApplication::setQuitOnLastWindowClosed(quitOnLastClosed);
    EXPECT_NO_THROW(EventLoop::rethrowPendingException());
    EXPECT_EQ(status, 0) << "99: the loop went on after the close, as with a prompt or no Quit";
    EXPECT_EQ(log, (std::vector<std::string> { "Layout", "CreateControls", "Open", "Close" }));
    EXPECT_FALSE(GetImplicitWindow("Window1.Window1"));
    QApplication::sendPostedEvents();
    EXPECT_EQ(Object::liveInstances(), liveBefore() + 1) << "only the menu bar is left";
}

}
