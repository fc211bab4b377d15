#include "SetProperties.h"

#include "AddControl.h"
#include "Control.h"
#include "MenuBar.h"
#include "OutOfBoundsException.h"
#include "PopupMenu.h"
#include "PropertyStringException.h"
#include "PropertyTable.h"
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

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;
using namespace std::string_literals;

// For failure messages: a text as GoogleTest prints it inside a PropertyValue.
namespace platform { static void PrintTo(const String& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; } }

namespace {

using Entries = std::vector<PropertyEntry>;

PropertyEntry entry(std::string_view name, PropertyValue value) { return { name, {}, {}, value }; }

// Applies the entries to the target, which it gives back.
Ref<Object> set(const Ref<Object>& target, const Entries& entries)
{ SetProperties(*target, PropertyString::encode(entries)); return target; }

// lookup is nullptr for the window itself; before is a state that a bad string must leave as it is.
struct ClassCase { const char* className; const ClassRecord& (*lookup)(); Entries before; };

const ClassCase classes[] = {
    { "PushButton", &PushButton::Lookup, {} }, { "StaticText", &StaticText::Lookup, {} },
    { "TextField", &TextField::Lookup,
      { entry("Left", 5), entry("Top", 6), entry("Width", 40), entry("Height", 22), entry("Text", String("7")),
        entry("TextColor", Color { 1, 2, 3 }), entry("Visible", true), entry("Enabled", true) } },
    { "PopupMenu", &PopupMenu::Lookup,
      { entry("Left", 5), entry("InitialValue", String("a\rb\rc\rd")), entry("ListIndex", 3) } },
    { "Window", nullptr,
      { entry("Title", String("Before")), entry("Width", 300), entry("Height", 200), entry("Visible", false) } },
};

// A plain framework window, as a construction would leave it, with the controls added to it.
struct TestWindow {
    Ref<Object> window = RuntimeNewObject(Window::Lookup());
    Ref<Object> add(const ClassRecord& r, const char* name) { return testsupport::addControl(window, r, name); }
    Ref<Object> of(const ClassCase& c) { return c.lookup ? add(c.lookup(), c.className) : window; }
    QWidget& content() const { return *Window::from(*window).contentArea(); }
};

QWidget& widgetOf(const Ref<Object>& control) { return *RectControl::from(*control).widget(); }

// Every property of the target that can be read, by name; the ones never set are left out.
std::map<std::string_view, PropertyValue> snapshot(Object& target, std::string_view className)
{
    std::map<std::string_view, PropertyValue> values;
    for (const PropertyInfo& p : PropertySchema::forClass(className).entryNames())
        try { values.emplace(p.entryName, GetProperty(target, p.entryName)); } catch (const RuntimeException&) {}
    return values;
}

// "Left" 99 and "Title" "Changed", first in several strings below: the fault comes after an entry
// that would change something.
const std::string left99 = "Left \x00\x00\x00\x63"s, titleChanged = "Title \x00\x00\x00\x07"s + "Changed";
// entryName as written; empty when it cannot be read.
const struct { const char *label, *className; std::string bytes; std::size_t entryNumber; std::string entryName;
               std::size_t offset; } badCases[] = {
    { "UnknownName", "TextField", left99 + "Colour \x01\x02\x03"s, 2, "Colour", 9 },
    { "NameInOtherCase", "TextField", left99 + "left \x00\x00\x00\x01"s, 2, "left", 9 },
    { "NameWithoutSpace", "TextField", left99 + "Top", 2, "", 9 },
    { "Int32CutShort", "TextField", left99 + "Top \x00\x01"s, 2, "Top", 9 },
    { "ColorCutShort", "TextField", left99 + "TextColor \x01\x02"s, 2, "TextColor", 9 },
    { "StringCountCutShort", "TextField", left99 + "Text \x00\x00"s, 2, "Text", 9 },
    { "StringCountPastTheEnd", "TextField", left99 + "Text \x00\x00\x00\x32"s + "abc", 2, "Text", 9 },
    { "StringCountHuge", "TextField", left99 + "Text \xFF\xFF\xFF\xFF"s + "abc", 2, "Text", 9 },
    { "BooleanByteTwo", "TextField", left99 + "Visible \x02"s, 2, "Visible", 9 },
    { "BooleanByteFF", "TextField", left99 + "Enabled \xFF"s, 2, "Enabled", 9 },
    { "NegativeWidth", "TextField", left99 + "Width \xFF\xFF\xFF\xFF"s, 2, "Width", 9 },
    { "LeftBeyondAnyScreen", "TextField", "Left \x7F\xFF\xFF\xFF"s, 1, "Left", 0 },
    { "AlignmentUnknown", "TextField", left99 + "Alignment \x00\x00\x00\x04"s, 2, "Alignment", 9 },
    { "ListIndexPastTheItems", "PopupMenu", left99 + "ListIndex \x00\x00\x00\x04"s, 2, "ListIndex", 9 },
    { "ListIndexPastNewItems", "PopupMenu",
      "InitialValue \x00\x00\x00\x03"s + "a\rb" + "ListIndex \x00\x00\x00\x02"s, 2, "ListIndex", 20 },
    { "ListIndexBelowNone", "PopupMenu", left99 + "ListIndex \xFF\xFF\xFF\xFE"s, 2, "ListIndex", 9 },
    { "WindowBooleanByteTwo", "Window", titleChanged + "Visible \x02"s, 2, "Visible", 17 },
    { "WindowNegativeHeight", "Window", titleChanged + "Height \x80\x00\x00\x00"s, 2, "Height", 17 },
    { "WindowControlProperty", "Window", titleChanged + "Caption \x00\x00\x00\x00"s, 2, "Caption", 17 },
};

// Guards: a bad string applied up to its fault (half a design on screen), an error that does not
// say which entry and where, or an error other than the framework's.
TEST(SetProperties, BadStringIsRefusedNamingTheEntryAndChangesNothing)
{
    for (const auto& c : badCases) {
        SCOPED_TRACE(c.label);
        const ClassCase& cls = *std::ranges::find(classes, std::string_view(c.className), &ClassCase::className);
        TestWindow w;
        const Ref<Object> target = set(w.of(cls), cls.before);
        const auto before = snapshot(*target, cls.className);
        ASSERT_GE(before.size(), 4u);
        try {
            SetProperties(*target, String(c.bytes));
            ADD_FAILURE() << "applied";
        } catch (const PropertyStringException& e) {
            EXPECT_EQ(std::make_tuple(e.entryNumber(), e.entryName(), e.offset()),
                      std::make_tuple(c.entryNumber, c.entryName, c.offset)) << e.what();
            EXPECT_NE(std::string(e.what()).find("at byte " + std::to_string(c.offset)), std::string::npos) << e.what();
        }
        EXPECT_EQ(snapshot(*target, cls.className), before);
    }
}

// A value for every property that a string may set, in two variants that differ everywhere, and
// consistent with each other (the selected row exists, the size lies within the limits).
PropertyValue sample(const PropertyInfo& p, bool window, int variant)
{
    static const std::map<std::string_view, std::int32_t> controlInts { { "Left", 10 }, { "Top", 20 }, { "Width", 50 },
        { "Height", 30 }, { "LimitText", 50 }, { "Alignment", 1 }, { "TextAlign", 0 }, { "ListIndex", 0 } };
    static const std::map<std::string_view, std::int32_t> windowInts { { "Width", 300 }, { "Height", 200 },
        { "MinWidth", 100 }, { "MinHeight", 90 }, { "MaxWidth", 900 }, { "MaxHeight", 800 } };
    static const std::map<std::string_view, std::array<std::string, 2>> texts { { "InitialValue", { "one\rtwo",
        "three\rfour\rfive" } }, { "Mask", { "#", "" } }, { "TextFont", { "Arial", "Liberation Serif" } } };
    const auto& ints = window ? windowInts : controlInts;
    switch (p.type) {
    case PropertyType::Int32: return (ints.contains(p.name) ? ints.at(p.name) : 7) + variant;
    case PropertyType::Boolean: return variant == 0;
    case PropertyType::Color: return variant == 0 ? Color { 1, 2, 3 } : Color { 200, 100, 50 };
    case PropertyType::String: break;
    }
    return String(texts.contains(p.name) ? texts.at(p.name)[variant] : std::string(p.name) + " " + std::to_string(variant));
}

// Guards: a property that a class declares but the applier cannot set, or one that reads back
// other than written (an alignment or a flag mapped one way only, a colour channel swapped).
// Guards: a string applied to an object that takes none being read against some other schema.
TEST(SetProperties, EveryDeclaredPropertyAppliesAndReadsBackAndAnObjectWithoutAnyIsRefused)
{
    for (const ClassCase& c : classes) {
        TestWindow w;
        const Ref<Object> target = w.of(c);
        for (int variant = 0; variant < 2; ++variant) {
            SCOPED_TRACE(c.className + ", variant "s + std::to_string(variant));
            Entries entries;
            for (const PropertyInfo& p : PropertySchema::forClass(c.className).entryNames())
                entries.push_back({ p.name, p.entryName, {}, sample(p, !c.lookup, variant) });
            ASSERT_NO_THROW(set(target, entries));
            for (const PropertyEntry& e : entries)
                EXPECT_EQ(GetProperty(*target, e.entryName), e.value) << e.entryName;
        }
    }
    const Ref<Object> menuBar = RuntimeNewObject(MenuBar::Lookup());
    EXPECT_THROW(set(menuBar, { entry("Visible", true) }), UnsupportedOperationException);
    EXPECT_THROW(GetProperty(*menuBar, "Visible"), UnsupportedOperationException);
}

// Guards: the widget of a control that is made for a window but never added outliving it there:
// shown in the window with nothing behind it, its signals reaching freed storage.
// Guards: the tab order following creation instead of TabIndex, or a label taking focus.
// Guards: the window's Width and Height taken as the frame's, so the menu bar eats into the area
// the controls are laid out in; hiding the menu bar leaving its height behind.
// Guards: a control added to a window already on screen staying hidden until something else shows it.
TEST(SetProperties, WindowOnScreenHoldsItsControlsInTabOrderWithinItsContentArea)
{
    TestWindow w;
    {
        const Ref<Object> orphan = Window::New(*w.window, PushButton::Lookup());
        RectControl::Constructor(*orphan);
        EXPECT_EQ(w.content().findChildren<QWidget*>().size(), 1);
    }
    EXPECT_TRUE(w.content().findChildren<QWidget*>().isEmpty());
    const Ref<Object> button = set(w.add(PushButton::Lookup(), "PushButton1"), { entry("TabIndex", 3) });
    set(w.add(StaticText::Lookup(), "StaticText1"), { entry("TabIndex", 0) });
    const Ref<Object> field = set(w.add(TextField::Lookup(), "TextField1"), { entry("TabIndex", 2) });
    const Ref<Object> popup = set(w.add(PopupMenu::Lookup(), "PopupMenu1"), { entry("TabIndex", 1) });
    set(w.window, { entry("Width", 320), entry("Height", 150), entry("Visible", true) });
    EXPECT_EQ(w.content().size(), QSize(320, 150));
    ASSERT_TRUE(w.content().isVisible());
    QMainWindow& qt = *Window::from(*w.window).qtWindow();
    widgetOf(popup).setFocus();
    for (const Ref<Object>& next : { field, button, popup }) {
        QTest::keyClick(qt.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qt.focusWidget(), &widgetOf(next)) << Control::NameGet(*next).toStdString();
    }
    const Ref<Object> late = w.add(PushButton::Lookup(), "PushButton2");
    EXPECT_TRUE(widgetOf(late).isVisible());
    set(late, { entry("Visible", false) });
    EXPECT_FALSE(widgetOf(late).isVisible());
    set(w.window, { entry("MenuBarVisible", false), entry("Resizeable", false) });
    EXPECT_EQ(w.content().size(), QSize(320, 150));
    EXPECT_EQ(qt.minimumSize(), qt.maximumSize()) << "not resizeable";
}

// Guards: a size out of int's range rounded with undefined behaviour, or a bad size half applied.
// Guards: text size 0 keeping the last size instead of going back to the platform's, and a unit
// other than 0 silently taken as 0.
TEST(TextSize, BadSizesAreRefusedZeroIsThePlatformSizeAndOnlyUnitZeroIsTaken)
{
    TestWindow w;
    const Ref<Object> field = w.add(TextField::Lookup(), "TextField1");
    const auto pixels = [&] { return QFontInfo(widgetOf(field).font()).pixelSize(); };
    RectControl::TextSizeSet(*field, 0, 12.0f);
    for (float bad : { -1.0f, NAN, INFINITY, 1e10f }) {
        EXPECT_THROW(RectControl::TextSizeSet(*field, 0, bad), OutOfBoundsException) << bad;
        EXPECT_EQ(std::pair(RectControl::TextSizeGet(*field), pixels()), std::pair(12.0f, 12)) << "(size, pixels)";
    }
    const int platformPixels = QFontInfo(QApplication::font(&widgetOf(field))).pixelSize();
    RectControl::TextSizeSet(*field, 0, platformPixels + 9.0f);
    EXPECT_EQ(pixels(), platformPixels + 9);
    RectControl::TextSizeSet(*field, 0, 0.0f);
    EXPECT_EQ(pixels(), platformPixels);
    EXPECT_THROW(RectControl::TextUnitSet(*field, 0, 1), UnsupportedOperationException);
    EXPECT_EQ(RectControl::TextUnitGet(*field), 0);
}

// A class's table checked against a small schema of its own: Derived (Count, Shown alias "shown") on Base (Caption).
constexpr PropertySchema::Declared baseDeclared[] = { { "Caption", PropertyType::String } };
constexpr PropertySchema baseSchema("Base", nullptr, baseDeclared);
constexpr PropertySchema::Declared derivedDeclared[] = { { "Count", PropertyType::Int32 },
                                                         { "Shown", PropertyType::Boolean, "shown" } };
constexpr PropertySchema derivedSchema("Derived", &baseSchema, derivedDeclared);
constexpr PropertyRange small { 0, 9 };
void setCount(Object&, std::int32_t, std::int32_t) {}
std::int32_t count(Object&) { return 0; }
void setShown(Object&, std::int32_t, bool) {}
bool shown(Object&) { return false; }
template<class... A> PropertyRow kept(std::string_view name, A... a) { return PropertyRow::kept(name, a...); }

PropertyTable table(std::initializer_list<PropertyRow> rows, bool onBase = true)
{
    static const PropertyTable base(baseSchema, nullptr, { kept("Caption") });
    return PropertyTable(derivedSchema, onBase ? &base : nullptr, rows);
}

// named: the property the refusal names; empty when the rows are sound.
const struct { const char* label; PropertyTable (*make)(); const char* named; } rowsCases[] = {
    { "Sound", [] { return table({ { "Count", small, setCount, count }, { "Shown", setShown, shown } }); }, "" },
    { "Unbound", [] { return table({ { "Count", setCount, count } }); }, "Shown" },
    { "BoundTwice", [] { return table({ kept("Count"), { "Count", setCount, count }, kept("Shown") }); }, "Count" },
    { "BoundByAlias", [] { return table({ kept("Count"), kept("shown") }); }, "Shown" },
    { "Undeclared", [] { return table({ kept("Count"), kept("Shown"), kept("Colour") }); }, "Colour" },
    { "InheritedBoundAgain", [] { return table({ kept("Count"), kept("Shown"), kept("Caption") }); }, "Caption" },
    { "AccessorsOfAnotherType", [] { return table({ kept("Count"), { "Shown", setCount, count } }); }, "Shown" },
    { "KeptWithGetterOfAnotherType", [] { return table({ kept("Count"), kept("Shown", setShown, count) }); }, "Shown" },
    { "RangeOnABoolean", [] { return table({ kept("Count"), kept("Shown", small, setShown) }); }, "Shown" },
    { "ParentNotTheSchemas", [] { return table({ kept("Count"), kept("Shown") }, false); }, "parent" },
};

// Guards: a class whose rows drift from what its strings may name (a property a string can hold
// that nothing applies, one applied twice or as another type, a range the applier would read from a
// Boolean) being accepted until a string happens to meet it.
TEST(PropertyTable, RowsAreCheckedAgainstTheSchemaWhenTheTableIsBuilt)
{
    for (const auto& c : rowsCases) {
        SCOPED_TRACE(c.label);
        std::optional<std::string> refusal;
        try { c.make(); } catch (const RuntimeException& e) { refusal = e.what(); }
        EXPECT_TRUE(*c.named ? refusal && refusal->find(c.named) != std::string::npos : !refusal)
            << refusal.value_or("accepted");
    }
}

}
