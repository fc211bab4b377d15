#include "PropertyStrings.h"
#include "SharedMenuBar.h"
#include "Window1.h"

#include "Control.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "MenuBar.h"
#include "PopupMenu.h"
#include "PrintDialog.h"
#include "PropertySchema.h"
#include "PropertyString.h"
#include "PushButton.h"
#include "RectControl.h"
#include "SetProperties.h"
#include "StaticText.h"
#include "TextField.h"
#include "Window.h"
#include "WindowSupport.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct ControlRow {
    const char* name;
    const ClassRecord& (*lookup)();
};

const ControlRow controlRows[] = {
    { "PushButton1", &PushButton::Lookup }, { "TextField1", &TextField::Lookup },
    { "StaticText1", &StaticText::Lookup }, { "StaticText2", &StaticText::Lookup },
    { "StaticText3", &StaticText::Lookup }, { "PopupMenu1", &PopupMenu::Lookup },
};

Ref<Object> s_menuBar;
int s_menuBarRequests = 0;

Ref<Object> testMenuBar()
{
    ++s_menuBarRequests;
    return s_menuBar;
}

// A Window1 of a record of its own, so that a test can replace one of its operations.
class ProbeRecord {
public:
    ProbeRecord()
        : m_record(RuntimeNewClass(&Window1::Lookup()))
    {
        m_record->setName("Window1Probe");
    }

    template<class Signature>
    void replace(std::size_t slot, std::function<Signature> code)
    {
        m_record->setSlot(slot, m_record->slot(slot).name, makeCode<Signature>(std::move(code)));
    }
    const Code& original(std::size_t slot) const { return Window1::Lookup().slot(slot).code; }
    const ClassRecord& record() const { return *m_record; }

private:
    std::unique_ptr<ClassRecord> m_record;
};

// A window made and constructed as start-up does it (unless told to leave constructing to the
// test), let go by the framework at the end.
class ConstructedWindow {
public:
    explicit ConstructedWindow(const ClassRecord& record = Window1::Lookup(), bool constructNow = true)
        : window(RuntimeNewObject(record))
    {
        if (constructNow)
            construct();
    }
    ~ConstructedWindow() { WindowSupport::unregisterWindow(*window); }

    void construct() { window->record().callSlot<void(Object&)>(Window::SlotConstructor, *window); }

    Window& storage() const { return Window::from(*window); }
    QMainWindow& qt() const { return *storage().qtWindow(); }
    Ref<Object> control(const char* name) const { return RuntimeWindowControlByName(window, name); }
    QWidget& widgetOf(const char* name) const { return *RectControl::from(*control(name)).widget(); }
    template<class W>
    W& widgetAs(const char* name) const
    {
        auto* w = qobject_cast<W*>(&widgetOf(name));
        if (!w)
            throw std::runtime_error(std::string(name) + " is not shown by the expected widget");
        return *w;
    }

    Ref<Object> window;
};

std::vector<PropertyEntry> entriesOf(const PropertyStrings::Constant& constant)
{
    return PropertyString::decode(String(constant.bytes), PropertySchema::forClass(constant.className));
}

const PropertyStrings::Constant& constantFor(std::string_view target)
{
    for (const auto& c : PropertyStrings::all()) {
        if (c.target == target)
            return c;
    }
    throw std::runtime_error("no property string for " + std::string(target));
}

std::int32_t intEntry(std::string_view target, std::string_view name)
{
    for (const PropertyEntry& e : entriesOf(constantFor(target))) {
        if (e.name == name)
            return e.asInt32();
    }
    throw std::runtime_error(std::string(target) + " has no " + std::string(name));
}

QRect designRect(const char* control)
{
    return QRect(intEntry(control, "Left"), intEntry(control, "Top"), intEntry(control, "Width"),
                 intEntry(control, "Height"));
}

class WindowConstruction : public testsupport::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        s_menuBar = RuntimeNewObject(MenuBar::Lookup());
        s_menuBarRequests = 0;
        Window1::setSharedMenuBarAccessor(&testMenuBar);
        // The Print action runs for real and meets a cancelled dialog.
        setPrintDialogHook([this](const Ref<Object>&, const Ref<Object>&) {
            ++dialogs;
            return Ref<Graphics>();
        });
    }

    void releaseHeld() override
    {
        setPrintDialogHook(nullptr);
        Window1::setSharedMenuBarAccessor(nullptr);
        s_menuBar = nullptr;
        EXPECT_FALSE(EventLoop::hasPendingException());
        EventLoop::takePendingException();
    }

    int dialogs = 0;
};

