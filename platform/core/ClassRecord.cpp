#include "ClassRecord.h"

#include "IllegalCastException.h"
#include "Object.h"
#include "OutOfBoundsException.h"
#include "SignatureMismatchException.h"

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

void ClassRecord::declareSlots(std::size_t first, const SlotRow* rows, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (rows[i].slot != first + i)
            throw RuntimeException(m_name.toStdString() + ": the row of " + rows[i].name + " stands at slot "
                                   + std::to_string(first + i) + " but names slot " + std::to_string(rows[i].slot));
        setSlot(rows[i].slot, rows[i].name, rows[i].code);
    }
}

void ClassRecord::declareEvent(std::string_view name, const std::type_info& signature)
{
    m_events.push_back(EventEntry { name, &signature, nullptr });
}

const EventEntry& ClassRecord::declaredEvent(std::string_view event) const
{
    for (const EventEntry& e : m_events) {
        if (e.name == event)
            return e;
    }
    throw OutOfBoundsException(m_name.toStdString() + " has no event " + std::string(event));
}

Code ClassRecord::eventHandler(std::string_view event) const
{
    return declaredEvent(event).handler;
}

void ClassRecord::checkHandler(std::string_view event, const Code& handler) const
{
    const EventEntry& entry = declaredEvent(event);
    if (handler && handler->signature() != *entry.signature)
        throw SignatureMismatchException(m_name.toStdString() + "." + std::string(event) + ": a handler of "
                                         + handler->signature().name() + " for an event whose handlers are "
                                         + entry.signature->name());
}

void ClassRecord::setEventHandler(std::string_view event, Code handler)
{
    checkHandler(event, handler);
    const_cast<EventEntry&>(declaredEvent(event)).handler = std::move(handler); // an entry of this record
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

void ClassCache::start(const ClassRecord* parent, const char* name, std::size_t slotCount, ClassRecord::Factory factory)
{
    m_record = RuntimeNewClass(parent);
    m_record->setName(String(name));
    m_record->setFactory(std::move(factory));
    RuntimeNewVtable(*m_record, slotCount);
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
