#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The declared type of a property. A property string carries no type tags, so this alone says how
// an entry's value is laid out. The order matches the alternatives of PropertyValue.
enum class PropertyType : std::uint8_t { Int32, Boolean, Color, String };

constexpr std::string_view propertyTypeName(PropertyType type) noexcept
{
    switch (type) {
    case PropertyType::Int32:
        return "Int32";
    case PropertyType::Boolean:
        return "Boolean";
    case PropertyType::Color:
        return "Color";
    case PropertyType::String:
        return "String";
    }
    return "unknown type";
}

// A colour value: three 8-bit channels, stored in this order.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

}