// Guards: a control missing, of the wrong class, under another name, out of creation order, without
// the text size and unit set by code, with a Name differing from its key, or a second handler; a
// position taken relative to the window frame or the menu bar rather than the content area; "Arial"
// on a machine without it falling back to some unrelated font of other metrics, which would push
// the labels' texts out of their boxes.
TEST_F(WindowConstruction, MakesTheSixControlsInOrderUnderTheirNamesInTheirPlaces)
{
    ConstructedWindow w;
    const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                                              : QStringLiteral("Liberation Sans");
    ASSERT_EQ(w.storage().controlCount(), std::size(controlRows));
    for (std::size_t i = 0; i < std::size(controlRows); ++i) {
        const ControlRow& row = controlRows[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(w.storage().controlNameAt(i), String(row.name));
        const Ref<Object> control = w.control(row.name);
        ASSERT_TRUE(control);
        EXPECT_EQ(control.get(), w.storage().controlAt(i).get());
        EXPECT_EQ(&control->record(), &row.lookup());
        EXPECT_EQ(Control::from(*control).window(), &w.storage());
        EXPECT_EQ(RectControl::TextSizeGet(*control), 12.0f);
        EXPECT_EQ(RectControl::TextUnitGet(*control), 0);
        EXPECT_EQ(Control::NameGet(*control), String(row.name));
        EXPECT_EQ(static_cast<bool>(Control::from(*control).eventHandler("Action")), i == 0);

        QWidget& widget = w.widgetOf(row.name);
        EXPECT_EQ(widget.parentWidget(), w.storage().contentArea());
        EXPECT_EQ(widget.geometry(), designRect(row.name));
        EXPECT_TRUE(widget.isVisible());
        EXPECT_TRUE(widget.isEnabled());
        const QFontInfo font(widget.font());
        EXPECT_EQ(font.pixelSize(), 12);
        EXPECT_EQ(font.family(), family);
        EXPECT_FALSE(font.bold());
        EXPECT_FALSE(font.italic());
    }
}

// Guards: Layout building a menu bar of its own instead of taking the application's shared one,
// or the window not keeping it once the caller has let go; a size limit or ability of the window
// not reaching Qt, the title lost.
TEST_F(WindowConstruction, WindowTakesTheSharedMenuBarItsTitleAndItsLimits)
{
    ConstructedWindow w;
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
    const Qt::WindowFlags flags = qt.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

class EveryPropertyReadsBack : public WindowConstruction,
                               public ::testing::WithParamInterface<PropertyStrings::Constant> {};

// Guards: a property of a string not applied, applied to another target, or read back as
// something else than was written (a flag inverted, a row counted from 1, a colour's channels
// swapped, a case-variant name reaching nothing).
TEST_P(EveryPropertyReadsBack, WithItsEntryValue)
{
    const PropertyStrings::Constant& constant = GetParam();
    ConstructedWindow w;
    const Ref<Object> target = constant.target == "Window1" ? w.window : w.control(std::string(constant.target).c_str());
    ASSERT_TRUE(target);
    for (const PropertyEntry& entry : entriesOf(constant))
        EXPECT_EQ(GetProperty(*target, entry.entryName), entry.value) << constant.target << "." << entry.entryName;
}

INSTANTIATE_TEST_SUITE_P(Strings, EveryPropertyReadsBack, ::testing::ValuesIn(PropertyStrings::all()),
                         [](const auto& info) { return std::string(info.param.target); });

// Guards: captions, texts, items or the selection not reaching what the user sees; the popup
// counting ListIndex from 1; the items split wrongly; a label's text left-aligned away from the
// control it names, or clipped; the description not wrapping or not fitting its box.
TEST_F(WindowConstruction, ControlsShowTheirTextsAndLabelsSitAgainstTheControlsTheyName)
{
    ConstructedWindow w;
    EXPECT_EQ(w.widgetAs<QPushButton>("PushButton1").text(), QStringLiteral("Print!"));
    EXPECT_EQ(w.widgetAs<QLabel>("StaticText1").text(), QStringLiteral("Enter The Practice Number:"));
    EXPECT_EQ(w.widgetAs<QLabel>("StaticText3").text(), QStringLiteral("Select The Operation:"));
    EXPECT_TRUE(w.widgetAs<QLabel>("StaticText2").text().contains(QStringLiteral("arithmetic.  Choose")));
    QComboBox& popup = w.widgetAs<QComboBox>("PopupMenu1");
    ASSERT_EQ(popup.count(), 4);
    const QStringList items { "Adding", "Subtracting", "Multiplying", "Dividing" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(popup.itemText(i), items[i]);
    EXPECT_EQ(popup.currentText(), QStringLiteral("Multiplying"));
    EXPECT_EQ(PopupMenu::TextGet(*w.control("PopupMenu1")), String("Multiplying"));
    EXPECT_TRUE(w.widgetAs<QLineEdit>("TextField1").text().isEmpty());

    struct Pair {
        const char* label;
        const char* control;
    };
    for (const Pair& p : { Pair { "StaticText1", "TextField1" }, Pair { "StaticText3", "PopupMenu1" } }) {
        QLabel& label = w.widgetAs<QLabel>(p.label);
        EXPECT_TRUE(label.alignment() & Qt::AlignRight) << p.label;
        EXPECT_EQ(label.geometry().right() + 7, w.widgetOf(p.control).geometry().left()) << p.label;
        EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()), label.contentsRect().width()) << p.label;
    }
    QLabel& description = w.widgetAs<QLabel>("StaticText2");
    EXPECT_TRUE(description.wordWrap());
    EXPECT_TRUE(description.alignment() & Qt::AlignLeft);
    EXPECT_TRUE(description.alignment() & Qt::AlignTop);
    EXPECT_LE(description.heightForWidth(description.width()), description.height());
}

// Guards: the mask "#" admitting letters, spaces or a second digit.
TEST_F(WindowConstruction, PracticeNumberFieldTakesOneDigit)
{
    ConstructedWindow w;
    QLineEdit& field = w.widgetAs<QLineEdit>("TextField1");
    QTest::keyClicks(&field, QStringLiteral("a5 7"));
    EXPECT_EQ(field.text(), QStringLiteral("5"));
    EXPECT_EQ(TextField::TextGet(*w.control("TextField1")), String("5"));
    field.clear();
    QTest::keyClicks(&field, QStringLiteral("x"));
    EXPECT_TRUE(field.text().isEmpty());
}

// Guards: Tab skipping a control or visiting them out of TabIndex order; the labels taking focus.
TEST_F(WindowConstruction, TabVisitsTheControlsInTabIndexOrder)
{
    ConstructedWindow w;
    QMainWindow& qt = w.qt();
    EXPECT_EQ(qt.focusWidget(), &w.widgetOf("TextField1")) << "the Open event's focus";
    const char* order[] = { "PopupMenu1", "PushButton1", "TextField1" };
    for (const char* next : order) {
        QTest::keyClick(qt.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qt.focusWidget(), &w.widgetOf(next)) << "expected " << next;
    }
}

struct PressCase {
    const char* name;
    const char* control; // the control the key goes to; nil for a mouse click on the button
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

const PressCase pressCases[] = {
    { "Mouse", nullptr, {}, {} },
    { "SpaceOnButton", "PushButton1", Qt::Key_Space, Qt::NoModifier },
    { "ReturnOnButton", "PushButton1", Qt::Key_Return, Qt::NoModifier },
    { "ReturnInField", "TextField1", Qt::Key_Return, Qt::NoModifier },
    { "ReturnOnPopup", "PopupMenu1", Qt::Key_Return, Qt::NoModifier },
    { "EnterInField", "TextField1", Qt::Key_Enter, Qt::KeypadModifier },
};

void PrintTo(const PressCase& c, std::ostream* os)
{
    *os << c.name;
}

void press(const ConstructedWindow& w, const PressCase& how)
{
    if (!how.control)
        return QTest::mouseClick(&w.widgetOf("PushButton1"), Qt::LeftButton);
    QWidget& target = w.widgetOf(how.control);
    target.setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(w.qt().focusWidget(), &target);
    QTest::keyClick(&target, how.key, how.modifiers);
}

class ButtonPress : public WindowConstruction, public ::testing::WithParamInterface<PressCase> {};

// Guards: a way of pressing "Print!" that does nothing (Return outside a dialog), or presses twice
// (Return on the focused default button taken by the button and again by the window), or a handler
// called with the window rather than the button.
TEST_P(ButtonPress, CallsTheInstalledHandlerOnceWithTheButton)
{
    ProbeRecord probe;
    std::vector<Object*> receivers;
    probe.replace<void(Object&)>(Window1::SlotPushButton1Action, [&](Object& receiver) {
        receivers.push_back(&receiver);
        probe.original(Window1::SlotPushButton1Action)->call<void(Object&)>("PushButton1_Action", receiver);
    });
    ConstructedWindow w(probe.record());
    press(w, GetParam());
    ASSERT_EQ(receivers.size(), 1u);
    EXPECT_EQ(receivers[0], w.control("PushButton1").get());
    EXPECT_EQ(dialogs, 1) << "the real Print action ran and met the dialog";
}

INSTANTIATE_TEST_SUITE_P(Ways, ButtonPress, ::testing::ValuesIn(pressCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards: Return pressing a default button that is disabled or hidden, or pressing a button that is
// no longer the default.
TEST_F(WindowConstruction, ReturnLeavesAButtonThatCannotBePressed)
{
    ConstructedWindow w;
    const Ref<Object> button = w.control("PushButton1");
    QWidget& field = w.widgetOf("TextField1");
    struct Step {
        const char* what;
        std::function<void()> change;
    };
    auto set = [&](std::vector<PropertyEntry> entries) { SetProperties(*button, PropertyString::encode(entries)); };
    const Step steps[] = {
        { "disabled", [&] { set({ { "Enabled", {}, {}, false } }); } },
        { "hidden", [&] { set({ { "Enabled", {}, {}, true }, { "Visible", {}, {}, false } }); } },
        { "no longer default", [&] { set({ { "Visible", {}, {}, true }, { "Default", {}, {}, false } }); } },
    };
    for (const Step& step : steps) {
        step.change();
        QTest::keyClick(&field, Qt::Key_Return);
        EXPECT_EQ(dialogs, 0) << step.what;
    }
}

class FailingControl : public WindowConstruction, public ::testing::WithParamInterface<int> {};

// Guards: a failure part way through the controls undoing the ones made before it, or going on to
// make the later ones; a reference leaked on the way out.
TEST_P(FailingControl, LeavesTheEarlierControlsAndMakesNoLaterOne)
{
    const int failing = GetParam();
    ProbeRecord probe;
    int creations = 0;
    using NewSig = Ref<Object>(Object&, const ClassRecord&);
    probe.replace<NewSig>(Window::SlotNew, [&](Object& window, const ClassRecord& record) {
        if (++creations == failing)
            throw RuntimeException("no room for another control");
        return probe.original(Window::SlotNew)->call<NewSig>("__New", window, record);
    });
    {
        ConstructedWindow w(probe.record(), false);
        EXPECT_THROW(w.construct(), RuntimeException);
        EXPECT_EQ(creations, failing);
        ASSERT_EQ(w.storage().controlCount(), static_cast<std::size_t>(failing - 1));
        for (int i = 0; i < 6; ++i) {
            const ControlRow& row = controlRows[i];
            const Ref<Object> control = w.control(row.name);
            if (i >= failing - 1) {
                EXPECT_FALSE(control) << row.name;
                continue;
            }
            ASSERT_TRUE(control) << row.name;
            EXPECT_EQ(RectControl::TextSizeGet(*control), 12.0f) << row.name;
            EXPECT_EQ(w.widgetOf(row.name).geometry(), designRect(row.name)) << row.name;
        }
        EXPECT_EQ(w.storage().contentArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
                  failing - 1)
            << "no widget of a control that was not made";
    }
}

INSTANTIATE_TEST_SUITE_P(AtEachControl, FailingControl, ::testing::Range(1, 7));

}
