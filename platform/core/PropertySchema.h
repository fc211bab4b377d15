#pragma once

#include "PropertyType.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

// A property as an entry of a property string reaches it. All views point at static storage.
struct PropertyInfo {
    std::string_view name;           // as the property's accessors spell it
    std::string_view entryName;      // as the entry spells it; differs from name only in letter case
    PropertyType type;
    std::string_view declaringClass; // the framework class that declares the property

    friend bool operator==(const PropertyInfo&, const PropertyInfo&) = default;
};

// The properties that a property string may set on an object of one framework class, its own and
// those it inherits, with their declared types. A reader cannot step past an entry without them.
class PropertySchema {
public:
    struct Declared {
        std::string_view name;
        PropertyType type;
        // The other spelling the class's property strings use, when they differ in letter case.
        std::string_view alias = {};
    };

    constexpr PropertySchema(std::string_view className, const PropertySchema* parent,
                             std::span<const Declared> declared) noexcept
        : m_className(className)
        , m_parent(parent)
        , m_declared(declared)
    {
    }

    // Throws UnsupportedOperationException for a class that takes no property strings.
    static const PropertySchema& forClass(std::string_view className);
    static const PropertySchema* tryForClass(std::string_view className) noexcept;
    static std::span<const PropertySchema* const> all() noexcept;

    std::string_view className() const noexcept { return m_className; }
    const PropertySchema* parent() const noexcept { return m_parent; }
    // The class's own properties, without those it inherits.
    std::span<const Declared> declared() const noexcept { return m_declared; }

    // Letter case counts: an entry names a property by its own name or by its alias.
    std::optional<PropertyInfo> find(std::string_view entryName) const noexcept;

    // Every spelling that find accepts, own properties before inherited ones.
    std::vector<PropertyInfo> entryNames() const;

private:
    std::string_view m_className;
    const PropertySchema* m_parent;
    std::span<const Declared> m_declared;
};

}
