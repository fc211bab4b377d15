#pragma once

#include "ClassRecord.h"

#include <functional>

// Puts other code into a record's slot or event handler while it lives; wrap gets the original.
class RecordSwap {
public:
    using Wrap = std::function<platform::Code(const platform::Code& original)>;
    RecordSwap(platform::ClassRecord& record, std::size_t slot, const Wrap& wrap)
    {
        const platform::Slot saved = record.slot(slot);
        record.setSlot(slot, saved.name, wrap(saved.code));
        m_restore = [&record, slot, saved] { record.setSlot(slot, saved.name, saved.code); };
    }
    RecordSwap(platform::ClassRecord& record, const char* event, const Wrap& wrap)
    {
        const platform::Code saved = record.eventHandler(event);
        record.setEventHandler(event, wrap(saved));
        m_restore = [&record, event, saved] { record.setEventHandler(event, saved); };
    }
    ~RecordSwap() { m_restore(); }
    RecordSwap(const RecordSwap&) = delete;
    RecordSwap& operator=(const RecordSwap&) = delete;

private:
    std::function<void()> m_restore;
};
