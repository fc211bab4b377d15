#include "PropertySchema.h"
#include "PropertyString.h"
#include "PropertyStringException.h"
#include "UnsupportedOperationException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;
using namespace std::string_literals;

namespace {

std::vector<PropertyEntry> decode(const std::string& bytes, std::string_view className)
{ return PropertyString::decode(String(bytes), PropertySchema::forClass(className)); }

// The bytes the compile-time entry helpers build.
std::string compiled(const auto& entry) { return std::string(propertyBytesView(entry)); }

// Guards: host byte order, a wrong count width or a sign lost in either direction.
// Guards: text values losing zero bytes or their encoding tag, and offsets counted wrongly.
// Guards: an empty string (nil) taken as an error or as one empty entry.
// Guards: an applier reading a value as the wrong type getting a bad_variant_access or garbage.
// Guards: the writer producing a string that no reader can step through.
TEST(PropertyString, ExamplesBuildAndReadTheExactBytesAndEntriesKeepTheirBytesOffsetsAndType)
{
    constexpr Color white { 0xFF, 0xFF, 0xFF };
    const struct { std::string encoded, expected; const char* className; PropertyValue value; } examples[] = {
        { compiled(entryInt32("Width", 455)), "Width \x00\x00\x01\xC7"s, "PushButton", std::int32_t { 455 } },
        { compiled(entryInt32("Index", INT32_MIN)), "Index \x80\x00\x00\x00"s, "StaticText", INT32_MIN },
        { compiled(entryBoolean("Default", true)), "Default \x01"s, "PushButton", true },
        { compiled(entryColor("BackColor", white)), "BackColor \xFF\xFF\xFF"s, "Window", white },
        { compiled(entryString("Caption", "Print!")), "Caption \x00\x00\x00\x06Print!"s, "PushButton", String("Print!") },
        { compiled(entryString("HelpTag", "")), "HelpTag \x00\x00\x00\x00"s, "TextField", String() },
    };
    for (const auto& c : examples) {
        const std::string_view name = std::string_view(c.expected).substr(0, c.expected.find(' ')); // as built
        SCOPED_TRACE(name);
        EXPECT_EQ(c.encoded, c.expected);
        const auto entries = decode(c.expected, c.className);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(std::tie(entries[0].name, entries[0].value, entries[0].offset), std::tuple(name, c.value, 0u));
        EXPECT_EQ(std::string(PropertyString::encode(entries).bytes()), c.expected);
    }
    EXPECT_TRUE(PropertyString::decode(String(), PropertySchema::forClass("Window")).empty());
    constexpr auto bytes = propertyBytes(entryString("Text", "a\0b"), entryBoolean("Multiline", true),
                                         entryString("HelpTag", ""), entryInt32("Top", -1));
    const auto entries = PropertyString::decode(String::ascii(propertyBytesView(bytes)),
                                                PropertySchema::forClass("StaticText"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].asString().bytes(), "a\0b"s);
    EXPECT_EQ(entries[0].asString().encoding(), TextEncoding::ASCII);
    EXPECT_EQ(std::tie(entries[1].name, entries[1].entryName), std::tuple("MultiLine", "Multiline"));
    EXPECT_TRUE(entries[2].asString().isEmpty());
    EXPECT_EQ(entries[3].asInt32(), -1);
    EXPECT_EQ((std::array { entries[0].offset, entries[1].offset, entries[2].offset, entries[3].offset }),
              (std::array<std::size_t, 4> { 0, 12, 23, 35 }));
    EXPECT_THROW(entries[3].asBoolean(), PropertyStringException);
    EXPECT_THROW(entries[3].asString(), PropertyStringException);
    EXPECT_THROW(entries[3].asColor(), PropertyStringException);
    for (const char* name : { "", "Help Tag" }) // names no reader could step over
        EXPECT_THROW(PropertyString::encode(std::vector<PropertyEntry> { { name, name, "", true, 0 } }),
                     PropertyStringException) << name;
}

const std::string width455 = "Width \x00\x00\x01\xC7"s, visibleTrue = "Visible \x01"s;

// entryName is empty when the name cannot be read.
const struct { const char *label, *className; std::string bytes; std::size_t entryNumber; std::string entryName;
               std::size_t offset; const char* complaint; } malformed[] = {
    { "NameRunsToTheEnd", "PushButton", "Width", 1, "", 0, "no following space" },
    { "SecondNameRunsToTheEnd", "PushButton", width455 + "Heig", 2, "", 10, "no following space" },
    { "EmptyName", "PushButton", " \x01", 1, "", 0, "empty name" },
    { "UnknownName", "PushButton", visibleTrue + "Colour \x01", 2, "Colour", 9, "PushButton has no property" },
    { "NameOfAnotherClass", "StaticText", "Caption \x00\x00\x00\x00"s, 1, "Caption", 0, "StaticText has no property" },
    { "NameOfAChildClass", "TextEdit", "Password \x00"s, 1, "Password", 0, "TextEdit has no property" },
    { "ControlNameOnWindow", "Window", "Name \x00\x00\x00\x00"s, 1, "Name", 0, "Window has no property" },
    { "LetterCaseDiffers", "PushButton", "width \x00\x00\x01\xC7"s, 1, "width", 0, "has no property" },
    { "AliasOfAnotherClass", "PushButton", "Multiline \x00"s, 1, "Multiline", 0, "has no property" },
    { "WindowAliasOnControl", "StaticText", "MacProcID \x00\x00\x00\x00"s, 1, "MacProcID", 0, "has no property" },
    { "ZeroByteInName", "PushButton", "Wid\0th \x01"s, 1, "Wid\0th"s, 0, "'Wid\\x00th'" },
    { "Int32CutShort", "PushButton", visibleTrue + "Width \x00\x00\x01"s, 2, "Width", 9, "Int32 value cut short" },
    { "Int32Missing", "PushButton", "Width ", 1, "Width", 0, "needs 4 bytes, 0 left" },
    { "BooleanMissing", "PushButton", width455 + "Visible ", 2, "Visible", 10, "Boolean value cut short" },
    { "ColorCutShort", "Window", "BackColor \xFF\xFF", 1, "BackColor", 0, "Color value cut short" },
    { "StringCountCutShort", "PushButton", "Caption \x00\x00\x06"s, 1, "Caption", 0, "String count cut short" },
    { "StringCountPastEnd", "PushButton", "Caption \x00\x00\x00\x07Print!"s, 1, "Caption", 0,
      "String count 7 at byte 8 runs past the end: 6 bytes follow" },
    { "StringCountAtLimit", "PushButton", width455 + "Caption \xFF\xFF\xFF\xFFPrint!"s, 2, "Caption", 10,
      "String count 4294967295" },
    { "StringCountSwallowsNextEntry", "PushButton", "HelpTag \x00\x00\x00\x0E"s + visibleTrue, 1, "HelpTag", 0,
      "runs past the end" },
    { "BooleanTwo", "PushButton", "Default \x02", 1, "Default", 0, "Boolean byte 0x02 at byte 8" },
    { "BooleanAllBits", "PushButton", width455 + visibleTrue + "Default \xFF", 3, "Default", 19, "Boolean byte 0xFF" },
};

// Guards: a bad string read past its end, silently cut short, or reported at the wrong entry.
TEST(PropertyString, MalformedIsRefusedNamingTheEntryAndItsOffset)
{
    for (const auto& c : malformed) {
        SCOPED_TRACE(c.label);
        try { // decode throws before the failure is recorded
            ADD_FAILURE() << "decoded " << decode(c.bytes, c.className).size() << " entries from a bad string";
        } catch (const PropertyStringException& e) {
            EXPECT_EQ(std::make_tuple(e.entryNumber(), e.entryName(), e.offset()),
                      std::make_tuple(c.entryNumber, c.entryName, c.offset));
            for (const std::string& part : { "entry " + std::to_string(c.entryNumber) + " ",
                                             "at byte " + std::to_string(c.offset) + ":", std::string(c.complaint) })
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
            EXPECT_STREQ(e.kind(), "PropertyStringException");
        }
    }
}

// Guards: writer and reader disagreeing on any type, value or name spelling.
TEST(PropertyString, RandomEntriesOfEveryClassSurviveARoundTrip)
{
    std::mt19937 random(20240611);
    const auto byte = [&] { return static_cast<std::uint8_t>(random()); };
    const auto key = [](const PropertyEntry& e) { return std::tie(e.name, e.entryName, e.declaringClass, e.value); };
    for (const PropertySchema* schema : PropertySchema::all()) {
        const auto names = schema->entryNames();
        for (int round = 0; round < 20; ++round) {
            std::vector<PropertyEntry> written(random() % 12);
            for (PropertyEntry& e : written) {
                const PropertyInfo& info = names[random() % names.size()];
                std::string text(random() % 300, '\0');
                std::ranges::generate(text, byte);
                // One value of each type, in the order of PropertyType; the property's own is written.
                const PropertyValue values[] = { static_cast<std::int32_t>(random()), random() % 2 == 1,
                                                 Color { byte(), byte(), byte() }, String(text) };
                e = { info.name, info.entryName, info.declaringClass, values[static_cast<int>(info.type)], 0 };
            }
            const auto read = PropertyString::decode(PropertyString::encode(written), *schema);
            ASSERT_EQ(read.size(), written.size()) << schema->className();
            for (std::size_t i = 0; i < read.size(); ++i)
                EXPECT_EQ(key(read[i]), key(written[i])) << schema->className() << " " << read[i].name;
        }
    }
}

// Guards: a broken inheritance chain, a mistyped declaration, or the two letter-case spellings lost.
// Guards: an applier silently skipping an object whose class takes no property strings.
TEST(PropertySchema, FindsThePropertyWhereItIsDeclaredAndRefusesUnknownClasses)
{
    const std::pair<const char*, PropertyInfo> lookups[] = { // class, { name, entry name, type, declaring class }
        { "PushButton", { "Name", "Name", PropertyType::String, "Control" } },
        { "PopupMenu", { "TabPanelIndex", "TabPanelIndex", PropertyType::Int32, "Control" } },
        { "StaticText", { "Left", "Left", PropertyType::Int32, "RectControl" } },
        { "TextField", { "AutoDeactivate", "AutoDeactivate", PropertyType::Boolean, "RectControl" } },
        { "TextField", { "TextColor", "TextColor", PropertyType::Color, "TextEdit" } },
        { "TextField", { "LimitText", "LimitText", PropertyType::Int32, "TextField" } },
        { "PushButton", { "TextFont", "TextFont", PropertyType::String, "PushButton" } },
        { "PopupMenu", { "InitialValue", "InitialValue", PropertyType::String, "PopupMenu" } },
        { "StaticText", { "MultiLine", "Multiline", PropertyType::Boolean, "StaticText" } },
        { "StaticText", { "MultiLine", "MultiLine", PropertyType::Boolean, "StaticText" } },
        { "Window", { "MacProcId", "MacProcID", PropertyType::Int32, "Window" } },
        { "Window", { "MacProcId", "MacProcId", PropertyType::Int32, "Window" } },
        { "Window", { "BackColor", "BackColor", PropertyType::Color, "Window" } },
        { "Window", { "Title", "Title", PropertyType::String, "Window" } },
    };
    for (const auto& [className, info] : lookups)
        EXPECT_EQ(PropertySchema::forClass(className).find(info.entryName), info) << className << " " << info.entryName;
    EXPECT_EQ(PropertySchema::tryForClass("Window1"), nullptr);
    EXPECT_THROW(PropertySchema::forClass("Canvas"), UnsupportedOperationException);
}

}
