#include "PropertyRow.h"

#include "RuntimeException.h"

#include <string>

namespace platform {

void PropertyRow::checkType(PropertyType type)
{
    if (m_type && *m_type != type)
        throw RuntimeException("the accessors of the property " + std::string(m_name) + " take different types");
    m_type = type;
}

std::optional<PropertyRange> PropertyRow::range(Object& target, std::span<const PropertyEntry> earlier) const
{
    if (const auto* range = std::get_if<PropertyRange>(&m_limits))
        return *range;
    if (const auto* bounds = std::get_if<Bounds>(&m_limits))
        return (*bounds)(target, earlier);
    return std::nullopt;
}

void PropertyRow::apply(Object& target, PropertyStore& store, const PropertyValue& value) const
{
    if (m_kept)
        store.set(m_name, value);
    if (m_set)
        m_set(target, value);
}

std::optional<PropertyValue> PropertyRow::read(Object& target, const PropertyStore& store) const
{
    if (m_get)
        return m_get(target);
    return store.get(m_name);
}

}
