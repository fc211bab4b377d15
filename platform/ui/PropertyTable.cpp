#include "PropertyTable.h"

#include "RuntimeException.h"

#include <algorithm>
#include <string>

namespace platform {

PropertyTable::PropertyTable(const PropertySchema& schema, const PropertyTable* parent,
                             std::initializer_list<PropertyRow> rows, const std::vector<PropertyRow>& shared,
                             Hooks hooks)
    : m_schema(schema)
    , m_parent(parent)
    , m_rows(rows)
    , m_hooks(hooks)
{
    m_rows.insert(m_rows.end(), shared.begin(), shared.end());
    check();
}

void PropertyTable::check() const
{
    auto fail = [&](std::string_view name, const std::string& what) {
        throw RuntimeException("the property rows of " + std::string(m_schema.className()) + ": " + std::string(name)
                               + " " + what);
    };
    if (m_schema.parent() != (m_parent ? &m_parent->m_schema : nullptr))
        fail("the parent table", "is not that of the schema's parent");
    for (const PropertySchema::Declared& declared : m_schema.declared()) {
        const auto count = std::count_if(m_rows.begin(), m_rows.end(),
                                         [&](const PropertyRow& r) { return r.name() == declared.name; });
        if (count != 1)
            fail(declared.name, count == 0 ? "is declared but has no row" : "has more than one row");
    }
    for (const PropertyRow& row : m_rows) {
        auto declared = std::find_if(m_schema.declared().begin(), m_schema.declared().end(),
                                     [&](const PropertySchema::Declared& d) { return d.name == row.name(); });
        if (declared == m_schema.declared().end())
            fail(row.name(), "has a row but is not declared");
        if (row.type() && *row.type() != declared->type)
            fail(row.name(), "is declared " + std::string(propertyTypeName(declared->type))
                                 + " but its accessors take " + std::string(propertyTypeName(*row.type())));
        if (row.isLimited() && declared->type != PropertyType::Int32)
            fail(row.name(), "has a range but is no Int32");
    }
}

const PropertyRow& PropertyTable::row(std::string_view name) const
{
    for (const PropertyTable* table = this; table; table = table->m_parent) {
        for (const PropertyRow& r : table->m_rows) {
            if (r.name() == name)
                return r;
        }
    }
    throw RuntimeException("an object of class " + std::string(m_schema.className()) + " has no property "
                           + std::string(name));
}

PropertyStore& PropertyTable::storeOf(Object& target) const
{
    for (const PropertyTable* table = this; table; table = table->m_parent) {
        if (table->m_hooks.storeOf)
            return table->m_hooks.storeOf(target);
    }
    throw RuntimeException("objects of class " + std::string(m_schema.className()) + " keep no property values");
}

void PropertyTable::checkReady(Object& target) const
{
    for (const PropertyTable* table = this; table; table = table->m_parent) {
        if (table->m_hooks.ready)
            table->m_hooks.ready(target);
    }
}

}
