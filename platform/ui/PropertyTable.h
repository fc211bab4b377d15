#pragma once

#include "PropertyRow.h"
#include "PropertySchema.h"
#include "PropertyStore.h"

#include <initializer_list>
#include <vector>

namespace platform {

class Object;

// What a class of objects adds to its property table; outside the table's class so that a
// table's constructor can default it.
struct PropertyTableHooks {
    // Where an object keeps the values of its kept properties; given by a root class.
    PropertyStore& (*storeOf)(Object&) = nullptr;
    // Throws when the object cannot take values now; runs before anything is applied.
    void (*ready)(Object&) = nullptr;
};

// The properties a property string can set on an object of one framework class: the class's own
// rows, one for each property its schema declares, then those of its parent's table.
class PropertyTable {
public:
    using Hooks = PropertyTableHooks;

    // Rows shared with other classes come after the class's own. Throws RuntimeException when the
    // rows and the schema's declarations of the class differ: a property unbound, bound twice or
    // bound to accessors of another type, a range on a property that is no Int32.
    PropertyTable(const PropertySchema& schema, const PropertyTable* parent, std::initializer_list<PropertyRow> rows,
                  const std::vector<PropertyRow>& shared = {}, Hooks hooks = {});

    const PropertySchema& schema() const noexcept { return m_schema; }

    // The row of a property by its own name, the class's before its ancestors'.
    const PropertyRow& row(std::string_view name) const;
    PropertyStore& storeOf(Object& target) const;
    void checkReady(Object& target) const;

private:
    void check() const;

    const PropertySchema& m_schema;
    const PropertyTable* m_parent;
    std::vector<PropertyRow> m_rows;
    Hooks m_hooks;
};

}
