#pragma once

#include "ClassRecord.h"
#include "IllegalCastException.h"
#include "Object.h"

#include <string>

namespace platform {

// The object's storage as the framework class T; any other storage is refused with the
// illegal-cast exception. kind names T for the message, article included ("a Window").
template<class T>
T& storageAs(Object& object, const char* kind)
{
    if (auto* storage = dynamic_cast<T*>(&object))
        return *storage;
    throw IllegalCastException("an object of class " + object.record().name().toStdString() + " is not " + kind);
}

}
