#pragma once

#include "ClassRecord.h"
#include "Object.h"

#include <cstdint>
#include <functional>
#include <random>

namespace platform {

// A random-number generator. Each one is seeded from the system's entropy source, so generators
// made in the same instant still give independent sequences.
class Random final : public Object {
public:
    // Slots in table order.
    enum : std::size_t { SlotNumber, SlotLessThan, SlotInRange, SlotGaussian, SlotRandomizeSeed, SlotCount };

    static const ClassRecord& Lookup();

    double Number();                                     // in [0, 1)
    std::int32_t LessThan(std::int32_t bound);           // in [0, bound)
    std::int32_t InRange(std::int32_t low, std::int32_t high); // in [low, high], each equally likely
    double Gaussian();                                   // mean 0, deviation 1
    void RandomizeSeed();

    // Where new generators take their seeds; tests fix it to make draws repeatable.
    using SeedSource = std::function<std::uint64_t()>;
    static void setSeedSource(SeedSource source);
    static std::uint64_t entropySeed();

private:
    explicit Random(const ClassRecord& record);
    friend struct StorageMaker<Random>;
    std::mt19937_64 m_engine;
};

}
