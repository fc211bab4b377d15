#pragma once

#include "PropertySchema.h"
#include "PropertyType.h"
#include "String.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

// Alternatives in the order of PropertyType.
using PropertyValue = std::variant<std::int32_t, bool, Color, String>;

// One entry of a decoded property string. The names point at static storage.
struct PropertyEntry {
    std::string_view name;           // the property's own name
    std::string_view entryName;      // as written in the string
    std::string_view declaringClass; // the framework class that declares the property
    PropertyValue value;
    std::size_t offset = 0;          // of the entry's first byte

    PropertyType type() const noexcept { return static_cast<PropertyType>(value.index()); }

    // Each throws PropertyStringException when the entry holds another type.
    std::int32_t asInt32() const;
    bool asBoolean() const;
    Color asColor() const;
    const String& asString() const;
};

// A packed run of entries "name value" with no header, tags or terminator. Int32 values and
// String counts are big-endian whatever the host.
class PropertyString {
public:
    // Reads every entry before returning any, so a bad string yields nothing to apply. Any fault
    // throws PropertyStringException naming the entry and its byte offset.
    static std::vector<PropertyEntry> decode(const String& bytes, const PropertySchema& schema);

    // Writes each entry under the name as written (its own name when that is empty).
    static String encode(std::span<const PropertyEntry> entries);
};

// Compile-time building: each helper gives one entry's bytes from literals, propertyBytes joins
// them, and a misspelt literal (empty, or holding a space) fails to compile.
namespace propertyBytesDetail {

template<std::size_t L>
consteval void putName(char* out, const char (&name)[L])
{
    if (L < 2 || name[L - 1] != '\0')
        throw "a property name is a non-empty string literal";
    for (std::size_t i = 0; i + 1 < L; ++i) {
        if (name[i] == ' ' || name[i] == '\0')
            throw "a property name holds neither a space nor a zero byte";
        out[i] = name[i];
    }
    out[L - 1] = ' ';
}

consteval void putBigEndian(char* out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFFu);
}

}

// In each helper the literal's terminator makes room for the space after the name.
template<std::size_t L>
consteval std::array<char, L + 4> entryInt32(const char (&name)[L], std::int32_t value)
{
    std::array<char, L + 4> out {};
    propertyBytesDetail::putName(out.data(), name);
    propertyBytesDetail::putBigEndian(out.data() + L, static_cast<std::uint32_t>(value));
    return out;
}

template<std::size_t L>
consteval std::array<char, L + 1> entryBoolean(const char (&name)[L], bool value)
{
    std::array<char, L + 1> out {};
    propertyBytesDetail::putName(out.data(), name);
    out[L] = value ? '\x01' : '\x00';
    return out;
}

template<std::size_t L>
consteval std::array<char, L + 3> entryColor(const char (&name)[L], Color value)
{
    std::array<char, L + 3> out {};
    propertyBytesDetail::putName(out.data(), name);
    out[L] = static_cast<char>(value.red);
    out[L + 1] = static_cast<char>(value.green);
    out[L + 2] = static_cast<char>(value.blue);
    return out;
}

// The text is every byte of the literal but its terminator, zero bytes inside included.
template<std::size_t L, std::size_t M>
consteval std::array<char, L + 4 + M - 1> entryString(const char (&name)[L], const char (&text)[M])
{
    if (text[M - 1] != '\0')
        throw "a property text is a string literal";
    std::array<char, L + 4 + M - 1> out {};
    propertyBytesDetail::putName(out.data(), name);
    propertyBytesDetail::putBigEndian(out.data() + L, static_cast<std::uint32_t>(M - 1));
    std::copy(text, text + M - 1, out.data() + L + 4);
    return out;
}

template<std::size_t... N>
consteval std::array<char, (N + ... + 0)> propertyBytes(const std::array<char, N>&... entries)
{
    std::array<char, (N + ... + 0)> out {};
    char* at = out.data();
    ((at = std::copy(entries.begin(), entries.end(), at)), ...);
    return out;
}

template<std::size_t N>
constexpr std::string_view propertyBytesView(const std::array<char, N>& bytes) noexcept
{
    return std::string_view(bytes.data(), N);
}

}
