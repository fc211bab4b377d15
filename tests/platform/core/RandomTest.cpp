#include "Random.h"

#include "FixedSeeds.h"
#include "Ref.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

using namespace platform;
using testsupport::FixedSeeds;

namespace {

Ref<Object> newRandom()
{
    return RuntimeNewObject(Random::Lookup());
}

std::int32_t inRange(Object& r, std::int32_t lo, std::int32_t hi)
{
    return r.record().callSlot<std::int32_t(Object&, std::int32_t, std::int32_t)>(Random::SlotInRange, r, lo, hi);
}

// Guards: a biased InRange (modulo bias, an end never drawn). Chi-square over 0..9 with 9 degrees of
// freedom; 27.88 is the 0.1% point, and the seed is fixed so the test cannot fail by chance.
TEST(Random, InRangeDrawsEveryValueEquallyOften)
{
    FixedSeeds seeds(12345);
    Ref<Object> r = newRandom();
    std::array<int, 10> counts {};
    const int draws = 100000;
    for (int i = 0; i < draws; ++i) {
        const std::int32_t v = inRange(*r, 0, 9);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 9);
        ++counts[static_cast<std::size_t>(v)];
    }
    double chi = 0;
    for (int c : counts)
        chi += (c - draws / 10.0) * (c - draws / 10.0) / (draws / 10.0);
    EXPECT_LT(chi, 27.88);
}

// Guards: overflow in the width of a range that spans all 32-bit numbers, and low above high.
TEST(Random, RangeEndsAreSafe)
{
    Ref<Object> r = newRandom();
    EXPECT_EQ(inRange(*r, 4, 4), 4);
    for (int i = 0; i < 1000; ++i)
        (void)inRange(*r, INT32_MIN, INT32_MAX);
    EXPECT_THROW(inRange(*r, 5, 4), RuntimeException);
    EXPECT_THROW(Random::Lookup().callSlot<std::int32_t(Object&, std::int32_t)>(Random::SlotLessThan, *r, 0),
                 RuntimeException);
}

// Guards: generators made in the same instant sharing a clock-based seed and so one sequence.
TEST(Random, GeneratorsMadeTogetherAreIndependent)
{
    std::set<std::array<std::int32_t, 20>> sequences;
    for (int g = 0; g < 10; ++g) {
        Ref<Object> r = newRandom();
        std::array<std::int32_t, 20> seq {};
        for (auto& v : seq)
            v = inRange(*r, 0, 9);
        sequences.insert(seq);
    }
    // Two equal sequences of 20 digits among ten by chance: about 10^-19.
    EXPECT_EQ(sequences.size(), 10u);
}

}
