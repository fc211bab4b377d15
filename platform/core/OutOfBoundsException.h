#pragma once

#include "RuntimeException.h"

namespace platform {

class OutOfBoundsException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* kind() const noexcept override { return "OutOfBoundsException"; }
};

}
