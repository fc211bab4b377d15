#pragma once

#include "Object.h"
#include "PropertyString.h"
#include "String.h"

namespace platform {

// _SetProperties: applies a packed property string to a window or a control. The whole string is
// read before anything is applied, so a malformed one changes nothing and raises
// PropertyStringException naming the entry and its byte offset.
void SetProperties(Object& target, const String& propertyString);

// The current value of a property a property string can set, by its own name, read back from
// what the user sees where there is such a thing.
PropertyValue GetProperty(Object& target, std::string_view name);

}
