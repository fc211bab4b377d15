#include "PropertySchema.h"
#include "PropertyString.h"
#include "PropertyStringException.h"
#include "UnsupportedOperationException.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace platform;

namespace {

using namespace std::string_literals;

std::vector<PropertyEntry> decode(const std::string& bytes, std::string_view className)
{
    return PropertyString::decode(String(bytes), PropertySchema::forClass(className));
}

struct ExampleCase {
    const char* label;
    std::string encoded; // as compiled by the entry helpers
    std::string expected;
    const char* className;
    PropertyValue value;
};

template<std::size_t N>
std::string compiled(const std::array<char, N>& entry)
{
    return std::string(propertyBytesView(entry));
}

const ExampleCase examples[] = {
    { "Width", compiled(entryInt32("Width", 455)), "\x57\x69\x64\x74\x68\x20\x00\x00\x01\xC7"s,
      "PushButton", std::int32_t { 455 } },
    { "Index", compiled(entryInt32("Index", std::numeric_limits<std::int32_t>::min())),
      "\x49\x6E\x64\x65\x78\x20\x80\x00\x00\x00"s, "StaticText", std::numeric_limits<std::int32_t>::min() },
    { "Default", compiled(entryBoolean("Default", true)), "\x44\x65\x66\x61\x75\x6C\x74\x20\x01"s,
      "PushButton", true },
    { "BackColor", compiled(entryColor("BackColor", { 0xFF, 0xFF, 0xFF })),
      "\x42\x61\x63\x6B\x43\x6F\x6C\x6F\x72\x20\xFF\xFF\xFF"s, "Window", Color { 0xFF, 0xFF, 0xFF } },
    { "Caption", compiled(entryString("Caption", "Print!")),
      "\x43\x61\x70\x74\x69\x6F\x6E\x20\x00\x00\x00\x06\x50\x72\x69\x6E\x74\x21"s, "PushButton", String("Print!") },
    { "HelpTag", compiled(entryString("HelpTag", "")),
      "\x48\x65\x6C\x70\x54\x61\x67\x20\x00\x00\x00\x00"s, "TextField", String() },
};

class EncodedExample : public ::testing::TestWithParam<ExampleCase> {};

// Guards: host byte order, a wrong count width or a sign lost in either direction.
TEST_P(EncodedExample, BuildsAndReadsTheExactBytes)
{
    const ExampleCase& c = GetParam();
    EXPECT_EQ(c.encoded, c.expected);
    const auto entries = decode(c.expected, c.className);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, c.label);
    EXPECT_EQ(entries[0].value, c.value);
    EXPECT_EQ(entries[0].offset, 0u);
    EXPECT_EQ(std::string(PropertyString::encode(entries).bytes()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, EncodedExample, ::testing::ValuesIn(examples),
                         [](const auto& info) { return std::string(info.param.label); });

struct MalformedCase {
    const char* label;
    const char* className;
    std::string bytes;
    std::size_t entryNumber;
    std::string entryName; // empty when the name cannot be read
    std::size_t offset;
    const char* complaint;
};

const std::string width455 = "Width \x00\x00\x01\xC7"s;
const std::string visibleTrue = "Visible \x01"s;

const MalformedCase malformed[] = {
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
    { "BooleanAllBits", "PushButton", width455 + visibleTrue + "Default \xFF", 3, "Default", 19,
      "Boolean byte 0xFF" },
};

class MalformedString : public ::testing::TestWithParam<MalformedCase> {};

// Guards: a bad string read past its end, silently cut short, or reported at the wrong entry.
TEST_P(MalformedString, IsRefusedNamingTheEntryAndItsOffset)
{
    const MalformedCase& c = GetParam();
    try {
        const auto entries = decode(c.bytes, c.className);
        FAIL() << "decoded " << entries.size() << " entries from a bad string";
    } catch (const PropertyStringException& e) {
        EXPECT_EQ(e.entryNumber(), c.entryNumber);
        EXPECT_EQ(e.entryName(), c.entryName);
        EXPECT_EQ(e.offset(), c.offset);
        const std::string message = e.what();
        EXPECT_NE(message.find("entry " + std::to_string(c.entryNumber) + " "), std::string::npos) << message;
        EXPECT_NE(message.find("at byte " + std::to_string(c.offset) + ":"), std::string::npos) << message;
        EXPECT_NE(message.find(c.complaint), std::string::npos) << message;
        EXPECT_STREQ(e.kind(), "PropertyStringException");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedString, ::testing::ValuesIn(malformed),
                         [](const auto& info) { return std::string(info.param.label); });

// Guards: text values losing zero bytes or their encoding tag, and offsets counted wrongly.
TEST(PropertyString, TextKeepsZeroBytesAndOffsetsCountEveryByte)
{
    // Guards: an empty string (nil) taken as an error or as one empty entry.
    EXPECT_TRUE(PropertyString::decode(String(), PropertySchema::forClass("Window")).empty());
    constexpr auto bytes = propertyBytes(entryString("Text", "a\0b"), entryBoolean("Multiline", true),
                                         entryString("HelpTag", ""), entryInt32("Top", -1));
    const auto entries = PropertyString::decode(String::ascii(propertyBytesView(bytes)),
                                                PropertySchema::forClass("StaticText"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].asString().bytes(), "a\0b"s);
    EXPECT_EQ(entries[0].asString().encoding(), TextEncoding::ASCII);
    EXPECT_EQ(entries[1].name, "MultiLine");
    EXPECT_EQ(entries[1].entryName, "Multiline");
    EXPECT_TRUE(entries[2].asString().isEmpty());
    EXPECT_EQ(entries[3].asInt32(), -1);
    std::vector<std::size_t> offsets;
    for (const auto& entry : entries)
        offsets.push_back(entry.offset);
    EXPECT_EQ(offsets, (std::vector<std::size_t> { 0, 12, 23, 35 }));
}

// Guards: an applier reading a value as the wrong type getting a bad_variant_access or garbage.
TEST(PropertyString, ReadingAsAnotherTypeOrWritingAnUnreadableNameThrows)
{
    const auto entries = decode(width455, "PushButton");
    EXPECT_THROW(entries[0].asBoolean(), PropertyStringException);
    EXPECT_THROW(entries[0].asString(), PropertyStringException);
    EXPECT_THROW(entries[0].asColor(), PropertyStringException);
    // Guards: the writer producing a string that no reader can step through.
    for (const char* name : { "", "Help Tag" }) {
        const std::vector<PropertyEntry> entries { { name, name, "", true, 0 } };
        EXPECT_THROW(PropertyString::encode(entries), PropertyStringException) << name;
    }
}

// Guards: writer and reader disagreeing on any type, value or name spelling.
TEST(PropertyString, RandomEntriesOfEveryClassSurviveARoundTrip)
{
    std::mt19937 random(20240611);
    for (const PropertySchema* schema : PropertySchema::all()) {
        const auto names = schema->entryNames();
        for (int round = 0; round < 20; ++round) {
            std::vector<PropertyEntry> written;
            const int count = static_cast<int>(random() % 12);
            for (int i = 0; i < count; ++i) {
                const PropertyInfo& info = names[random() % names.size()];
                PropertyValue value;
                switch (info.type) {
                case PropertyType::Int32:
                    value = static_cast<std::int32_t>(random());
                    break;
                case PropertyType::Boolean:
                    value = random() % 2 == 1;
                    break;
                case PropertyType::Color:
                    value = Color { static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                                    static_cast<std::uint8_t>(random()) };
                    break;
                case PropertyType::String: {
                    std::string text(random() % 300, '\0');
                    for (char& c : text)
                        c = static_cast<char>(random());
                    value = String(text);
                    break;
                }
                }
                written.push_back({ info.name, info.entryName, info.declaringClass, value, 0 });
            }
            const auto read = PropertyString::decode(PropertyString::encode(written), *schema);
            ASSERT_EQ(read.size(), written.size()) << schema->className();
            for (std::size_t i = 0; i < read.size(); ++i) {
                EXPECT_EQ(read[i].name, written[i].name);
                EXPECT_EQ(read[i].entryName, written[i].entryName);
                EXPECT_EQ(read[i].declaringClass, written[i].declaringClass);
                EXPECT_EQ(read[i].value, written[i].value) << schema->className() << " " << read[i].name;
            }
        }
    }
}

struct LookupCase {
    const char* className;
    const char* entryName;
    const char* name;
    PropertyType type;
    const char* declaringClass;
};

class SchemaLookup : public ::testing::TestWithParam<LookupCase> {};

// Guards: a broken inheritance chain, a mistyped declaration, or the two letter-case spellings lost.
TEST_P(SchemaLookup, FindsThePropertyWhereItIsDeclared)
{
    const LookupCase& c = GetParam();
    const auto info = PropertySchema::forClass(c.className).find(c.entryName);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(*info, (PropertyInfo { c.name, c.entryName, c.type, c.declaringClass }));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SchemaLookup,
    ::testing::Values(LookupCase { "PushButton", "Name", "Name", PropertyType::String, "Control" },
                      LookupCase { "PopupMenu", "TabPanelIndex", "TabPanelIndex", PropertyType::Int32, "Control" },
                      LookupCase { "StaticText", "Left", "Left", PropertyType::Int32, "RectControl" },
                      LookupCase { "TextField", "AutoDeactivate", "AutoDeactivate", PropertyType::Boolean, "RectControl" },
                      LookupCase { "TextField", "TextColor", "TextColor", PropertyType::Color, "TextEdit" },
                      LookupCase { "TextField", "LimitText", "LimitText", PropertyType::Int32, "TextField" },
                      LookupCase { "PushButton", "TextFont", "TextFont", PropertyType::String, "PushButton" },
                      LookupCase { "PopupMenu", "InitialValue", "InitialValue", PropertyType::String, "PopupMenu" },
                      LookupCase { "StaticText", "Multiline", "MultiLine", PropertyType::Boolean, "StaticText" },
                      LookupCase { "StaticText", "MultiLine", "MultiLine", PropertyType::Boolean, "StaticText" },
                      LookupCase { "Window", "MacProcID", "MacProcId", PropertyType::Int32, "Window" },
                      LookupCase { "Window", "MacProcId", "MacProcId", PropertyType::Int32, "Window" },
                      LookupCase { "Window", "BackColor", "BackColor", PropertyType::Color, "Window" },
                      LookupCase { "Window", "Title", "Title", PropertyType::String, "Window" }),
    [](const auto& info) { return std::string(info.param.className) + "_" + info.param.entryName; });

// Guards: an applier silently skipping an object whose class takes no property strings.
TEST(PropertySchema, UnknownClassIsRefused)
{
    EXPECT_EQ(PropertySchema::tryForClass("Window1"), nullptr);
    EXPECT_THROW(PropertySchema::forClass("Canvas"), UnsupportedOperationException);
}

}
