#include "PropertyStrings.h"

#include "PropertySchema.h"
#include "PropertyString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct Expected { std::string entryName; PropertyValue value; };
using Entries = std::vector<Expected>;

const Color black { 0, 0, 0 }, white { 0xFF, 0xFF, 0xFF };
Expected i32(const char* name, std::int32_t v) { return { name, v }; }
Expected b(const char* name, bool v) { return { name, v }; }
Expected c(const char* name, Color v) { return { name, v }; }
Expected s(const char* name, const std::string& v) { return { name, String(v) }; }

// The entries every control's string starts with; Index is the smallest Int32.
Entries controlHead(const char* name, int left, int top, int width, int height, int tabIndex)
{
    return { s("Name", name), i32("Index", INT32_MIN), i32("Left", left), i32("Top", top), i32("Width", width),
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

// Each string's entries: a control's head, then its own.
const struct { const char* target; String (*bytes)(); const char* className; std::size_t length; Entries head, tail; }
strings[] = {
    { "Window1", PropertyStrings::window1, "Window", 274, {},
      { i32("Placement", 0), i32("Width", 455), i32("Height", 181), i32("MinWidth", 64), i32("MinHeight", 64),
        i32("MaxWidth", 32000), i32("MaxHeight", 32000), i32("Frame", 0), b("Composite", false),
        b("HasBackColor", false), c("BackColor", white), s("Title", "Sumwise"), b("Visible", true),
        b("FullScreen", false), b("MenuBarVisible", true), b("CloseButton", true), b("Resizeable", true),
        b("LiveResize", true), b("MaximizeButton", false), b("MinimizeButton", true), i32("MacProcID", 0) } },
    { "PushButton1", PropertyStrings::pushButton1, "PushButton", 292, controlHead("PushButton1", 344, 141, 80, 20, 0),
      { b("TabStop", true), s("Caption", "Print!"), b("Default", true), b("Cancel", false), b("Enabled", true),
        b("Visible", true), s("HelpTag", ""), b("AutoDeactivate", true), s("TextFont", "Arial"), b("Bold", false),
        b("Italic", false), b("Underline", false), s("InitialParent", "") } },
    { "TextField1", PropertyStrings::textField1, "TextField", 435, controlHead("TextField1", 365, 109, 38, 22, 1),
      { b("TabStop", true), b("Border", true), b("Password", false), b("UseFocusRing", true), c("TextColor", black),
        c("BackColor", white), b("Enabled", true), s("Format", ""), b("Visible", true), s("HelpTag", ""),
        b("AutoDeactivate", true), s("TextFont", "Arial"), b("Bold", false), b("Italic", false), b("Underline", false),
        s("CueText", ""), s("Text", ""), s("Mask", "#"), b("ReadOnly", false), i32("LimitText", 0),
        b("AcceptTabs", false), i32("Alignment", 0), s("DataSource", ""), s("DataField", ""),
        s("InitialParent", "") } },
    { "StaticText1", PropertyStrings::staticText1, "StaticText", 350, controlHead("StaticText1", 173, 109, 186, 20, 2),
      staticTextTail("Enter The Practice Number:", 2, false) },
    { "StaticText2", PropertyStrings::staticText2, "StaticText", 533, controlHead("StaticText2", 20, 8, 415, 57, 3),
      staticTextTail(description, 0, true) },
    { "StaticText3", PropertyStrings::staticText3, "StaticText", 345, controlHead("StaticText3", 142, 77, 186, 20, 4),
      staticTextTail("Select The Operation:", 2, false) },
    { "PopupMenu1", PropertyStrings::popupMenu1, "PopupMenu", 355, controlHead("PopupMenu1", 334, 77, 101, 20, 5),
      { b("TabStop", true), b("Enabled", true), s("InitialValue", "Adding\rSubtracting\rMultiplying\rDividing"),
        i32("ListIndex", 2), b("Visible", true), s("HelpTag", ""), b("AutoDeactivate", true), s("TextFont", "Arial"),
        b("Bold", false), b("Italic", false), b("Underline", false), s("DataSource", ""), s("DataField", ""),
        s("InitialParent", "") } },
};

auto decoded(const auto& c) { return PropertyString::decode(c.bytes(), PropertySchema::forClass(c.className)); }

// Guards: a missing, extra, reordered or mistyped entry, or a value that differs from the design (a
// control's Index, the smallest Int32, read as an unsigned 2147483648 or negated on the way).
// Guards: the description's double space or its quotes lost by a tidying writer (its row's exact text).
// Guards: the popup getting one item with carriage returns inside, or an empty fifth item (likewise).
// Guards: the table of all seven drifting from the functions the window's construction calls.
// Guards: the two letter-case spellings not reaching their properties.
TEST(ProgramStrings, DecodeIntoExactlyTheirEntriesAndAreListed)
{
    const auto all = PropertyStrings::all();
    for (const auto& c : strings) {
        SCOPED_TRACE(c.target);
        const String bytes = c.bytes();
        EXPECT_EQ(bytes.size(), c.length);
        const auto entries = decoded(c);
        ASSERT_EQ(entries.size(), c.head.size() + c.tail.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const Expected& x = i < c.head.size() ? c.head[i] : c.tail[i - c.head.size()];
            EXPECT_EQ(entries[i].entryName, x.entryName) << "entry " << i + 1;
            EXPECT_EQ(entries[i].value, x.value) << "entry " << i + 1 << " " << x.entryName;
        }
        EXPECT_EQ(PropertyString::encode(entries), bytes);
        const auto it = std::ranges::find(all, std::string_view(c.target), &PropertyStrings::Constant::target);
        ASSERT_NE(it, all.end());
        EXPECT_EQ(it->className, c.className);
        EXPECT_EQ(it->bytes, bytes.bytes());
    }
    EXPECT_EQ(decoded(strings[0]).back().name, "MacProcId"); // Window1
    EXPECT_EQ(decoded(strings[4]).at(15).name, "MultiLine"); // StaticText2
    EXPECT_TRUE(decoded(strings[4]).at(15).asBoolean());
}

}
