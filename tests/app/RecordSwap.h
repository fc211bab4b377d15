#pragma once

#include "ClassRecord.h"

#include <functional>
#include <memory>
#include <type_traits>

// Puts other code into a record's slot or event handler while it lives; wrap gets the original.
struct RecordSwap {
    using Wrap = std::function<platform::Code(const platform::Code& original)>;
    RecordSwap(platform::ClassRecord& r, std::size_t slot, const Wrap& wrap)
        : restore(nullptr, [&r, slot, saved = r.slot(slot)](void*) { r.setSlot(slot, saved.name, saved.code); })
    { r.setSlot(slot, r.slot(slot).name, wrap(r.slot(slot).code)); }
    RecordSwap(platform::ClassRecord& r, const char* event, const Wrap& wrap)
        : restore(nullptr, [&r, event, saved = r.eventHandler(event)](void*) { r.setEventHandler(event, saved); })
    { r.setEventHandler(event, wrap(r.eventHandler(event))); }
    // Puts the original back when the last copy goes.
    const std::shared_ptr<void> restore;
};

// A wrap for a slot or handler: first runs with the same arguments, then the code it replaces.
template<class R, class... A>
RecordSwap::Wrap runFirst(const char* slot, std::type_identity_t<std::function<void(platform::Object&, A...)>> first)
{
    return [slot, first](const platform::Code& original) {
        using platform::Object;
        return platform::makeCode<R(Object&, A...)>([slot, first, original](Object& self, A... args) {
            first(self, args...);
            return original->call<R(Object&, A...)>(slot, self, args...);
        });
    };
}
