#pragma once

#include "ClassRecord.h"

#include <functional>
#include <memory>

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
