#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"

#include <type_traits>
#include <utility>

namespace platform {

// An event of a class, declared as a constant of that class: its name as registered and the
// signature of its handlers after the object that raised it. Raising it with other arguments
// does not compile, and a misspelt event is not a string that quietly finds nothing.
template<class R, class... A>
struct ClassEvent<R(A...)> {
    using Handler = R(Object&, A...);
    const char* name;
};

// Runs the handler that the object's class installed for the event; with none installed the
// result is R's default (not handled, not cancelled). An event the class does not declare fails.
template<class R, class... A, class... Args>
R raiseEvent(Object& object, const ClassEvent<R(A...)>& event, Args&&... args)
{
    Code handler = object.record().eventHandler(event.name);
    if (!handler) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    Ref<Object> keep(&object);
    return handler->call<R(Object&, A...)>(CallSite(object.record().name().bytes(), event.name), object,
                                           std::forward<Args>(args)...);
}

}
