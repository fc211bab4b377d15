#pragma once

#include "RuntimeException.h"

namespace platform {

// A print job that could not start or go on: no writable file, no printer. It is raised instead
// of handing out a page that would print nothing.
class PrintJobException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* kind() const noexcept override { return "PrintJobException"; }
};

}
