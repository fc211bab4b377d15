#include "SetProperties.h"

#include "AddControl.h"
#include "Control.h"
#include "MenuBar.h"
#include "OutOfBoundsException.h"
#include "PopupMenu.h"
#include "PropertySchema.h"
#include "PropertyStringException.h"
#include "PushButton.h"
#include "RectControl.h"
#include "StaticText.h"
#include "TextField.h"
#include "UnsupportedOperationException.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMainWindow>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace platform;

namespace {

using namespace std::string_literals;

PropertyEntry entry(std::string_view name, PropertyValue value)
{
    return PropertyEntry { name, {}, {}, std::move(value) };
}

String encoded(const std::vector<PropertyEntry>& entries)
{
    return PropertyString::encode(entries);
}

std::string describe(const PropertyValue& value)
{
    if (const auto* s = std::get_if<String>(&value))
        return '"' + s->toStdString() + '"';
    if (const auto* c = std::get_if<Color>(&value))
        return "colour " + std::to_string(c->red) + "," + std::to_string(c->green) + "," + std::to_string(c->blue);
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? "True" : "False";
    return std::to_string(std::get<std::int32_t>(value));
}

// A plain framework window with one control of each class, as a construction would leave it.
struct TestWindow {
    TestWindow()
        : window(RuntimeNewObject(Window::Lookup()))
    {
    }

    Ref<Object> add(const ClassRecord& record, const char* name) { return testsupport::addControl(window, record, name); }

    QWidget& widgetOf(const Ref<Object>& control) const { return *RectControl::from(*control).widget(); }
    QWidget& content() const { return *Window::from(*window).contentArea(); }

