#pragma once

#include "platform/RuntimeException.h"

namespace platform {

// An operation of the framework's interface that this implementation cannot perform.
class UnsupportedOperationException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* kind() const noexcept override { return "UnsupportedOperationException"; }
};

}
