#include "Random.h"

#include "RuntimeException.h"

#include <cerrno>
#include <string>
#include <sys/random.h>

namespace platform {

namespace {

Random::SeedSource& seedSource()
{
    static Random::SeedSource source = &Random::entropySeed;
    return source;
}

Random& self(Object& o)
{
    return static_cast<Random&>(o);
}

}

const ClassRecord& Random::Lookup()
{
    using slotParameters::I32;
    static ClassCache cache;
    return cache.build(nullptr, "Random", SlotCount, [](ClassRecord& r) {
        r.declareSlots<0, SlotCount>({
            { SlotNumber, "Number", makeCode<double(Object&)>([](Object& o) { return self(o).Number(); }) },
            { SlotLessThan, "LessThan", makeCode<I32(Object&, I32)>([](Object& o, I32 n) { return self(o).LessThan(n); }) },
            { SlotInRange, "InRange",
              makeCode<I32(Object&, I32, I32)>([](Object& o, I32 lo, I32 hi) { return self(o).InRange(lo, hi); }) },
            { SlotGaussian, "Gaussian", makeCode<double(Object&)>([](Object& o) { return self(o).Gaussian(); }) },
            { SlotRandomizeSeed, "RandomizeSeed", makeCode<void(Object&)>([](Object& o) { self(o).RandomizeSeed(); }) },
        });
    }, &StorageMaker<Random>::make);
}

Random::Random(const ClassRecord& record)
    : Object(record)
{
    RandomizeSeed();
}

std::uint64_t Random::entropySeed()
{
    std::uint64_t seed = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&seed);
    std::size_t got = 0;
    while (got < sizeof seed) {
        const ssize_t n = getrandom(bytes + got, sizeof seed - got, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw RuntimeException("the system's entropy source failed: errno " + std::to_string(errno));
        }
        got += static_cast<std::size_t>(n);
    }
    return seed;
}

void Random::setSeedSource(SeedSource source)
{
    seedSource() = source ? std::move(source) : SeedSource(&Random::entropySeed);
}

void Random::RandomizeSeed()
{
    // The engine's own seeding spreads all 64 bits over its state; a seed sequence would cost a
    // press ten times over for nothing the draws need.
    m_engine.seed(seedSource()());
}

double Random::Number()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}

std::int32_t Random::LessThan(std::int32_t bound)
{
    if (bound <= 0)
        throw RuntimeException("Random.LessThan needs a bound above 0, got " + std::to_string(bound));
    return InRange(0, bound - 1);
}

std::int32_t Random::InRange(std::int32_t low, std::int32_t high)
{
    if (low > high)
        throw RuntimeException("Random.InRange: low " + std::to_string(low) + " is above high " + std::to_string(high));
    return std::uniform_int_distribution<std::int32_t>(low, high)(m_engine);
}

double Random::Gaussian()
{
    return std::normal_distribution<double>(0.0, 1.0)(m_engine);
}

}
