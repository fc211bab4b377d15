#include "PropertySchema.h"

#include "ClassSchemas.h"
#include "UnsupportedOperationException.h"

#include <string>

namespace platform {

namespace {

// Every class whose objects take property strings.
constexpr const PropertySchema* registry[] = {
    &windowSchema, &controlSchema, &rectControlSchema, &pushButtonSchema,
    &textEditSchema, &textFieldSchema, &staticTextSchema, &popupMenuSchema,
};

}

const PropertySchema* PropertySchema::tryForClass(std::string_view className) noexcept
{
    for (const PropertySchema* schema : registry) {
        if (schema->className() == className)
            return schema;
    }
    return nullptr;
}

const PropertySchema& PropertySchema::forClass(std::string_view className)
{
    if (const PropertySchema* schema = tryForClass(className))
        return *schema;
    throw UnsupportedOperationException("class " + std::string(className) + " takes no property strings");
}

std::span<const PropertySchema* const> PropertySchema::all() noexcept
{
    return registry;
}

std::optional<PropertyInfo> PropertySchema::find(std::string_view entryName) const noexcept
{
    for (const PropertySchema* schema = this; schema; schema = schema->m_parent) {
        for (const Declared& property : schema->m_declared) {
            if (property.name == entryName)
                return PropertyInfo { property.name, property.name, property.type, schema->m_className };
            if (!property.alias.empty() && property.alias == entryName)
                return PropertyInfo { property.name, property.alias, property.type, schema->m_className };
        }
    }
    return std::nullopt;
}

std::vector<PropertyInfo> PropertySchema::entryNames() const
{
    std::vector<PropertyInfo> names;
    for (const PropertySchema* schema = this; schema; schema = schema->m_parent) {
        for (const Declared& property : schema->m_declared) {
            names.push_back({ property.name, property.name, property.type, schema->m_className });
            if (!property.alias.empty())
                names.push_back({ property.name, property.alias, property.type, schema->m_className });
        }
    }
    return names;
}

}
