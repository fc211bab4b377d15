#pragma once

#include <cstdint>
#include <limits>

namespace platform {

// The framework's 32-bit whole-number arithmetic saturates at the ends of the range rather than
// overflowing, so no sum of coordinates is undefined or wraps to the other side of the page.
inline std::int32_t saturate(std::int64_t v) noexcept
{
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

inline std::int32_t wholeAdd(std::int32_t a, std::int32_t b) noexcept
{
    return saturate(std::int64_t { a } + b);
}

inline std::int32_t wholeMul(std::int32_t a, std::int32_t b) noexcept
{
    return saturate(std::int64_t { a } * b);
}

}
