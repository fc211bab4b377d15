#include "ClassRecord.h"

#include "IllegalCastException.h"
#include "Object.h"
#include "OutOfBoundsException.h"

namespace platform {

ClassRecord::ClassRecord(String name, const ClassRecord* parent, Factory factory)
    : m_name(std::move(name))
    , m_parent(parent)
    , m_factory(std::move(factory))
{
    if (parent) {
        m_methods = parent->m_methods;
        m_events = parent->m_events;
    }
}

bool ClassRecord::inheritsFrom(const ClassRecord& ancestor) const noexcept
{
    for (const ClassRecord* r = this; r; r = r->m_parent) {
        if (r == &ancestor)
            return true;
    }
    return false;
}

const Slot& ClassRecord::slot(std::size_t index) const
{
    if (index >= m_methods.size() || !m_methods[index].code)
        throw OutOfBoundsException(m_name.toStdString() + " has no operation in slot " + std::to_string(index));
    return m_methods[index];
}

void ClassRecord::setSlot(std::size_t index, std::string name, Code code)
{
    if (index >= m_methods.size())
        throw OutOfBoundsException(m_name.toStdString() + ": slot " + std::to_string(index) + " is past the table");
    m_methods[index] = Slot { std::move(name), std::move(code) };
}

std::size_t ClassRecord::appendSlot(std::string name, Code code)
{
    m_methods.push_back(Slot { std::move(name), std::move(code) });
    return m_methods.size() - 1;
}

std::optional<std::size_t> ClassRecord::findSlot(std::string_view name) const noexcept
{
    for (std::size_t i = 0; i < m_methods.size(); ++i) {
        if (m_methods[i].name == name)
            return i;
    }
    return std::nullopt;
}

Code ClassRecord::eventHandler(std::string_view event) const noexcept
{
    for (const EventEntry& e : m_events) {
        if (e.name == event)
            return e.handler;
    }
    return nullptr;
}

void ClassRecord::setEventHandler(std::string_view event, Code handler)
{
    for (EventEntry& e : m_events) {
        if (e.name == event) {
            e.handler = std::move(handler);
            return;
        }
    }
    throw OutOfBoundsException(m_name.toStdString() + " has no event " + std::string(event));
}

const MemberRecord* ClassRecord::findMember(std::string_view name) const noexcept
{
    for (const ClassRecord* r = this; r; r = r->m_parent) {
        for (const MemberRecord& m : r->m_members) {
            if (m.name.bytes() == name)
                return &m;
        }
    }
    return nullptr;
}

const ClassRecord::Factory& ClassRecord::factory() const noexcept
{
    const ClassRecord* r = this;
    while (!r->m_factory && r->m_parent)
        r = r->m_parent;
    return r->m_factory;
}

std::unique_ptr<ClassRecord> RuntimeNewClass(const ClassRecord* parent)
{
    return std::make_unique<ClassRecord>(String(), parent);
}

void RuntimeNewVtable(ClassRecord& record, std::size_t count)
{
    record.methods().resize(count);
}

Ref<Object> RuntimeNewObject(const ClassRecord& record)
{
    const ClassRecord::Factory& make = record.factory();
    if (!make)
        throw RuntimeException("class " + record.name().toStdString() + " cannot be instantiated");
    return Ref<Object>(make(record));
}

Ref<Object> RuntimeCheckCast(const Ref<Object>& object, const ClassRecord& record)
{
    if (!object)
        return nullptr;
    if (!object->isA(record))
        throw IllegalCastException("an object of class " + object->record().name().toStdString()
                                   + " is not a " + record.name().toStdString());
    return object;
}

}
