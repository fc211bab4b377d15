#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"

#include <cstdint>
#include <vector>

namespace platform {

// The framework's one-dimensional dynamic list of 32-bit whole numbers. Indexes are checked:
// a bad one raises the out-of-bounds exception rather than touching memory.
class IntList final : public Object {
public:
    static const ClassRecord& Lookup();

    std::int32_t element(std::int32_t index) const;
    // -1 when empty, otherwise the last index; only dimension 1 exists.
    std::int32_t upperBound(std::int32_t dimension = 1) const;
    // index may be one past the last entry, which appends.
    void insert(std::int32_t index, std::int32_t value);
    // The first index at or after start holding value, or -1.
    std::int32_t indexOf(std::int32_t value, std::int32_t start = 0) const;
    void resize(std::int32_t upperBound);

private:
    explicit IntList(const ClassRecord& record)
        : Object(record)
    {
    }
    friend struct StorageMaker<IntList>;
    std::vector<std::int32_t> m_items;
};

enum class ArrayElementType : std::int32_t { Int32 = 0 };

// A new list of upperBound + 1 zeros; only one dimension of Int32 is supported.
Ref<IntList> CreateArray(std::int32_t dimensions, std::int32_t elementType, std::int32_t upperBound);

}
