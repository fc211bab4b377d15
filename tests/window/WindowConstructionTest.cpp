#include "PropertyStrings.h"
#include "SharedMenuBar.h"
#include "Window1.h"

#include "AddControl.h"
#include "DesignRect.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "NilObjectException.h"
#include "PopupMenu.h"
#include "PrintDialog.h"
#include "PropertySchema.h"
#include "PropertyString.h"
#include "PushButton.h"
#include "RectControl.h"
#include "SetProperties.h"
#include "SignatureMismatchException.h"
#include "StaticText.h"
#include "TextField.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>
#include <typeindex>

using namespace platform;
using testsupport::designRect;

namespace {

// The controls in their order of creation.
const struct ControlRow {
    const char* name;
    const ClassRecord& (*lookup)();
} controlRows[] = {
    { "PushButton1", PushButton::Lookup }, { "TextField1", TextField::Lookup }, { "StaticText1", StaticText::Lookup },
    { "StaticText2", StaticText::Lookup }, { "StaticText3", StaticText::Lookup }, { "PopupMenu1", PopupMenu::Lookup },
};

namespace W = Window1;
const char* const M = "%o<MenuItem>%"; // a menu handler's signature

// Window1's members in their order; those that run an operation are also its own slots, in the same order.
const struct Member {
    const char* name;
    const char* signature;
    std::optional<std::size_t> runs = {}; // the slot whose operation it runs; none for a control accessor
    bool hidden = false;
} members[] = {
    { "Layout", "%%", W::SlotLayout }, { "CreateControls", "%%", W::SlotCreateControls },
    { "_CreateControls0", "%%", W::SlotCreateControls0, true }, { "PushButton1", "%o<PushButton>%s" },
    { "TextField1", "%o<TextField>%s" }, { "StaticText1", "%o<StaticText>%s" }, { "StaticText2", "%o<StaticText>%s" },
    { "StaticText3", "%o<StaticText>%s" }, { "PopupMenu1", "%o<PopupMenu>%s" },
    { "PushButton1_Action", "%%", W::SlotPushButton1Action }, { "EditMenu", M, W::SlotEditMenu },
    { "EditSelectAll", M, W::SlotEditSelectAll }, { "UntitledMenu0", M, W::SlotUntitledMenu0 },
    { "EditClear", M, W::SlotEditClear }, { "EditPaste", M, W::SlotEditPaste }, { "EditCopy", M, W::SlotEditCopy },
    { "EditCut", M, W::SlotEditCut }, { "UntitledMenu1", M, W::SlotUntitledMenu1 }, { "EditUndo", M, W::SlotEditUndo },
    { "FileMenu", M, W::SlotFileMenu }, { "FileQuit", "%o<QuitMenuItem>%", W::SlotFileQuit },
    { "Event_Open", "%%", W::SlotEventOpen }, { "Event_Close", "%%", W::SlotEventClose },
};

Ref<Object> s_menuBar;
int s_menuBarRequests = 0;

// A record over Window1's of its own, whose operation R(A...) in the slot first gives its arguments to fn, then runs
// Window1's code on them.
template<class R, class... A, class F>
std::unique_ptr<ClassRecord> probeRecord(std::size_t slot, F fn)
{
    std::unique_ptr<ClassRecord> record = RuntimeNewClass(&Window1::Lookup());
    record->setName("Window1Probe");
    const Slot own = Window1::Lookup().slot(slot);
    const auto probe = [=](A... a) -> R { fn(a...); return own.code->call<R(A...)>(own.name, a...); };
    record->setSlot(slot, own.name, makeCode<R(A...)>(probe));
    return record;
}

// A window made and constructed as start-up does it (unless the test constructs it), let go by the framework at
// the end.
struct ConstructedWindow {
    explicit ConstructedWindow(const ClassRecord& record = Window1::Lookup(), bool constructNow = true)
        : window(RuntimeNewObject(record)) { if (constructNow) construct(); }
    ~ConstructedWindow() { WindowSupport::unregisterWindow(*window); }
    void construct() { window->record().callSlot<void(Object&)>(Window::SlotConstructor, *window); }
    Window& storage() const { return Window::from(*window); }
    QMainWindow& qt() const { return *storage().qtWindow(); }
    Ref<Object> control(const char* name) const { return RuntimeWindowControlByName(window, name); }
    QWidget& widgetOf(const char* name) const { return *RectControl::from(*control(name)).widget(); }
    template<class Widget> // throws when the control is shown by another kind of widget
    Widget& widgetAs(const char* name) const { return dynamic_cast<Widget&>(widgetOf(name)); }
    Ref<Object> window;
};

// Wraps the Window1 record's handlers so they log each call, for the length of a test.
struct HandlerLog {
    static ClassRecord& record() { return Window1::Lookup(), *Window1::ctbl; }
    HandlerLog()
    {
        for (const char* event : { "Layout", "CreateControls", "Open", "Close" }) {
            const Code code = saved[event] = record().eventHandler(event);
            const auto wrap = [=, this](Object& w) { log.push_back(event); code->call<void(Object&)>(event, w); };
            record().setEventHandler(event, makeCode<void(Object&)>(wrap));
        }
    }
    ~HandlerLog() { for (const auto& [event, code] : saved) record().setEventHandler(event, code); }
    std::vector<std::string> log;
    std::map<std::string, Code> saved;
};

std::vector<PropertyEntry> entriesOf(const PropertyStrings::Constant& c)
{
    return PropertyString::decode(String(c.bytes), PropertySchema::forClass(c.className));
}

// Shown and made the active window, as a user's click would; the focus follows once events are processed.
void activate(QMainWindow& qw) { qw.show(); qw.activateWindow(); QApplication::setActiveWindow(&qw); }

struct Window1Test : testsupport::FrameworkTest {
    void SetUp() override
    {
        FrameworkTest::SetUp();
        s_menuBar = RuntimeNewObject(MenuBar::Lookup());
        s_menuBarRequests = 0;
        Window1::setSharedMenuBarAccessor([] { ++s_menuBarRequests; return s_menuBar; });
        // The Print action runs for real and meets a cancelled dialog.
        setPrintDialogHook([this](const Ref<Object>&, const Ref<Object>&) { ++dialogs; return Ref<Graphics>(); });
    }
    void releaseHeld() override
    {
        releaseWindows();
        setPrintDialogHook(nullptr);
        Window1::setSharedMenuBarAccessor(nullptr);
        s_menuBar = nullptr;
        EXPECT_FALSE(EventLoop::hasPendingException());
        EventLoop::takePendingException();
    }
    int dialogs = 0;
};

// Guards: an inherited operation replaced or moved; an own one out of place or of another signature; a second build
// replacing or extending the record; a missing, extra or misbound event handler; a member missing, misnamed, or with
// a wrong signature, invoker, flags or attributes.
TEST(Window1Record, KeepsWindowsOperationsAddsItsOwnHandlesFourEventsPublishesItsMembersIsBuiltOnce)
{
    const ClassRecord &r = Window1::Lookup(), &base = Window::Lookup();
    const auto isPublicScope = [](const Attribute& a) { return a.name == "__Scope" && a.value == "Public"; };
    const std::vector<Slot> before = r.methods();
    Window1::ctblinit();
    EXPECT_EQ(std::tuple(&Window1::Lookup(), Window1::ctbl.get()), std::tuple(&r, &r));
    ASSERT_EQ(std::tuple(before.size(), r.methods().size(), base.methods().size()), std::tuple(67u, 67u, 50u));
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(r.methods()[i].code, before[i].code) << i;

    EXPECT_EQ(r.name(), String("Window1.Window1"));
    EXPECT_EQ(r.parent(), &base);
    const Ref<Object> window1 = RuntimeNewObject(r), plain = RuntimeNewObject(base);
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(r.slot(i).name, base.slot(i).name) << i;
        EXPECT_EQ(window1->record().slot(i).code.get(), plain->record().slot(i).code.get()) << base.slot(i).name;
    }

