#pragma once

#include "Callable.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Object;
class Invoker;

struct Slot {
    std::string name;
    Code code;
};

struct EventEntry {
    std::string name;
    Code handler; // null: the framework's default behaviour
};

struct Attribute {
    String name;
    std::optional<String> value;
};

enum MemberFlags : std::uint32_t { MemberPublic = 1, MemberInstance = 2 };

// A member published to reflection: enough to find it by name and call it generically.
struct MemberRecord {
    String name;
    String signature;
    Code code;
    const Invoker* invoker = nullptr;
    std::uint32_t flags = MemberPublic | MemberInstance;
    std::vector<Attribute> attributes;
};

// The behaviour of a class as data: name, parent, ordered method table, event table, reflection
// members and attributes, and the maker of its storage (inherited from the parent when absent).
class ClassRecord {
public:
    using Factory = std::function<Object*(const ClassRecord&)>;

    ClassRecord(String name, const ClassRecord* parent, Factory factory = {});

    const String& name() const noexcept { return m_name; }
    void setName(String name) { m_name = std::move(name); }
    const ClassRecord* parent() const noexcept { return m_parent; }
    bool inheritsFrom(const ClassRecord& ancestor) const noexcept;

    // The method table starts as a copy of the parent's slots; own operations are appended.
    std::vector<Slot>& methods() noexcept { return m_methods; }
    const std::vector<Slot>& methods() const noexcept { return m_methods; }
    const Slot& slot(std::size_t index) const;
    void setSlot(std::size_t index, std::string name, Code code);
    std::size_t appendSlot(std::string name, Code code);
    std::optional<std::size_t> findSlot(std::string_view name) const noexcept;

    template<class Signature, class... Args>
    decltype(auto) callSlot(std::size_t index, Args&&... args) const
    {
        const Slot& s = slot(index);
        return s.code->call<Signature>(m_name.toStdString() + "." + s.name, std::forward<Args>(args)...);
    }

    std::vector<EventEntry>& events() noexcept { return m_events; }
    const std::vector<EventEntry>& events() const noexcept { return m_events; }
    // The handler of the named event, searching this record, then its ancestors'.
    Code eventHandler(std::string_view event) const noexcept;
    void setEventHandler(std::string_view event, Code handler);

    std::vector<MemberRecord>& members() noexcept { return m_members; }
    const std::vector<MemberRecord>& members() const noexcept { return m_members; }
    const MemberRecord* findMember(std::string_view name) const noexcept;

    std::vector<Attribute>& attributes() noexcept { return m_attributes; }
    const std::vector<Attribute>& attributes() const noexcept { return m_attributes; }

    const Factory& factory() const noexcept;

private:
    String m_name;
    const ClassRecord* m_parent;
    Factory m_factory;
    std::vector<Slot> m_methods;
    std::vector<EventEntry> m_events;
    std::vector<MemberRecord> m_members;
    std::vector<Attribute> m_attributes;
};

// A module global holding one class record, built once by its builder.
using ClassCache = std::unique_ptr<ClassRecord>;

std::unique_ptr<ClassRecord> RuntimeNewClass(const ClassRecord* parent);
// Sizes the method table to count slots, the parent's first, in the parent's order.
void RuntimeNewVtable(ClassRecord& record, std::size_t count);

Ref<Object> RuntimeNewObject(const ClassRecord& record);
// The object as the given class, as a new reference; nil stays nil; another class is refused.
Ref<Object> RuntimeCheckCast(const Ref<Object>& object, const ClassRecord& record);

}
