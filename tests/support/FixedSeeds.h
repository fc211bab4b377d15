#pragma once

#include "Random.h"

#include <cstdint>

namespace testsupport {

// Generators made while it lives are seeded first, first + 1, and so on, so a test draws the
// same numbers on every run.
struct FixedSeeds {
    explicit FixedSeeds(std::uint64_t first)
    {
        platform::Random::setSeedSource([n = first]() mutable { return n++; });
    }
    ~FixedSeeds() { platform::Random::setSeedSource(nullptr); }
};

}