    ASSERT_EQ(r.members().size(), std::size(members));
    std::size_t own = 50;
    for (std::size_t i = 0; i < std::size(members); ++i) {
        const Member& want = members[i];
        const MemberRecord& m = r.members()[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(m.name, String(want.name));
        EXPECT_EQ(m.signature, String(want.signature));
        EXPECT_EQ(m.invoker, &Invoker::forSignature(want.signature)) << "shared per signature";
        EXPECT_EQ(m.flags, MemberPublic | MemberInstance);
        ASSERT_TRUE(m.code);
        if (want.runs) {
            EXPECT_EQ(r.slot(own++).name, want.name) << "own operations follow Window's in member order";
            EXPECT_EQ(m.code, r.slot(*want.runs).code);
            EXPECT_EQ(std::type_index(r.slot(*want.runs).code->signature()),
                      std::string_view(want.signature) == "%%" ? typeid(void(Object&)) : typeid(Ref<Object>(Object&)));
        }
        ASSERT_EQ(m.attributes.size(), want.hidden ? 2u : 1u);
        EXPECT_TRUE(isPublicScope(m.attributes[0]));
        EXPECT_TRUE(!want.hidden || (m.attributes[1].name == "Hidden" && !m.attributes[1].value)) << "Hidden, no value";
    }
    ASSERT_EQ(r.attributes().size(), 1u);
    EXPECT_TRUE(isPublicScope(r.attributes()[0]));

    const std::map<std::string_view, std::size_t> handled { { "Layout", W::SlotLayout },
        { "CreateControls", W::SlotCreateControls }, { "Open", W::SlotEventOpen }, { "Close", W::SlotEventClose } };
    ASSERT_EQ(std::tuple(r.events().size(), base.events().size()), std::tuple(33u, 33u));
    for (std::size_t i = 0; i < r.events().size(); ++i) {
        const EventEntry& e = r.events()[i];
        EXPECT_EQ(e.name, base.events()[i].name);
        const auto it = handled.find(e.name);
        EXPECT_EQ(e.handler, it == handled.end() ? Code() : r.slot(it->second).code) << e.name;
    }
}

// Guards: a control missing, of the wrong class or name, out of order, off its place in the content area, without
// its text size, unit, font or texts, or with a second handler; its accessor giving another control or running on
// wrong arguments; the menu bar not the shared one or not kept; the title, a size limit or a window button lost; a
// property of a string not applied or read back altered; labels not right-aligned against their controls or clipped;
// Tab out of TabIndex order; the "#" mask taking more than one digit; Return pressing a button that is disabled,
// hidden or no longer the default.
TEST_F(Window1Test, BuildsTheDesignedWindowWithTheSharedMenuBarAndItsKeyboardBehaves)
{
    ConstructedWindow w;
    const QString family = QFontDatabase::hasFamily("Arial") ? "Arial" : "Liberation Sans";
    ASSERT_EQ(w.storage().controlCount(), std::size(controlRows));
    for (std::size_t i = 0; i < std::size(controlRows); ++i) {
        const auto& [name, lookup] = controlRows[i];
        SCOPED_TRACE(name);
        const Ref<Object> control = w.control(name);
        ASSERT_TRUE(control);
        EXPECT_TRUE(w.storage().controlNameAt(i) == name && Control::NameGet(*control) == name) << "listed and named";
        EXPECT_EQ(control.get(), w.storage().controlAt(i).get());
        EXPECT_EQ(&control->record(), &lookup());
        EXPECT_EQ(Control::from(*control).window(), &w.storage());
        EXPECT_TRUE(RectControl::TextSizeGet(*control) == 12.0f && RectControl::TextUnitGet(*control) == 0);
        EXPECT_EQ(static_cast<bool>(Control::from(*control).eventHandler("Action")), i == 0);
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w.window, name)), control) << "its accessor";
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w.window, name, { Value(String(name)) })), control);
        QWidget& widget = w.widgetOf(name);
        EXPECT_EQ(widget.parentWidget(), w.storage().contentArea());
        EXPECT_EQ(widget.geometry(), designRect(name));
        EXPECT_TRUE(widget.isVisible() && widget.isEnabled());
        const QFontInfo f(widget.font());
        EXPECT_EQ(std::tuple(f.pixelSize(), f.family(), f.bold(), f.italic()), std::tuple(12, family, false, false));
    }
    // The second: a TextField is not a PushButton.
    for (const std::vector<Value>& args : std::vector<std::vector<Value>> { { Value(std::int32_t { 1 }) },
             { Value(String("TextField1")) }, { Value(String("a")), Value(String("b")) } })
        EXPECT_THROW(RuntimeInvokeMember(*w.window, "PushButton1", args), SignatureMismatchException);
    EXPECT_THROW(RuntimeInvokeMember(*w.window, "Event_Open", { Value(true) }), SignatureMismatchException);
    EXPECT_THROW(RuntimeInvokeMember(*w.window, "PushButton2"), RuntimeException);

    EXPECT_EQ(s_menuBarRequests, 1);
    EXPECT_EQ(Window::MenuBarGet(*w.window).get(), s_menuBar.get());
    EXPECT_GE(s_menuBar->refCount(), 2) << "held by the window as well as by the application";
    QMainWindow& qt = w.qt();
    EXPECT_NE(qt.menuWidget(), nullptr);
    EXPECT_TRUE(qt.isVisible());
    EXPECT_EQ(qt.windowTitle(), QStringLiteral("Sumwise"));
    EXPECT_EQ(w.storage().contentArea()->size(), QSize(455, 181));
    const int menuBarHeight = qt.height() - w.storage().contentArea()->height();
    EXPECT_EQ(qt.minimumSize(), QSize(64, 64 + menuBarHeight));
    EXPECT_EQ(qt.maximumSize(), QSize(32000, 32000 + menuBarHeight));
    const auto buttons = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    EXPECT_EQ((qt.windowFlags() & buttons).toInt(), (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint).toInt());

    EXPECT_EQ(w.widgetAs<QPushButton>("PushButton1").text(), QStringLiteral("Print!"));
    EXPECT_TRUE(w.widgetAs<QLabel>("StaticText2").text().contains(QStringLiteral("arithmetic.  Choose")));
    QComboBox& popup = w.widgetAs<QComboBox>("PopupMenu1");
    QStringList items;
    for (int i = 0; i < popup.count(); ++i)
        items << popup.itemText(i);
    EXPECT_EQ(items, (QStringList { "Adding", "Subtracting", "Multiplying", "Dividing" }));
    EXPECT_EQ(popup.currentText(), QStringLiteral("Multiplying"));
    EXPECT_EQ(PopupMenu::TextGet(*w.control("PopupMenu1")), String("Multiplying"));
    EXPECT_TRUE(w.widgetAs<QLineEdit>("TextField1").text().isEmpty());
    for (const auto& [label, text, buddy] : { std::tuple { "StaticText1", "Enter The Practice Number:", "TextField1" },
             std::tuple { "StaticText3", "Select The Operation:", "PopupMenu1" } }) {
        SCOPED_TRACE(label);
        QLabel& l = w.widgetAs<QLabel>(label);
        EXPECT_EQ(l.text(), QString(text));
        EXPECT_TRUE(l.alignment() & Qt::AlignRight);
        EXPECT_EQ(l.geometry().right() + 7, w.widgetOf(buddy).geometry().left());
        EXPECT_LE(QFontMetrics(l.font()).horizontalAdvance(l.text()), l.contentsRect().width());
    }
    QLabel& description = w.widgetAs<QLabel>("StaticText2");
    EXPECT_TRUE(description.wordWrap());
    EXPECT_TRUE(description.alignment().testFlags(Qt::AlignLeft | Qt::AlignTop));
    EXPECT_LE(description.heightForWidth(description.width()), description.height());

    for (const PropertyStrings::Constant& c : PropertyStrings::all()) {
        SCOPED_TRACE(c.target);
        const Ref<Object> target = c.target == "Window1" ? w.window : w.control(std::string(c.target).c_str());
        ASSERT_TRUE(target);
        for (const PropertyEntry& entry : entriesOf(c))
            EXPECT_EQ(GetProperty(*target, entry.entryName), entry.value) << entry.entryName;
    }

    ASSERT_EQ(qt.focusWidget(), &w.widgetOf("TextField1")) << "the Open event's focus";
    for (const char* next : { "PopupMenu1", "PushButton1", "TextField1" }) {
        QTest::keyClick(qt.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qt.focusWidget(), &w.widgetOf(next)) << "expected " << next;
    }

    QLineEdit& field = w.widgetAs<QLineEdit>("TextField1");
    QTest::keyClicks(&field, QStringLiteral("a5 7"));
    EXPECT_EQ(field.text(), QStringLiteral("5"));
    EXPECT_EQ(TextField::TextGet(*w.control("TextField1")), String("5"));
    field.clear();
    QTest::keyClicks(&field, QStringLiteral("x"));
    EXPECT_TRUE(field.text().isEmpty());

    for (const auto& [what, change] : std::vector<std::pair<const char*, std::vector<PropertyEntry>>> {
             { "disabled", { { "Enabled", {}, {}, false } } },
             { "hidden", { { "Enabled", {}, {}, true }, { "Visible", {}, {}, false } } },
             { "no longer default", { { "Visible", {}, {}, true }, { "Default", {}, {}, false } } } }) {
        SetProperties(*w.control("PushButton1"), PropertyString::encode(change));
        QTest::keyClick(&field, Qt::Key_Return);
        EXPECT_EQ(dialogs, 0) << what;
    }
}

