#include "Callable.h"
#include "ClassEvent.h"
#include "ClassRecord.h"
#include "IllegalCastException.h"
#include "Object.h"
#include "Ref.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform;

namespace {

struct Plain final : Object {
    using Object::Object;
};

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

// Guards: a Ref that leaks or double-releases on copy, move, assignment or an exception.
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
        EXPECT_TRUE(b.isNil());
        EXPECT_EQ(a->refCount(), 2);
        c = a;
        EXPECT_EQ(a->refCount(), 2);
        try {
            Ref<Object> held = a;
            throw std::runtime_error("leave");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(a->refCount(), 2);
        c = nullptr;
        EXPECT_EQ(a->refCount(), 1);
    }
    EXPECT_EQ(Object::liveInstances(), before);
    // Guards: nil used as an object being undefined behaviour instead of the nil-object exception.
    Ref<Object> nil;
    EXPECT_THROW(nil.object(), NilObjectException);
    EXPECT_THROW(nil->refCount(), NilObjectException);
}

// Guards: a subclass record that loses its parent's slots or order, or a cast that ignores ancestry.
TEST(ClassRecord, SubclassKeepsParentSlotsAndCastChecksAncestry)
{
    ClassRecord base = makeBase();
    ClassRecord derived("Derived", &base);
    RuntimeNewVtable(derived, 3);
    derived.setSlot(2, "Own", noop());
    ClassRecord other("Other", nullptr, newPlain);

    ASSERT_EQ(derived.methods().size(), 3u);
    EXPECT_EQ(derived.slot(0).name, "Twice");
    EXPECT_EQ(derived.slot(0).code, base.slot(0).code);
    EXPECT_EQ(derived.events().size(), 1u);

    Ref<Object> object = RuntimeNewObject(derived);
    EXPECT_EQ(object->record().callSlot<int(Object&, int)>(0, *object, 21), 42);
    EXPECT_EQ(object->record().callSlot<std::string(Object&)>(1, *object), "Derived");
    EXPECT_EQ(RuntimeCheckCast(object, base), object);
    EXPECT_EQ(object->refCount(), 1);
    EXPECT_THROW(RuntimeCheckCast(object, other), IllegalCastException);
    EXPECT_TRUE(RuntimeCheckCast(nullptr, base).isNil());
}

// Guards: a slot called with the wrong signature being silently reinterpreted.
TEST(ClassRecord, AWrongSignatureOrMissingStorageFailsLoudly)
{
    ClassRecord base = makeBase();
    Ref<Object> object = RuntimeNewObject(base);
    EXPECT_THROW(object->record().callSlot<void(Object&)>(0, *object), SignatureMismatchException);
    EXPECT_THROW(object->record().callSlot<long(Object&, int)>(0, *object, 1), SignatureMismatchException);
    EXPECT_THROW(base.slot(7), RuntimeException);
    // Guards: a record without storage of its own being instantiated as garbage.
    ClassRecord abstract("Abstract", nullptr);
    EXPECT_THROW(RuntimeNewObject(abstract), RuntimeException);
}

// Guards: a class declared with a row out of its slot, or built twice over its first record; and
// the builder's order (the record stored before its rows are filled, so a row may look it up).
TEST(ClassCache, BuildsOnceInOrderAndChecksEveryRowsSlot)
{
    static ClassCache cache;
    static int fills = 0;
    const auto build = [] {
        cache.build(nullptr, "Declared", 2, [](ClassRecord& r) {
            ++fills;
            EXPECT_EQ(&*cache, &r) << "stored before it is filled";
            EXPECT_EQ(r.name().toStdString(), "Declared");
            r.declareSlots<0, 2>({
                { 0, "First", noop() },
                { 1, "Second", noop() },
            });
        });
    };
    const ClassRecord& looked = cache.lookup(+build);
    EXPECT_EQ(&looked, cache.get());
    build();
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(cache->slot(1).name, "Second");

    ClassRecord misplaced("Misplaced", nullptr);
    RuntimeNewVtable(misplaced, 2);
    EXPECT_THROW((misplaced.declareSlots<0, 2>({
                     { 0, "First", noop() },
                     { 0, "Again", noop() },
                 })),
                 RuntimeException);
}

// Guards: an event raised that the class never declared finding nothing and passing silently, and
// a handler of another signature installed for an event, to fail only when the event comes.
TEST(ClassEvent, UndeclaredEventsAndMistypedHandlersFailLoudly)
{
    ClassRecord base = makeBase();
    Ref<Object> object = RuntimeNewObject(base);
    EXPECT_FALSE(raiseEvent(*object, openEvent, 1)) << "no handler: the default result";

    base.setEventHandler(openEvent, makeCode<bool(Object&, int)>([](Object&, int n) { return n > 0; }));
    EXPECT_TRUE(raiseEvent(*object, openEvent, 1));

    constexpr ClassEvent<void()> misspelt { "Opne" };
    EXPECT_THROW(raiseEvent(*object, misspelt), RuntimeException);
    EXPECT_THROW(base.setEventHandler("Opne", makeCode<bool(Object&, int)>([](Object&, int) { return true; })),
                 RuntimeException);
    EXPECT_THROW(base.setEventHandler(openEvent, noop()), SignatureMismatchException);
    EXPECT_TRUE(raiseEvent(*object, openEvent, 1)) << "the refused handler left the installed one";
}

}
