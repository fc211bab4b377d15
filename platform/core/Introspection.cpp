#include "Introspection.h"

#include "IntList.h"

#include <map>
#include <memory>
#include <string>

namespace platform {

namespace {

class TypeInfo final : public Object {
public:
    static const ClassRecord& Lookup()
    {
        static ClassCache cache;
        return cache.build(nullptr, "Introspection.TypeInfo", 0, [](ClassRecord&) {});
    }
    explicit TypeInfo(const ClassRecord& described)
        : Object(Lookup())
        , m_described(described)
    {
    }
    const ClassRecord& described() const noexcept { return m_described; }

private:
    const ClassRecord& m_described;
};

using RefMap = std::map<const ClassRecord*, Ref<Object>>;
using NameMap = std::map<std::string, Ref<Object>, std::less<>>;

std::unique_ptr<RefMap> s_classRefMap;
std::unique_ptr<NameMap> s_classFQNToRefMap;
std::unique_ptr<RefMap> s_arrayMap;

}

Ref<Object> Introspection::GetType(Object& object)
{
    const ClassRecord& record = object.record();
    if (!s_classRefMap)
        s_classRefMap = std::make_unique<RefMap>();
    if (!s_classFQNToRefMap)
        s_classFQNToRefMap = std::make_unique<NameMap>();
    Ref<Object>& slot = (*s_classRefMap)[&record];
    if (!slot) {
        slot = Ref<Object>(new TypeInfo(record));
        (*s_classFQNToRefMap)[record.name().toStdString()] = slot;
    }
    return slot;
}

Ref<Object> Introspection::TypeNamed(const String& fullName)
{
    if (!s_classFQNToRefMap)
        return nullptr;
    auto it = s_classFQNToRefMap->find(fullName.bytes());
    return it == s_classFQNToRefMap->end() ? nullptr : it->second;
}

Ref<Object> Introspection::ArrayInfoForInt32List()
{
    if (!s_arrayMap)
        s_arrayMap = std::make_unique<RefMap>();
    Ref<Object>& slot = (*s_arrayMap)[&IntList::Lookup()];
    if (!slot)
        slot = Ref<Object>(new TypeInfo(IntList::Lookup()));
    return slot;
}

void Introspection::ArrayMapExit()
{
    std::unique_ptr<RefMap> dying = std::move(s_arrayMap);
}

void Introspection::ClassFQNToRefMapExit()
{
    std::unique_ptr<NameMap> dying = std::move(s_classFQNToRefMap);
}

void Introspection::ClassRefMapExit()
{
    std::unique_ptr<RefMap> dying = std::move(s_classRefMap);
}

std::size_t Introspection::cachedClassCount() noexcept
{
    return s_classRefMap ? s_classRefMap->size() : 0;
}

}
