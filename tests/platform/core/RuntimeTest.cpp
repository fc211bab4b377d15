// The core's runtime: references, class records and events, lists, conversions and random numbers.

#include "Callable.h"
#include "ClassEvent.h"
#include "ClassRecord.h"
#include "Conversions.h"
#include "FixedSeeds.h"
#include "IllegalCastException.h"
#include "IntList.h"
#include "Object.h"
#include "OutOfBoundsException.h"
#include "Random.h"
#include "Ref.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>

// The core's object model and its run-time library: no Qt here.
using namespace platform;
using testsupport::FixedSeeds;
using namespace std::string_literals;

namespace {

struct Plain final : Object { using Object::Object; };

constexpr ClassEvent<bool(int)> openEvent { "Open" };

const auto newPlain = [](const ClassRecord& r) -> Object* { return new Plain(r); };
const auto noop = [] { return makeCode<void(Object&)>([](Object&) {}); };

ClassRecord makeBase()
{
    ClassRecord base("Base", nullptr, newPlain);
    RuntimeNewVtable(base, 2);
    base.setSlot(0, "Twice", makeCode<int(Object&, int)>([](Object&, int n) { return 2 * n; }));
    base.setSlot(1, "Name", makeCode<std::string(Object&)>([](Object& o) { return o.record().name().toStdString(); }));
    base.declareEvents(openEvent);
    return base;
}

// Guards: a Ref that leaks or double-releases on copy, move, assignment or an exception; nil used as an object being
// undefined behaviour instead of the nil-object exception.
TEST(Ref, CountsFollowEveryWayOutOfAScopeAndNilRaises)
{
    ClassRecord base = makeBase();
    const long before = Object::liveInstances();
    {
        Ref<Object> a = RuntimeNewObject(base);
        EXPECT_EQ(a->refCount(), 1);
        Ref<Object> b = a;
        EXPECT_EQ(a->refCount(), 2);
        Ref<Object> c = std::move(b);
        EXPECT_EQ(std::tuple(b.isNil(), a->refCount()), std::tuple(true, 2));
        c = a;
        EXPECT_EQ(a->refCount(), 2);
        try { Ref<Object> held = a; throw std::runtime_error("leave"); } catch (const std::runtime_error&) {}
        EXPECT_EQ(a->refCount(), 2);
        c = nullptr;
        EXPECT_EQ(a->refCount(), 1);
    }
    EXPECT_EQ(Object::liveInstances(), before);
    EXPECT_THROW(Ref<Object>().object(), NilObjectException);
    EXPECT_THROW(Ref<Object>()->refCount(), NilObjectException);
}

// Guards: a subclass record that loses its parent's slots or order, or a cast that ignores ancestry; a slot called
// with the wrong signature being silently reinterpreted; a record without storage of its own instantiated as garbage;
// an event raised that the class never declared finding nothing and passing silently; a handler of another signature
// installed for an event, to fail only when the event comes; a class declared with a row out of its slot, or built
// twice over its first record; the cache's builder order (the record stored before its rows are filled, so a row may
// look it up).
TEST(ClassRecord, SubclassKeepsParentSlotsCastChecksAncestryMisuseFailsLoudlyAndTheCacheBuildsOnceInOrder)
{
    ClassRecord base = makeBase(), derived("Derived", &base), other("Other", nullptr, newPlain), abstract("Abstract", nullptr);
    RuntimeNewVtable(derived, 3);
    derived.setSlot(2, "Own", noop());
    ASSERT_EQ(std::tuple(derived.methods().size(), derived.events().size()), std::tuple(3u, 1u));
    EXPECT_EQ(std::tuple(derived.slot(0).name, derived.slot(0).code), std::tuple("Twice"s, base.slot(0).code));
    Ref<Object> object = RuntimeNewObject(derived);
    EXPECT_EQ(object->record().callSlot<int(Object&, int)>(0, *object, 21), 42);
    EXPECT_EQ(object->record().callSlot<std::string(Object&)>(1, *object), "Derived");
    EXPECT_EQ(RuntimeCheckCast(object, base), object);
    EXPECT_EQ(object->refCount(), 1) << "the cast's reference released";
    EXPECT_THROW(RuntimeCheckCast(object, other), IllegalCastException);
    EXPECT_TRUE(RuntimeCheckCast(nullptr, base).isNil());
    object = RuntimeNewObject(base);
    EXPECT_THROW(object->record().callSlot<void(Object&)>(0, *object), SignatureMismatchException);
    EXPECT_THROW(object->record().callSlot<long(Object&, int)>(0, *object, 1), SignatureMismatchException);
    EXPECT_THROW(base.slot(7), RuntimeException);
    EXPECT_THROW(RuntimeNewObject(abstract), RuntimeException);
    EXPECT_FALSE(raiseEvent(*object, openEvent, 1)) << "no handler: the default result";
    base.setEventHandler(openEvent, makeCode<bool(Object&, int)>([](Object&, int n) { return n > 0; }));
    EXPECT_TRUE(raiseEvent(*object, openEvent, 1));
    EXPECT_THROW(raiseEvent(*object, ClassEvent<void()> { "Opne" }), RuntimeException);
    EXPECT_THROW(base.setEventHandler("Opne", makeCode<bool(Object&, int)>([](Object&, int) { return true; })), RuntimeException);
    EXPECT_THROW(base.setEventHandler(openEvent, noop()), SignatureMismatchException);
    EXPECT_TRUE(raiseEvent(*object, openEvent, 1)) << "the refused handler left the installed one";
    static ClassCache cache;
    static int fills = 0;
    const auto build = [] {
        cache.build(nullptr, "Declared", 2, [](ClassRecord& r) {
            ++fills;
            EXPECT_EQ(std::tuple(&*cache, r.name().toStdString()), std::tuple(&r, "Declared"s)) << "stored before it is filled";
            r.declareSlots<0, 2>({ { 0, "First", noop() }, { 1, "Second", noop() } });
        });
    };
    const ClassRecord& looked = cache.lookup(+build);
    EXPECT_EQ(&looked, cache.get());
    build();
    EXPECT_EQ(std::tuple(fills, cache->slot(1).name), std::tuple(1, "Second"s));
    ClassRecord misplaced("Misplaced", nullptr);
    RuntimeNewVtable(misplaced, 2);
    EXPECT_THROW((misplaced.declareSlots<0, 2>({ { 0, "First", noop() }, { 0, "Again", noop() } })), RuntimeException);
}

// Guards: append, find, resize and upper bound disagreeing about the list's length; an index outside the list reading
// or writing memory instead of raising an error.
TEST(IntList, AppendFindEmptyAgainAndRefuseBadIndexes)
{
    Ref<IntList> list = CreateArray(1, 0, -1);
    EXPECT_EQ(list->upperBound(1), -1);
    for (int v : { 5, 3, 5 })
        list->insert(list->upperBound(1) + 1, v);
    EXPECT_EQ((std::array { list->upperBound(1), list->element(2), list->indexOf(5, 0), list->indexOf(5, 1), list->indexOf(9, 0) }),
              (std::array { 2, 5, 0, 2, -1 }));
    list->insert(0, 7);
    EXPECT_EQ(list->element(0), 7);
    list->resize(-1);
    EXPECT_EQ(std::tuple(list->upperBound(1), list->indexOf(5, 0)), std::tuple(-1, -1));
    list = CreateArray(1, 0, 1);
    EXPECT_EQ(list->upperBound(1), 1);
    EXPECT_THROW(list->element(-1), OutOfBoundsException);
    EXPECT_THROW(list->element(2), OutOfBoundsException);
    EXPECT_THROW(list->insert(3, 0), OutOfBoundsException);
    EXPECT_THROW(list->insert(-1, 0), OutOfBoundsException);
    EXPECT_THROW(list->resize(-2), OutOfBoundsException);
    EXPECT_THROW(list->upperBound(2), OutOfBoundsException);
    EXPECT_EQ(list->upperBound(1), 1);
    EXPECT_THROW(CreateArray(2, 0, -1), RuntimeException);
    EXPECT_THROW(CreateArray(1, 3, -1), RuntimeException);
}

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min(), highest = std::numeric_limits<std::int32_t>::max();

// Guards: an out-of-range or NaN real reaching an undefined C++ conversion; Val reading past its number, taking
// locale commas, failing on junk, or an overflow giving anything but an infinity (which converts to the range's end);
// Str losing a sign or the lowest whole number.
TEST(Conversions, RealToWholeIsDefinedForEveryDoubleValReadsTheLeadingNumberAndStrWritesEveryWholeNumber)
{
    const std::pair<double, std::int32_t> rows[] = { { 0.0, 0 }, { 2.9, 2 }, { -2.9, -2 }, { 2147483646.5, 2147483646 },
                                                     { 2147483647.0, highest }, { 2147483648.0, highest }, { 1e300, highest },
                                                     { inf, highest }, { -2147483648.0, lowest }, { -2147483649.0, lowest },
                                                     { -inf, lowest }, { std::nan(""), 0 } };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(RuntimeCvtReal64ToSInt32(in), out) << in;
    const std::pair<const char*, double> texts[] = { { "", 0 }, { "7", 7 }, { "  -12", -12 }, { "+3", 3 }, { "4.5", 4.5 }, { ".5", 0.5 },
                                                    { "5.", 5 }, { "1e3", 1000 }, { "1e", 1 }, { "12abc", 12 }, { "abc", 0 }, { "-", 0 },
                                                    { ".", 0 }, { "0x10", 0 }, { "inf", 0 }, { "nan", 0 }, { "1,5", 1 }, { "1e-400", 0 },
                                                    { "1e400", inf }, { "-1e400", -inf } };
    for (const auto& [text, value] : texts)
        EXPECT_EQ(Val(String(text)), value) << text;
    const std::pair<std::int32_t, const char*> written[] = { { 0, "0" }, { -7, "-7" }, { lowest, "-2147483648" },
                                                             { highest, "2147483647" } };
    for (const auto& [value, text] : written)
        EXPECT_EQ(Str(value), String(text)) << value;
}

std::int32_t inRange(Object& r, std::int32_t lo, std::int32_t hi)
{
    return r.record().callSlot<std::int32_t(Object&, std::int32_t, std::int32_t)>(Random::SlotInRange, r, lo, hi);
}

// Guards: generators made in the same instant sharing a clock-based seed and so one sequence; a biased InRange
// (modulo bias, an end never drawn): chi-square over 0..9 with 9 degrees of freedom, 27.88 being the 0.1% point, on a
// fixed seed so that it cannot fail by chance; overflow in the width of a range that spans all 32-bit numbers; low
// above high.
TEST(Random, GeneratorsAreIndependentAndInRangeDrawsEveryValueEquallyOftenWithSafeEnds)
{
    std::set<std::array<std::int32_t, 20>> sequences;
    for (int g = 0; g < 10; ++g) {
        std::array<std::int32_t, 20> seq {};
        std::generate(seq.begin(), seq.end(), [r = RuntimeNewObject(Random::Lookup())] { return inRange(*r, 0, 9); });
        sequences.insert(seq);
    }
    EXPECT_EQ(sequences.size(), 10u) << "two equal sequences of 20 digits among ten by chance: about 10^-19";
    FixedSeeds seeds(12345);
    Ref<Object> r = RuntimeNewObject(Random::Lookup());
    std::array<int, 10> counts {};
    for (int i = 0; i < 100000; ++i)
        ++counts.at(static_cast<std::size_t>(inRange(*r, 0, 9))); // at() fails the test on a draw outside 0..9
    double chi = 0;
    for (int c : counts) // each value expected 10000 times
        chi += (c - 10000.0) * (c - 10000.0) / 10000.0;
    EXPECT_LT(chi, 27.88);
    EXPECT_EQ(inRange(*r, 4, 4), 4);
    for (int i = 0; i < 1000; ++i)
        (void)inRange(*r, lowest, highest);
    EXPECT_THROW(inRange(*r, 5, 4), RuntimeException);
    EXPECT_THROW(Random::Lookup().callSlot<std::int32_t(Object&, std::int32_t)>(Random::SlotLessThan, *r, 0), RuntimeException);
}

}
