#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The root of every error the framework raises; nothing else is thrown across it.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
    virtual const char* kind() const noexcept { return "RuntimeException"; }
};

}
