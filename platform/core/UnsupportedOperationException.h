#pragma once

#include "Callable.h"
#include "RuntimeException.h"

#include <string>

namespace platform {

// An operation of the framework's interface that this implementation cannot perform.
class UnsupportedOperationException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* kind() const noexcept override { return "UnsupportedOperationException"; }
};

template<class Signature>
struct UnsupportedCode;

template<class R, class... A>
struct UnsupportedCode<R(A...)> {
    // Code for a slot that says so loudly when called, rather than silently doing nothing.
    static Code make(std::string what)
    {
        return makeCode<R(A...)>([what = std::move(what)](A...) -> R {
            throw UnsupportedOperationException(what + " is not supported by this framework");
        });
    }
};

template<class Signature>
Code unsupportedCode(std::string what)
{
    return UnsupportedCode<Signature>::make(std::move(what));
}

}
