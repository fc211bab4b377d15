#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"

#include <string>
#include <type_traits>

namespace platform {

// Runs the handler that the object's class installed for the event, with the signature the event
// has; with none installed the result is R's default (not handled, not cancelled).
template<class R, class... A>
R raiseClassEvent(Object& object, const char* event, A... args)
{
    Code handler = object.record().eventHandler(event);
    if (!handler) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    Ref<Object> keep(&object);
    return handler->call<R(Object&, A...)>(object.record().name().toStdString() + "." + event, object, args...);
}

}
