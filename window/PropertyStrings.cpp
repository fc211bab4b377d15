#include "PropertyStrings.h"

#include "PropertyString.h"

#include <cstdint>
#include <limits>

namespace PropertyStrings {

namespace {

using platform::Color;
using platform::entryBoolean;
using platform::entryColor;
using platform::entryInt32;
using platform::entryString;
using platform::propertyBytes;
using platform::propertyBytesView;

constexpr Color black { 0x00, 0x00, 0x00 };
constexpr Color white { 0xFF, 0xFF, 0xFF };
constexpr std::int32_t noIndex = std::numeric_limits<std::int32_t>::min();

struct Bounds {
    std::int32_t left, top, width, height;
};

constexpr auto window1Bytes = propertyBytes(
    entryInt32("Placement", 0), entryInt32("Width", 455), entryInt32("Height", 181), entryInt32("MinWidth", 64),
    entryInt32("MinHeight", 64), entryInt32("MaxWidth", 32000), entryInt32("MaxHeight", 32000),
    entryInt32("Frame", 0), entryBoolean("Composite", false), entryBoolean("HasBackColor", false),
    entryColor("BackColor", white), entryString("Title", "Sumwise"), entryBoolean("Visible", true),
    entryBoolean("FullScreen", false), entryBoolean("MenuBarVisible", true), entryBoolean("CloseButton", true),
    entryBoolean("Resizeable", true), entryBoolean("LiveResize", true), entryBoolean("MaximizeButton", false),
    entryBoolean("MinimizeButton", true), entryInt32("MacProcID", 0));

// The twelve entries that every control's string begins with.
template<std::size_t L>
consteval auto controlHead(const char (&name)[L], Bounds bounds, std::int32_t tabIndex)
{
    return propertyBytes(entryString("Name", name), entryInt32("Index", noIndex), entryInt32("Left", bounds.left),
                         entryInt32("Top", bounds.top), entryInt32("Width", bounds.width),
                         entryInt32("Height", bounds.height), entryBoolean("LockLeft", false),
                         entryBoolean("LockTop", false), entryBoolean("LockRight", false),
                         entryBoolean("LockBottom", false), entryInt32("TabPanelIndex", 0),
                         entryInt32("TabIndex", tabIndex));
}

constexpr auto pushButton1Bytes = propertyBytes(
    controlHead("PushButton1", { 344, 141, 80, 20 }, 0), entryBoolean("TabStop", true),
    entryString("Caption", "Print!"), entryBoolean("Default", true), entryBoolean("Cancel", false),
    entryBoolean("Enabled", true), entryBoolean("Visible", true), entryString("HelpTag", ""),
    entryBoolean("AutoDeactivate", true), entryString("TextFont", "Arial"), entryBoolean("Bold", false),
    entryBoolean("Italic", false), entryBoolean("Underline", false), entryString("InitialParent", ""));

constexpr auto textField1Bytes = propertyBytes(
    controlHead("TextField1", { 365, 109, 38, 22 }, 1), entryBoolean("TabStop", true), entryBoolean("Border", true),
    entryBoolean("Password", false), entryBoolean("UseFocusRing", true), entryColor("TextColor", black),
    entryColor("BackColor", white), entryBoolean("Enabled", true), entryString("Format", ""),
    entryBoolean("Visible", true), entryString("HelpTag", ""), entryBoolean("AutoDeactivate", true),
    entryString("TextFont", "Arial"), entryBoolean("Bold", false), entryBoolean("Italic", false),
    entryBoolean("Underline", false), entryString("CueText", ""), entryString("Text", ""), entryString("Mask", "#"),
    entryBoolean("ReadOnly", false), entryInt32("LimitText", 0), entryBoolean("AcceptTabs", false),
    entryInt32("Alignment", 0), entryString("DataSource", ""), entryString("DataField", ""),
    entryString("InitialParent", ""));

// The three labels differ only in name, bounds, tab index, text, alignment and wrapping.
template<std::size_t L, std::size_t M>
consteval auto staticText(const char (&name)[L], Bounds bounds, std::int32_t tabIndex, const char (&text)[M],
                          std::int32_t textAlign, bool multiline)
{
    return propertyBytes(controlHead(name, bounds, tabIndex), entryString("Text", text),
                         entryInt32("TextAlign", textAlign), entryColor("TextColor", black),
                         entryBoolean("Multiline", multiline), entryBoolean("Enabled", true),
                         entryBoolean("Visible", true), entryString("HelpTag", ""),
                         entryBoolean("AutoDeactivate", true), entryString("TextFont", "Arial"),
                         entryBoolean("Bold", false), entryBoolean("Italic", false), entryBoolean("Underline", false),
                         entryString("DataSource", ""), entryString("DataField", ""),
                         entryString("InitialParent", ""));
}

constexpr auto staticText1Bytes
    = staticText("StaticText1", { 173, 109, 186, 20 }, 2, "Enter The Practice Number:", 2, false);

constexpr auto staticText2Bytes = staticText(
    "StaticText2", { 20, 8, 415, 57 }, 3,
    "Sumwise will print a single page of simple math problems to help with the basics of arithmetic.  Choose an "
    "operation from the selection, then put in the number to be included in each problem and press \"Print\".",
    0, true);

constexpr auto staticText3Bytes
    = staticText("StaticText3", { 142, 77, 186, 20 }, 4, "Select The Operation:", 2, false);

// The popup's items, one carriage return between two and none after the last.
constexpr auto popupMenu1Bytes = propertyBytes(
    controlHead("PopupMenu1", { 334, 77, 101, 20 }, 5), entryBoolean("TabStop", true), entryBoolean("Enabled", true),
    entryString("InitialValue", "Adding\rSubtracting\rMultiplying\rDividing"), entryInt32("ListIndex", 2),
    entryBoolean("Visible", true), entryString("HelpTag", ""), entryBoolean("AutoDeactivate", true),
    entryString("TextFont", "Arial"), entryBoolean("Bold", false), entryBoolean("Italic", false),
    entryBoolean("Underline", false), entryString("DataSource", ""), entryString("DataField", ""),
    entryString("InitialParent", ""));

static_assert(window1Bytes.size() == 274);
static_assert(pushButton1Bytes.size() == 292);
static_assert(textField1Bytes.size() == 435);
static_assert(staticText1Bytes.size() == 350);
static_assert(staticText2Bytes.size() == 533);
static_assert(staticText3Bytes.size() == 345);
static_assert(popupMenu1Bytes.size() == 355);

constexpr Constant constants[] = {
    { "Window1", "Window", propertyBytesView(window1Bytes) },
    { "PushButton1", "PushButton", propertyBytesView(pushButton1Bytes) },
    { "TextField1", "TextField", propertyBytesView(textField1Bytes) },
    { "StaticText1", "StaticText", propertyBytesView(staticText1Bytes) },
    { "StaticText2", "StaticText", propertyBytesView(staticText2Bytes) },
    { "StaticText3", "StaticText", propertyBytesView(staticText3Bytes) },
    { "PopupMenu1", "PopupMenu", propertyBytesView(popupMenu1Bytes) },
};

}

std::span<const Constant> all() noexcept
{
    return constants;
}

platform::String window1()
{
    return platform::String(propertyBytesView(window1Bytes));
}

platform::String pushButton1()
{
    return platform::String(propertyBytesView(pushButton1Bytes));
}

platform::String textField1()
{
    return platform::String(propertyBytesView(textField1Bytes));
}

platform::String staticText1()
{
    return platform::String(propertyBytesView(staticText1Bytes));
}

platform::String staticText2()
{
    return platform::String(propertyBytesView(staticText2Bytes));
}

platform::String staticText3()
{
    return platform::String(propertyBytesView(staticText3Bytes));
}

platform::String popupMenu1()
{
    return platform::String(propertyBytesView(popupMenu1Bytes));
}

}
