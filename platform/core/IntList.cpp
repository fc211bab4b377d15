#include "IntList.h"

#include "OutOfBoundsException.h"
#include "UnsupportedOperationException.h"

#include <algorithm>
#include <string>

namespace platform {

const ClassRecord& IntList::Lookup()
{
    static ClassCache cache;
    return cache.build(nullptr, "Int32Array", 0, [](ClassRecord&) {}, &StorageMaker<IntList>::make);
}

namespace {

void checkUpperBound(std::int32_t upperBound)
{
    if (upperBound < -1)
        throw OutOfBoundsException("array upper bound " + std::to_string(upperBound) + " is below -1");
}

}

std::int32_t IntList::element(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
        throw OutOfBoundsException("array index " + std::to_string(index) + " is outside 0 to "
                                   + std::to_string(upperBound()));
    return m_items[static_cast<std::size_t>(index)];
}

std::int32_t IntList::upperBound(std::int32_t dimension) const
{
    if (dimension != 1)
        throw OutOfBoundsException("array dimension " + std::to_string(dimension) + " does not exist");
    return static_cast<std::int32_t>(m_items.size()) - 1;
}

void IntList::insert(std::int32_t index, std::int32_t value)
{
    if (index < 0 || static_cast<std::size_t>(index) > m_items.size())
        throw OutOfBoundsException("array insert at " + std::to_string(index) + " is outside 0 to "
                                   + std::to_string(m_items.size()));
    m_items.insert(m_items.begin() + index, value);
}

std::int32_t IntList::indexOf(std::int32_t value, std::int32_t start) const
{
    if (start < 0)
        start = 0;
    for (std::size_t i = static_cast<std::size_t>(start); i < m_items.size(); ++i) {
        if (m_items[i] == value)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

void IntList::resize(std::int32_t upperBound)
{
    checkUpperBound(upperBound);
    m_items.resize(static_cast<std::size_t>(upperBound) + 1);
}

Ref<IntList> CreateArray(std::int32_t dimensions, std::int32_t elementType, std::int32_t upperBound)
{
    if (dimensions != 1 || elementType != static_cast<std::int32_t>(ArrayElementType::Int32))
        throw UnsupportedOperationException("only one-dimensional lists of Int32 are supported");
    checkUpperBound(upperBound);
    Ref<IntList> list(static_cast<IntList*>(StorageMaker<IntList>::make(IntList::Lookup())));
    list->resize(upperBound);
    return list;
}

}
