#pragma once

#include "Callable.h"
#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"

namespace platform {

// A bound routine: code, an optional target and an invoker that knows how to call the one with
// the other. Only its code is handed on to the framework's services.
class Delegate final : public Object {
public:
    using InvokerFn = void (*)(const Delegate&);

    static const ClassRecord& Lookup();

    // Calls a routine without arguments: code of signature void().
    static void Invoke(const Delegate& d);
    // Calls a method on the target: code of signature void(Object&).
    static void IM_Invoke(const Delegate& d);

    // Runs the delegate through its invoker, as the framework would for a routine it was handed.
    void call() const { m_invoker(*this); }
    const Code& code() const noexcept { return m_code; }

private:
    Delegate(const ClassRecord& record, InvokerFn invoker, Code code, Ref<Object> target, String signature);
    friend Ref<Object> RuntimeCreateDelegate(InvokerFn, Code, const Ref<Object>&, const String&);

    InvokerFn m_invoker;
    Code m_code;
    Ref<Object> m_target;
    String m_signature;
};

Ref<Object> RuntimeCreateDelegate(Delegate::InvokerFn invoker, Code code, const Ref<Object>& target, const String& signature);

}
