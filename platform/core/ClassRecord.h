#pragma once

#include "Callable.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace platform {

class Object;
class Invoker;

struct Slot {
    std::string name;
    Code code;
};

// Short names for the parameters slots take, for the classes' declaration tables and signatures:
// `using namespace slotParameters;` where a table is written.
namespace slotParameters {
using I32 = std::int32_t;
using Obj = const Ref<Object>&;
using Str = const String&;
}

// One row of a class's method table, as its declaration lists it.
struct SlotRow {
    std::size_t slot;
    const char* name;
    Code code;
};

struct EventEntry {
    std::string_view name;
    // The handlers' signature: the object that raised the event, then the event's own arguments.
    const std::type_info* signature = nullptr;
    Code handler; // null: the framework's default behaviour
};

struct Attribute {
    String name;
    std::optional<String> value;
};

enum MemberFlags : std::uint32_t { MemberPublic = 1, MemberInstance = 2 };

template<class Signature>
struct ClassEvent;

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
    // A class's own rows, which fill the slots from First, its parent's count, up to Last, its own
    // count: one row for each, in slot order.
    template<std::size_t First, std::size_t Last, std::size_t N>
    void declareSlots(const SlotRow (&rows)[N])
    {
        static_assert(N == Last - First, "a class declares one row for every slot it adds");
        declareSlots(First, rows, N);
    }

    template<class Signature, class... Args>
    decltype(auto) callSlot(std::size_t index, Args&&... args) const
    {
        const Slot& s = slot(index);
        return s.code->call<Signature>(CallSite(m_name.bytes(), s.name), std::forward<Args>(args)...);
    }

    // The class's own events, after its parent's, in table order.
    template<class... Signatures>
    void declareEvents(const ClassEvent<Signatures>&... events)
    {
        (declareEvent(events.name, typeid(typename ClassEvent<Signatures>::Handler)), ...);
    }
    const std::vector<EventEntry>& events() const noexcept { return m_events; }
    // The handler of the named event; null when none is installed. An event the class does not
    // declare is refused.
    Code eventHandler(std::string_view event) const;
    // Refuses an event the class does not declare, or a handler of another signature for it.
    void checkHandler(std::string_view event, const Code& handler) const;
    // Installs the handler of a declared event; a handler of another signature is refused.
    void setEventHandler(std::string_view event, Code handler);
    template<class Signature>
    void setEventHandler(const ClassEvent<Signature>& event, Code handler)
    {
        setEventHandler(event.name, std::move(handler));
    }

    std::vector<MemberRecord>& members() noexcept { return m_members; }
    const std::vector<MemberRecord>& members() const noexcept { return m_members; }
    const MemberRecord* findMember(std::string_view name) const noexcept;

    std::vector<Attribute>& attributes() noexcept { return m_attributes; }
    const std::vector<Attribute>& attributes() const noexcept { return m_attributes; }

    const Factory& factory() const noexcept;
    void setFactory(Factory factory) { m_factory = std::move(factory); }

private:
    // The entry of a declared event; an undeclared one is refused.
    const EventEntry& declaredEvent(std::string_view event) const;
    void declareSlots(std::size_t first, const SlotRow* rows, std::size_t count);
    void declareEvent(std::string_view name, const std::type_info& signature);

    String m_name;
    const ClassRecord* m_parent;
    Factory m_factory;
    std::vector<Slot> m_methods;
    std::vector<EventEntry> m_events;
    std::vector<MemberRecord> m_members;
    std::vector<Attribute> m_attributes;
};

// Makes the storage of a class's objects; a class whose constructor is private befriends it.
template<class T>
struct StorageMaker {
    static Object* make(const ClassRecord& record) { return new T(record); }
};

// A class's record, built once by its builder and kept from then on. Every class, the framework's
// and the program's, is declared through one: build() runs the builder's steps in their fixed
// order (the parent's record first, then the new record stored at once, named, and given a method
// table of the parent's slots and room for its own), and fill() adds the class's own rows. It
// does nothing once the record exists.
class ClassCache {
public:
    explicit operator bool() const noexcept { return m_record != nullptr; }
    // Mutable, as a record is: a program may replace a slot's code, and tests inject failures so.
    ClassRecord& operator*() const noexcept { return *m_record; }
    ClassRecord* operator->() const noexcept { return m_record.get(); }
    ClassRecord* get() const noexcept { return m_record.get(); }

    template<class Fill>
    const ClassRecord& build(const ClassRecord& (*parent)(), const char* name, std::size_t slotCount, Fill&& fill,
                             ClassRecord::Factory factory = {})
    {
        if (!m_record) {
            start(parent ? &parent() : nullptr, name, slotCount, std::move(factory));
            fill(*m_record);
        }
        return *m_record;
    }

    // __Lookup: the record, built by the class's builder when it is missing.
    const ClassRecord& lookup(void (*builder)())
    {
        if (!m_record)
            builder();
        return *m_record;
    }

private:
    void start(const ClassRecord* parent, const char* name, std::size_t slotCount, ClassRecord::Factory factory);

    std::unique_ptr<ClassRecord> m_record;
};

std::unique_ptr<ClassRecord> RuntimeNewClass(const ClassRecord* parent);
// Sizes the method table to count slots, the parent's first, in the parent's order.
void RuntimeNewVtable(ClassRecord& record, std::size_t count);

Ref<Object> RuntimeNewObject(const ClassRecord& record);
// The object as the given class, as a new reference; nil stays nil; another class is refused.
Ref<Object> RuntimeCheckCast(const Ref<Object>& object, const ClassRecord& record);

}
