#pragma once

#include "Object.h"
#include "PropertyRange.h"
#include "PropertyStore.h"
#include "PropertyString.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <variant>

namespace platform {

namespace propertyRowDetail {

// The parameters and result of a function, a function pointer or a lambda.
template<class F>
struct Signature : Signature<decltype(&F::operator())> {};
template<class R, class... A>
struct Signature<R (*)(A...)> {
    using Result = R;
    using Parameters = std::tuple<std::remove_cvref_t<A>...>;
};
template<class C, class R, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (*)(A...)> {};

template<class T>
constexpr PropertyType typeOf()
{
    if constexpr (std::is_same_v<T, std::int32_t>)
        return PropertyType::Int32;
    else if constexpr (std::is_same_v<T, bool>)
        return PropertyType::Boolean;
    else if constexpr (std::is_same_v<T, Color>)
        return PropertyType::Color;
    else if constexpr (std::is_same_v<T, String>)
        return PropertyType::String;
    else
        static_assert(!sizeof(T), "a property holds an Int32, a Boolean, a Color or a String");
}

// What a setter takes, (object, value) or the framework's (object, index, value): its last
// parameter; void for a hook that takes the object alone.
template<class Set>
struct SetValue {
    using Parameters = typename Signature<Set>::Parameters;
    static constexpr std::size_t arity = std::tuple_size_v<Parameters>;
    using Type = typename std::conditional_t<arity == 1, std::type_identity<void>,
                                             std::tuple_element<arity - 1, Parameters>>::type;
};

}

// One property as its class applies it: the name it is declared under, the Int32 values it
// accepts, and how it is set and read back. The type a string's value is read as is the core
// schema's; the class's table checks that the accessors take that type.
class PropertyRow {
public:
    // The range of a property whose limits depend on the object and on the entries before this
    // one in the same string.
    using Bounds = PropertyRange (*)(Object& target, std::span<const PropertyEntry> earlier);
    using Limits = std::variant<std::monostate, PropertyRange, Bounds>;

    // A property that the object shows: set writes it and get reads it back.
    template<class Set, class Get>
    PropertyRow(std::string_view name, Set set, Get get)
        : PropertyRow(name, Limits {}, set, get)
    {
    }

    template<class Set, class Get>
    PropertyRow(std::string_view name, Limits limits, Set set, Get get)
        : m_name(name)
        , m_limits(limits)
    {
        using Value = typename propertyRowDetail::Signature<Get>::Result;
        static_assert(std::is_same_v<typename propertyRowDetail::SetValue<Set>::Type, Value>,
                      "a property's setter takes what its getter returns");
        setter(set);
        getter(get);
    }

    // A property whose value the object keeps: stored before then runs (which may read it back
    // from the store), and read back from the store unless get is given.
    static PropertyRow kept(std::string_view name) { return PropertyRow(name); }

    template<class Then>
    static PropertyRow kept(std::string_view name, Then then)
    {
        return kept(name, Limits {}, then);
    }

    template<class Then>
    static PropertyRow kept(std::string_view name, Limits limits, Then then)
    {
        PropertyRow row(name, limits);
        row.setter(then);
        return row;
    }

    template<class Then, class Get>
        requires(!std::is_convertible_v<Then, Limits>)
    static PropertyRow kept(std::string_view name, Then then, Get get)
    {
        PropertyRow row = kept(name, then);
        row.getter(get);
        return row;
    }

    std::string_view name() const noexcept { return m_name; }
    // The type its accessors take; none when it is only kept.
    std::optional<PropertyType> type() const noexcept { return m_type; }
    bool isLimited() const noexcept { return !std::holds_alternative<std::monostate>(m_limits); }

    // The values an entry may hold, given the entries before it; none when any Int32 will do.
    std::optional<PropertyRange> range(Object& target, std::span<const PropertyEntry> earlier) const;
    void apply(Object& target, PropertyStore& store, const PropertyValue& value) const;
    // Empty when the property is kept and has not been set.
    std::optional<PropertyValue> read(Object& target, const PropertyStore& store) const;

private:
    // A kept property, its accessors yet to come.
    PropertyRow(std::string_view name, Limits limits = {})
        : m_name(name)
        , m_limits(limits)
        , m_kept(true)
    {
    }

    template<class Set>
    void setter(Set set)
    {
        using Value = typename propertyRowDetail::SetValue<Set>::Type;
        if constexpr (std::is_void_v<Value>) {
            m_set = [set](Object& target, const PropertyValue&) { set(target); };
        } else if constexpr (propertyRowDetail::SetValue<Set>::arity == 2) {
            checkType(propertyRowDetail::typeOf<Value>());
            m_set = [set](Object& target, const PropertyValue& value) { set(target, std::get<Value>(value)); };
        } else {
            checkType(propertyRowDetail::typeOf<Value>());
            m_set = [set](Object& target, const PropertyValue& value) { set(target, 0, std::get<Value>(value)); };
        }
    }

    template<class Get>
    void getter(Get get)
    {
        using Value = typename propertyRowDetail::Signature<Get>::Result;
        checkType(propertyRowDetail::typeOf<Value>());
        m_get = [get](Object& target) -> PropertyValue { return Value(get(target)); };
    }

    void checkType(PropertyType type);

    std::string_view m_name;
    Limits m_limits;
    bool m_kept = false;
    std::optional<PropertyType> m_type;
    std::function<void(Object&, const PropertyValue&)> m_set;
    std::function<PropertyValue(Object&)> m_get;
};

}
