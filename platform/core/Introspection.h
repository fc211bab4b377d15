#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"

namespace platform {

// The reflection service's caches: what it has learnt of classes and arrays is kept in module
// globals from first use until shut-down releases them.
class Introspection {
public:
    // The reflection description of an object's class (its record, name and members), made once
    // per class and found again by the class's full name.
    static Ref<Object> GetType(Object& object);
    static Ref<Object> TypeNamed(const String& fullName);
    // The description of the framework's list of whole numbers.
    static Ref<Object> ArrayInfoForInt32List();

    // Introspection.ArrayInfo.mArrayMap.__Exit, Introspection.ClassInfo.sClassFQNToRefMap.__Exit,
    // Introspection.ClassInfo.sClassRefMap.__Exit
    static void ArrayMapExit();
    static void ClassFQNToRefMapExit();
    static void ClassRefMapExit();

    static std::size_t cachedClassCount() noexcept;
};

}
