#pragma once

#include "RuntimeException.h"

namespace platform {

// A slot called with a signature other than the one it holds: a programming error.
class SignatureMismatchException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* kind() const noexcept override { return "SignatureMismatchException"; }
};

}