const struct PressCase {
    const char* name;
    const char* control = nullptr; // the control the key goes to; nil for a mouse click on the button
    Qt::Key key = {};
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
} pressCases[] = {
    { "Mouse" }, { "EnterInField", "TextField1", Qt::Key_Enter, Qt::KeypadModifier },
    { "ReturnOnButton", "PushButton1", Qt::Key_Return }, { "ReturnInField", "TextField1", Qt::Key_Return },
    { "SpaceOnButton", "PushButton1", Qt::Key_Space }, { "ReturnOnPopup", "PopupMenu1", Qt::Key_Return },
};

void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class ButtonPress : public Window1Test, public ::testing::WithParamInterface<PressCase> {};

// Guards: a way of pressing "Print!" that does nothing (Return outside a dialog) or presses twice (the focused default
// button and the window both taking Return), or a handler called with the window rather than the button.
TEST_P(ButtonPress, CallsTheInstalledHandlerOnceWithTheButton)
{
    std::vector<Object*> receivers;
    const auto record = probeRecord<void, Object&>(Window1::SlotPushButton1Action, [&](Object& receiver) {
        receivers.push_back(&receiver);
    });
    ConstructedWindow w(*record);
    const PressCase& how = GetParam();
    if (!how.control) {
        QTest::mouseClick(&w.widgetOf("PushButton1"), Qt::LeftButton);
    } else {
        QWidget& target = w.widgetOf(how.control);
        target.setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(w.qt().focusWidget(), &target);
        QTest::keyClick(&target, how.key, how.modifiers);
    }
    EXPECT_EQ(receivers, std::vector<Object*> { w.control("PushButton1").get() });
    EXPECT_EQ(dialogs, 1) << "the real Print action ran and met the dialog";
}

