#include "Delegate.h"

namespace platform {

const ClassRecord& Delegate::Lookup()
{
    static ClassCache cache;
    return cache.build(nullptr, "Delegate", 0, [](ClassRecord&) {});
}

Delegate::Delegate(const ClassRecord& record, InvokerFn invoker, Code code, Ref<Object> target, String signature)
    : Object(record)
    , m_invoker(invoker)
    , m_code(std::move(code))
    , m_target(std::move(target))
    , m_signature(std::move(signature))
{
}

void Delegate::Invoke(const Delegate& d)
{
    d.m_code->call<void()>("Delegate.Invoke");
}

void Delegate::IM_Invoke(const Delegate& d)
{
    d.m_code->call<void(Object&)>("Delegate.IM_Invoke", d.m_target.object());
}

Ref<Object> RuntimeCreateDelegate(Delegate::InvokerFn invoker, Code code, const Ref<Object>& target, const String& signature)
{
    if (!invoker || !code)
        throw RuntimeException("a delegate needs an invoker and code");
    return Ref<Object>(new Delegate(Delegate::Lookup(), invoker, std::move(code), target, signature));
}

}