    Ref<Object> window;
};

// Every property of the target that can be read, by name; the ones never set are left out.
std::map<std::string, PropertyValue> snapshot(Object& target, std::string_view className)
{
    std::map<std::string, PropertyValue> values;
    for (const PropertyInfo& p : PropertySchema::forClass(className).entryNames()) {
        try {
            values.emplace(std::string(p.entryName), GetProperty(target, p.entryName));
        } catch (const RuntimeException&) {
        }
    }
    return values;
}

enum class Target { TextField, PopupMenu, Window };

struct BadCase {
    const char* label;
    Target target;
    std::string bytes;
    std::size_t entryNumber;
    const char* entryName; // as written; empty when it cannot be read
    std::size_t offset;
};

// "Left" 99 and "Title" "Changed", first in several strings below: the fault comes after an entry
// that would change something.
const std::string left99 = "Left \x00\x00\x00\x63"s;
const std::string titleChanged = "Title \x00\x00\x00\x07"s + "Changed";

const BadCase badCases[] = {
    { "UnknownName", Target::TextField, left99 + "Colour \x01\x02\x03"s, 2, "Colour", 9 },
    { "NameInOtherCase", Target::TextField, left99 + "left \x00\x00\x00\x01"s, 2, "left", 9 },
    { "NameWithoutSpace", Target::TextField, left99 + "Top", 2, "", 9 },
    { "Int32CutShort", Target::TextField, left99 + "Top \x00\x01"s, 2, "Top", 9 },
    { "ColorCutShort", Target::TextField, left99 + "TextColor \x01\x02"s, 2, "TextColor", 9 },
    { "StringCountCutShort", Target::TextField, left99 + "Text \x00\x00"s, 2, "Text", 9 },
    { "StringCountPastTheEnd", Target::TextField, left99 + "Text \x00\x00\x00\x32"s + "abc", 2, "Text", 9 },
    { "StringCountHuge", Target::TextField, left99 + "Text \xFF\xFF\xFF\xFF"s + "abc", 2, "Text", 9 },
    { "BooleanByteTwo", Target::TextField, left99 + "Visible \x02"s, 2, "Visible", 9 },
    { "BooleanByteFF", Target::TextField, left99 + "Enabled \xFF"s, 2, "Enabled", 9 },
    { "NegativeWidth", Target::TextField, left99 + "Width \xFF\xFF\xFF\xFF"s, 2, "Width", 9 },
    { "LeftBeyondAnyScreen", Target::TextField, "Left \x7F\xFF\xFF\xFF"s, 1, "Left", 0 },
    { "AlignmentUnknown", Target::TextField, left99 + "Alignment \x00\x00\x00\x04"s, 2, "Alignment", 9 },
    { "ListIndexPastTheItems", Target::PopupMenu, left99 + "ListIndex \x00\x00\x00\x04"s, 2, "ListIndex", 9 },
    { "ListIndexPastNewItems", Target::PopupMenu,
      "InitialValue \x00\x00\x00\x03"s + "a\rb" + "ListIndex \x00\x00\x00\x02"s, 2, "ListIndex", 20 },
    { "ListIndexBelowNone", Target::PopupMenu, left99 + "ListIndex \xFF\xFF\xFF\xFE"s, 2, "ListIndex", 9 },
    { "WindowBooleanByteTwo", Target::Window, titleChanged + "Visible \x02"s, 2, "Visible", 17 },
    { "WindowNegativeHeight", Target::Window, titleChanged + "Height \x80\x00\x00\x00"s, 2, "Height", 17 },
    { "WindowControlProperty", Target::Window, titleChanged + "Caption \x00\x00\x00\x00"s, 2, "Caption", 17 },
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.label;
}

class BadString : public ::testing::TestWithParam<BadCase> {};

// Guards: a bad string applied up to its fault (half a design on screen), an error that does not
// say which entry and where, or an error other than the framework's.
TEST_P(BadString, IsRefusedNamingTheEntryAndChangesNothing)
{
    const BadCase& c = GetParam();
    TestWindow w;
    Ref<Object> target;
    const char* className = "Window";
    switch (c.target) {
    case Target::TextField:
        target = w.add(TextField::Lookup(), "TextField1");
        className = "TextField";
        SetProperties(*target, encoded({ entry("Left", 5), entry("Top", 6), entry("Width", 40), entry("Height", 22),
                                         entry("Text", String("7")), entry("TextColor", Color { 1, 2, 3 }),
                                         entry("Visible", true), entry("Enabled", true) }));
        break;
    case Target::PopupMenu:
        target = w.add(PopupMenu::Lookup(), "PopupMenu1");
        className = "PopupMenu";
        SetProperties(*target, encoded({ entry("Left", 5), entry("InitialValue", String("a\rb\rc\rd")),
                                         entry("ListIndex", 3) }));
        break;
    case Target::Window:
        target = w.window;
        SetProperties(*target, encoded({ entry("Title", String("Before")), entry("Width", 300), entry("Height", 200),
                                         entry("Visible", false) }));
        break;
    }
    const auto before = snapshot(*target, className);
    ASSERT_GE(before.size(), 4u);
    try {
        SetProperties(*target, String(c.bytes));
        ADD_FAILURE() << "applied";
    } catch (const PropertyStringException& e) {
        EXPECT_EQ(e.entryNumber(), c.entryNumber) << e.what();
        EXPECT_EQ(e.entryName(), c.entryName) << e.what();
        EXPECT_EQ(e.offset(), c.offset) << e.what();
        EXPECT_NE(std::string(e.what()).find("at byte " + std::to_string(c.offset)), std::string::npos) << e.what();
    }
    EXPECT_EQ(snapshot(*target, className), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadString, ::testing::ValuesIn(badCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A value for every property that a string may set, in two variants that differ everywhere, and
// consistent with each other (the selected row exists, the size lies within the limits).
PropertyValue sample(const PropertyInfo& p, bool window, int variant)
{
    static const std::map<std::string_view, std::int32_t> controlInts {
        { "Left", 10 }, { "Top", 20 }, { "Width", 50 }, { "Height", 30 }, { "LimitText", 50 }, { "Alignment", 1 },
        { "TextAlign", 0 }, { "ListIndex", 0 },
    };
    static const std::map<std::string_view, std::int32_t> windowInts {
        { "Width", 300 }, { "Height", 200 }, { "MinWidth", 100 }, { "MinHeight", 90 }, { "MaxWidth", 900 },
        { "MaxHeight", 800 },
    };
    switch (p.type) {
    case PropertyType::Int32: {
        const auto& ints = window ? windowInts : controlInts;
        auto it = ints.find(p.name);
        return (it == ints.end() ? 7 : it->second) + variant;
    }
    case PropertyType::Boolean:
        return variant == 0;
    case PropertyType::Color:
        return variant == 0 ? Color { 1, 2, 3 } : Color { 200, 100, 50 };
    case PropertyType::String:
        if (p.name == "InitialValue")
            return String(variant == 0 ? "one\rtwo" : "three\rfour\rfive");
        if (p.name == "Mask")
            return String(variant == 0 ? "#" : "");
        if (p.name == "TextFont")
            return String(variant == 0 ? "Arial" : "Liberation Serif");
        return String(std::string(p.name) + " " + std::to_string(variant));
    }
    return {};
}

struct ClassCase {
    const char* className;
    const ClassRecord& (*lookup)(); // nullptr: the window itself
};

const ClassCase classCases[] = {
    { "PushButton", &PushButton::Lookup }, { "TextField", &TextField::Lookup }, { "StaticText", &StaticText::Lookup },
    { "PopupMenu", &PopupMenu::Lookup },   { "Window", nullptr },
};

void PrintTo(const ClassCase& c, std::ostream* os)
{
    *os << c.className;
}

class EveryDeclaredProperty : public ::testing::TestWithParam<ClassCase> {};

// Guards: a property that a class declares but the applier cannot set, or one that reads back
// other than written (an alignment or a flag mapped one way only, a colour channel swapped).
TEST_P(EveryDeclaredProperty, AppliesAndReadsBack)
{
    const ClassCase& c = GetParam();
    TestWindow w;
    const Ref<Object> target = c.lookup ? w.add(c.lookup(), "Control1") : w.window;
    const std::vector<PropertyInfo> properties = PropertySchema::forClass(c.className).entryNames();
    for (int variant = 0; variant < 2; ++variant) {
        std::vector<PropertyEntry> entries;
        for (const PropertyInfo& p : properties)
            entries.push_back(PropertyEntry { p.name, p.entryName, {}, sample(p, !c.lookup, variant) });
        ASSERT_NO_THROW(SetProperties(*target, encoded(entries))) << "variant " << variant;
        for (const PropertyEntry& e : entries) {
            const PropertyValue read = GetProperty(*target, e.entryName);
            EXPECT_EQ(read, e.value) << e.entryName << ", variant " << variant << ": wrote " << describe(e.value)
                                     << ", read " << describe(read);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Classes, EveryDeclaredProperty, ::testing::ValuesIn(classCases),
                         [](const auto& info) { return std::string(info.param.className); });

// Guards: a string applied to an object that takes none being read against some other schema.
TEST(SetProperties, RefusesAnObjectThatTakesNoPropertyStrings)
{
    const Ref<Object> menuBar = RuntimeNewObject(MenuBar::Lookup());
    EXPECT_THROW(SetProperties(*menuBar, encoded({ entry("Visible", true) })), UnsupportedOperationException);
    EXPECT_THROW(GetProperty(*menuBar, "Visible"), UnsupportedOperationException);
}

// Guards: the tab order following creation instead of TabIndex, or a label taking focus.
TEST(SetProperties, TabIndexOrdersTheFocusChain)
{
    TestWindow w;
    const Ref<Object> button = w.add(PushButton::Lookup(), "PushButton1");
    const Ref<Object> label = w.add(StaticText::Lookup(), "StaticText1");
    const Ref<Object> field = w.add(TextField::Lookup(), "TextField1");
    const Ref<Object> popup = w.add(PopupMenu::Lookup(), "PopupMenu1");
    SetProperties(*button, encoded({ entry("TabIndex", 3) }));
    SetProperties(*label, encoded({ entry("TabIndex", 0) }));
    SetProperties(*field, encoded({ entry("TabIndex", 2) }));
    SetProperties(*popup, encoded({ entry("TabIndex", 1) }));
    SetProperties(*w.window, encoded({ entry("Visible", true) }));
    QMainWindow& qt = *Window::from(*w.window).qtWindow();
    w.widgetOf(popup).setFocus();
    for (const Ref<Object>& next : { field, button, popup }) {
        QTest::keyClick(qt.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qt.focusWidget(), &w.widgetOf(next)) << Control::NameGet(*next).toStdString();
    }
}

// Guards: the widget of a control that is made for a window but never added outliving it there:
// shown in the window with nothing behind it, its signals reaching freed storage.
TEST(SetProperties, ControlNeverAddedTakesItsWidgetAlong)
{
    TestWindow w;
    {
        const Ref<Object> orphan = Window::New(*w.window, PushButton::Lookup());
        RectControl::Constructor(*orphan);
        EXPECT_EQ(w.content().findChildren<QWidget*>().size(), 1);
    }
    EXPECT_TRUE(w.content().findChildren<QWidget*>().isEmpty());
}

// Guards: the window's Width and Height taken as the frame's, so the menu bar eats into the area
// the controls are laid out in; hiding the menu bar leaving its height behind.
// Guards: a control added to a window already on screen staying hidden until something else shows it.
TEST(SetProperties, WindowSizeIsItsContentAreaAndControlsAddedOnScreenAreShown)
{
    TestWindow w;
    SetProperties(*w.window, encoded({ entry("Width", 320), entry("Height", 150), entry("Visible", true) }));
    EXPECT_EQ(w.content().size(), QSize(320, 150));
    ASSERT_TRUE(w.content().isVisible());
    const Ref<Object> button = w.add(PushButton::Lookup(), "PushButton1");
    EXPECT_TRUE(w.widgetOf(button).isVisible());
    SetProperties(*button, encoded({ entry("Visible", false) }));
    EXPECT_FALSE(w.widgetOf(button).isVisible());
    SetProperties(*w.window, encoded({ entry("MenuBarVisible", false), entry("Resizeable", false) }));
    EXPECT_EQ(w.content().size(), QSize(320, 150));
    QMainWindow& qt = *Window::from(*w.window).qtWindow();
    EXPECT_EQ(qt.minimumSize(), qt.maximumSize()) << "not resizeable";
}

struct SizeCase {
    const char* label;
    float size;
};

const SizeCase badSizes[] = {
    { "Negative", -1.0f },
    { "NotANumber", std::numeric_limits<float>::quiet_NaN() },
    { "Infinite", std::numeric_limits<float>::infinity() },
    { "BeyondAnyFont", 1e10f },
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.label;
}

class BadTextSize : public ::testing::TestWithParam<SizeCase> {};

// Guards: a size out of int's range rounded with undefined behaviour, or a bad size half applied.
TEST_P(BadTextSize, IsRefusedAndChangesNothing)
{
    TestWindow w;
    const Ref<Object> label = w.add(StaticText::Lookup(), "StaticText1");
    RectControl::TextSizeSet(*label, 0, 12.0f);
    EXPECT_THROW(RectControl::TextSizeSet(*label, 0, GetParam().size), OutOfBoundsException);
    EXPECT_EQ(RectControl::TextSizeGet(*label), 12.0f);
    EXPECT_EQ(QFontInfo(w.widgetOf(label).font()).pixelSize(), 12);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BadTextSize, ::testing::ValuesIn(badSizes),
                         [](const auto& info) { return std::string(info.param.label); });

// Guards: text size 0 keeping the last size instead of going back to the platform's, and a unit
// other than 0 silently taken as 0.
TEST(TextSize, ZeroIsThePlatformSizeAndOnlyUnitZeroIsTaken)
{
    TestWindow w;
    const Ref<Object> field = w.add(TextField::Lookup(), "TextField1");
    QWidget& widget = w.widgetOf(field);
    const int platformPixels = QFontInfo(QApplication::font(&widget)).pixelSize();
    RectControl::TextSizeSet(*field, 0, platformPixels + 9.0f);
    EXPECT_EQ(QFontInfo(widget.font()).pixelSize(), platformPixels + 9);
    RectControl::TextSizeSet(*field, 0, 0.0f);
    EXPECT_EQ(QFontInfo(widget.font()).pixelSize(), platformPixels);
    EXPECT_THROW(RectControl::TextUnitSet(*field, 0, 1), UnsupportedOperationException);
    EXPECT_EQ(RectControl::TextUnitGet(*field), 0);
}

}
