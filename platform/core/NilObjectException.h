#pragma once

#include "RuntimeException.h"

namespace platform {

class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const std::string& message = "nil object used where an object is needed")
        : RuntimeException(message) {}
    const char* kind() const noexcept override { return "NilObjectException"; }
};

[[noreturn]] void RaiseNilObjectException();

}
