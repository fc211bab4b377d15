#pragma once

#include <cstdint>

namespace platform {

// The Int32 values a property accepts, both ends included.
struct PropertyRange {
    std::int32_t low;
    std::int32_t high;

    constexpr bool contains(std::int32_t value) const noexcept { return low <= value && value <= high; }
};

}
