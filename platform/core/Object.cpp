#include "Object.h"

#include "ClassRecord.h"

#include <cassert>

namespace platform {

namespace {
long s_liveInstances = 0;
}

Object::Object(const ClassRecord& record)
    : m_record(&record)
{
    ++s_liveInstances;
}

Object::~Object()
{
    assert(m_refCount == 0 && "an object died while references to it remained");
    --s_liveInstances;
}

bool Object::isA(const ClassRecord& record) const noexcept
{
    return m_record->inheritsFrom(record);
}

long Object::liveInstances() noexcept
{
    return s_liveInstances;
}

}
