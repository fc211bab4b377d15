#include "PropertyStrings.h"

#include "PropertySchema.h"
#include "PropertyString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct Expected {
    std::string entryName;
    PropertyValue value;
};

using Entries = std::vector<Expected>;

constexpr std::int32_t smallest = std::numeric_limits<std::int32_t>::min();
const Color black { 0, 0, 0 };
const Color white { 0xFF, 0xFF, 0xFF };

Expected i32(const char* name, std::int32_t v) { return { name, v }; }
Expected b(const char* name, bool v) { return { name, v }; }
Expected c(const char* name, Color v) { return { name, v }; }
Expected s(const char* name, const std::string& v) { return { name, String(v) }; }

Entries joined(Entries head, const Entries& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

Entries controlHead(const char* name, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                    std::int32_t tabIndex)
{
    return { s("Name", name), i32("Index", smallest), i32("Left", left), i32("Top", top), i32("Width", width),
             i32("Height", height), b("LockLeft", false), b("LockTop", false), b("LockRight", false),
             b("LockBottom", false), i32("TabPanelIndex", 0), i32("TabIndex", tabIndex) };
}

Entries staticTextTail(const std::string& text, std::int32_t align, bool multiline)
{
    return { s("Text", text), i32("TextAlign", align), c("TextColor", black), b("Multiline", multiline),
             b("Enabled", true), b("Visible", true), s("HelpTag", ""), b("AutoDeactivate", true),
             s("TextFont", "Arial"), b("Bold", false), b("Italic", false), b("Underline", false),
             s("DataSource", ""), s("DataField", ""), s("InitialParent", "") };
}

const std::string description = "Sumwise will print a single page of simple math problems to help with the basics of "
                                "arithmetic.  Choose an operation from the selection, then put in the number to be "
                                "included in each problem and press \"Print\".";

struct StringCase {
    const char* target;
    String (*bytes)();
    const char* className;
    std::size_t length;
    Entries entries;
};

const StringCase strings[] = {
    { "Window1", PropertyStrings::window1, "Window", 274,
      { i32("Placement", 0), i32("Width", 455), i32("Height", 181), i32("MinWidth", 64), i32("MinHeight", 64),
        i32("MaxWidth", 32000), i32("MaxHeight", 32000), i32("Frame", 0), b("Composite", false),
        b("HasBackColor", false), c("BackColor", white), s("Title", "Sumwise"), b("Visible", true),
        b("FullScreen", false), b("MenuBarVisible", true), b("CloseButton", true), b("Resizeable", true),
        b("LiveResize", true), b("MaximizeButton", false), b("MinimizeButton", true), i32("MacProcID", 0) } },
    { "PushButton1", PropertyStrings::pushButton1, "PushButton", 292,
      joined(controlHead("PushButton1", 344, 141, 80, 20, 0),
             { b("TabStop", true), s("Caption", "Print!"), b("Default", true), b("Cancel", false), b("Enabled", true),
               b("Visible", true), s("HelpTag", ""), b("AutoDeactivate", true), s("TextFont", "Arial"),
               b("Bold", false), b("Italic", false), b("Underline", false), s("InitialParent", "") }) },
    { "TextField1", PropertyStrings::textField1, "TextField", 435,
      joined(controlHead("TextField1", 365, 109, 38, 22, 1),
             { b("TabStop", true), b("Border", true), b("Password", false), b("UseFocusRing", true),
               c("TextColor", black), c("BackColor", white), b("Enabled", true), s("Format", ""), b("Visible", true),
               s("HelpTag", ""), b("AutoDeactivate", true), s("TextFont", "Arial"), b("Bold", false),
               b("Italic", false), b("Underline", false), s("CueText", ""), s("Text", ""), s("Mask", "#"),
               b("ReadOnly", false), i32("LimitText", 0), b("AcceptTabs", false), i32("Alignment", 0),
               s("DataSource", ""), s("DataField", ""), s("InitialParent", "") }) },
    { "StaticText1", PropertyStrings::staticText1, "StaticText", 350,
      joined(controlHead("StaticText1", 173, 109, 186, 20, 2), staticTextTail("Enter The Practice Number:", 2, false)) },
    { "StaticText2", PropertyStrings::staticText2, "StaticText", 533,
      joined(controlHead("StaticText2", 20, 8, 415, 57, 3), staticTextTail(description, 0, true)) },
    { "StaticText3", PropertyStrings::staticText3, "StaticText", 345,
      joined(controlHead("StaticText3", 142, 77, 186, 20, 4), staticTextTail("Select The Operation:", 2, false)) },
    { "PopupMenu1", PropertyStrings::popupMenu1, "PopupMenu", 355,
      joined(controlHead("PopupMenu1", 334, 77, 101, 20, 5),
             { b("TabStop", true), b("Enabled", true), s("InitialValue", "Adding\rSubtracting\rMultiplying\rDividing"),
               i32("ListIndex", 2), b("Visible", true), s("HelpTag", ""), b("AutoDeactivate", true),
               s("TextFont", "Arial"), b("Bold", false), b("Italic", false), b("Underline", false),
               s("DataSource", ""), s("DataField", ""), s("InitialParent", "") }) },
};

const StringCase& stringOf(std::string_view target)
{
    return *std::find_if(std::begin(strings), std::end(strings), [&](const auto& c) { return c.target == target; });
}

std::vector<PropertyEntry> decoded(const StringCase& c)
{
    return PropertyString::decode(c.bytes(), PropertySchema::forClass(c.className));
}

class ProgramString : public ::testing::TestWithParam<StringCase> {};

// Guards: a missing, extra, reordered or mistyped entry, or a value that differs from the design.
// Guards: the description's double space or its quotes lost by a tidying writer (its row's exact text).
// Guards: the popup getting one item with carriage returns inside, or an empty fifth item (likewise).
// Guards: the table of all seven drifting from the functions the window's construction calls.
TEST_P(ProgramString, DecodesIntoExactlyItsEntriesAndIsListed)
{
    const StringCase& c = GetParam();
    const String bytes = c.bytes();
    EXPECT_EQ(bytes.size(), c.length);
    const auto entries = decoded(c);
    ASSERT_EQ(entries.size(), c.entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].entryName, c.entries[i].entryName) << "entry " << i + 1;
        EXPECT_EQ(entries[i].value, c.entries[i].value) << "entry " << i + 1 << " " << c.entries[i].entryName;
    }
    EXPECT_EQ(PropertyString::encode(entries), bytes);

    const auto all = PropertyStrings::all();
    const auto it = std::find_if(all.begin(), all.end(), [&](const auto& k) { return k.target == c.target; });
    ASSERT_NE(it, all.end());
    EXPECT_EQ(it->className, c.className);
    EXPECT_EQ(it->bytes, bytes.bytes());
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramString, ::testing::ValuesIn(strings),
                         [](const auto& info) { return std::string(info.param.target); });

// Guards: the smallest Int32 read as an unsigned 2147483648 or negated on the way.
TEST(ProgramStrings, EveryControlIndexIsTheSmallestInt32)
{
    for (const StringCase& c : strings) {
        if (std::string_view(c.className) == "Window")
            continue;
        const auto entries = decoded(c);
        EXPECT_EQ(entries.at(1).name, "Index");
        EXPECT_EQ(entries.at(1).asInt32(), -2147483647 - 1) << c.target;
    }
}

// Guards: the two letter-case spellings not reaching their properties.
TEST(ProgramStrings, CaseVariantNamesReachTheirProperties)
{
    EXPECT_EQ(decoded(stringOf("Window1")).back().name, "MacProcId");
    const PropertyEntry multiline = decoded(stringOf("StaticText2")).at(15);
    EXPECT_EQ(multiline.name, "MultiLine");
    EXPECT_TRUE(multiline.asBoolean());
}

}
