#pragma once

#include "PropertyString.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The values of properties that have no Qt state of their own to read back from.
class PropertyStore {
public:
    void set(std::string_view name, PropertyValue value) { m_values[std::string(name)] = std::move(value); }
    std::optional<PropertyValue> get(std::string_view name) const
    {
        auto it = m_values.find(name);
        if (it == m_values.end())
            return std::nullopt;
        return it->second;
    }
    // The stored value of the property, of the type its schema gives it, or fallback when unset.
    template<class T>
    T valueOr(std::string_view name, T fallback) const
    {
        auto it = m_values.find(name);
        return it == m_values.end() ? fallback : std::get<T>(it->second);
    }

private:
    std::map<std::string, PropertyValue, std::less<>> m_values;
};

}