INSTANTIATE_TEST_SUITE_P(Ways, ButtonPress, ::testing::ValuesIn(pressCases),
                         [](const auto& info) { return std::string(info.param.name); });

class FailingControl : public Window1Test, public ::testing::WithParamInterface<int> {};

// Guards: a failure part way through the controls undoing the ones made before it, or going on to make the later
// ones; a reference leaked on the way out.
TEST_P(FailingControl, LeavesTheEarlierControlsAndMakesNoLaterOne)
{
    const int failing = GetParam();
    int creations = 0;
    const auto record = probeRecord<Ref<Object>, Object&, const ClassRecord&>(Window::SlotNew, [&](const auto&...) {
        if (++creations == failing)
            throw RuntimeException("no room for another control");
    });
    ConstructedWindow w(*record, false);
    EXPECT_THROW(w.construct(), RuntimeException);
    EXPECT_EQ(creations, failing);
    ASSERT_EQ(w.storage().controlCount(), static_cast<std::size_t>(failing - 1));
    for (int i = 0; i < 6; ++i) { // each control made before the failure is whole: its text size and place applied
        const char* name = controlRows[i].name;
        const Ref<Object> control = w.control(name);
        ASSERT_EQ(static_cast<bool>(control), i < failing - 1) << name;
        EXPECT_TRUE(!control || RectControl::TextSizeGet(*control) == 12.0f) << name;
        EXPECT_TRUE(!control || w.widgetOf(name).geometry() == designRect(name)) << name;
    }
    EXPECT_EQ(w.storage().contentArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), failing - 1)
        << "no widget of a control that was not made";
}

