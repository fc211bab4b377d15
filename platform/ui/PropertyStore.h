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

private:
    std::map<std::string, PropertyValue, std::less<>> m_values;
};

}
