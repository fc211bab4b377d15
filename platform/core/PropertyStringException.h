#pragma once

#include "RuntimeException.h"

#include <cstddef>
#include <string>
#include <utility>

namespace platform {

// A property string that cannot be read or written. Carries the entry at fault so that callers and
// tests can tell which one, not only the text.
class PropertyStringException : public RuntimeException {
public:
    explicit PropertyStringException(const std::string& message, std::size_t entryNumber = 0,
                                     std::string entryName = {}, std::size_t offset = 0)
        : RuntimeException(message)
        , m_entryNumber(entryNumber)
        , m_entryName(std::move(entryName))
        , m_offset(offset)
    {
    }

    const char* kind() const noexcept override { return "PropertyStringException"; }

    // Counted from 1; 0 when the fault is not in one entry.
    std::size_t entryNumber() const noexcept { return m_entryNumber; }
    // The name as written; empty when the entry's name could not be read.
    const std::string& entryName() const noexcept { return m_entryName; }
    // Byte offset of the entry's first byte in the string.
    std::size_t offset() const noexcept { return m_offset; }

private:
    std::size_t m_entryNumber;
    std::string m_entryName;
    std::size_t m_offset;
};

}