INSTANTIATE_TEST_SUITE_P(AtEachControl, FailingControl, ::testing::Range(1, 7));

// Guards: a window built twice, its events raised out of order or more than once, or dying with the caller's
// reference; the focus not on the number field; closing it leaving the application running, prompting, or leaking.
TEST_F(Window1Test, TheAccessorBuildsOneWindowThatStaysOpenUntilClosingItQuitsWithZeroWithoutAPrompt)
{
    HandlerLog logged;
    Object* const made = Window1::implicitInstance().get(); // the caller lets go at once
    EXPECT_EQ(logged.log, (std::vector<std::string> { "Layout", "CreateControls", "Open" }));
    const long live = Object::liveInstances();
    Ref<Object> w = Window1::implicitInstance();
    EXPECT_EQ(w.get(), made) << "the same window";
    EXPECT_TRUE(w->isA(Window1::Lookup()));
    EXPECT_EQ(logged.log.size(), 3u) << "nothing constructed the second time";
    EXPECT_EQ(Object::liveInstances(), live);
    EXPECT_EQ(GetImplicitWindow("Window1.Window1"), w);
    EXPECT_EQ(w->refCount(), 3) << "held by the framework's two lists and this test only";

    QMainWindow& qw = *Window::from(*w).qtWindow();
    QWidget* const field = RectControl::from(*RuntimeWindowControlByName(w, "TextField1")).widget();
    EXPECT_TRUE(qw.isVisible());
    EXPECT_EQ(qw.focusWidget(), field);
    activate(qw);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), field);
    w = nullptr;

    // As at run time: closing the last window does not by itself end the loop.
    const bool quitOnLastClosed = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, [&qw] { qw.close(); });
    testsupport::Watchdog failsafe(99, std::chrono::seconds(10));
    const int status = QCoreApplication::exec();
    failsafe.stop();
    QApplication::setQuitOnLastWindowClosed(quitOnLastClosed);
    EXPECT_NO_THROW(EventLoop::rethrowPendingException());
    EXPECT_EQ(status, 0) << "99: the loop went on after the close, as with a prompt or no Quit";
    EXPECT_EQ(logged.log, (std::vector<std::string> { "Layout", "CreateControls", "Open", "Close" }));
    EXPECT_FALSE(GetImplicitWindow("Window1.Window1"));
    QApplication::sendPostedEvents();
    EXPECT_EQ(Object::liveInstances(), liveBefore() + 1) << "only the menu bar is left";
}

// Guards: Open without the field moving another control's focus or failing silently, or, raised during construction,
// the construction not failing or leaving a window behind.
TEST_F(Window1Test, OpenWithoutTheNumberFieldRaisesNilObjectAndMovesNoFocus)
{
    const Ref<Object> w = RuntimeNewObject(Window1::Lookup());
    const Ref<Object> other = testsupport::addControl(w, TextField::Lookup(), "Other");
    activate(*Window::from(*w).qtWindow());
    RectControl::SetFocus(*other);
    QApplication::processEvents();
    QWidget* before = QApplication::focusWidget();
    ASSERT_EQ(before, RectControl::from(*other).widget());
    EXPECT_THROW(Window1::Event_Open(*w), NilObjectException);
    EXPECT_EQ(QApplication::focusWidget(), before);

    ClassRecord noControls("Window1Test.NoControls", &Window1::Lookup());
    noControls.setEventHandler("CreateControls", makeCode<void(Object&)>([](Object&) {}));
    const Ref<Object> bare = RuntimeNewObject(noControls);
    EXPECT_THROW(bare->record().callSlot<void(Object&)>(Window::SlotConstructor, *bare), NilObjectException);
    EXPECT_FALSE(GetImplicitWindow("Window1Test.NoControls"));
}

}
