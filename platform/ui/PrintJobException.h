#pragma once

#include "RuntimeException.h"

#include <string>

namespace platform {

// A print job that could not start or could not be finished: no writable file, a disk that
// filled, no printer. Raised instead of handing out a page that would print nothing; the print
// layer tells the user, naming where the page was to go and the system's reason.
class PrintJobException : public RuntimeException {
public:
    enum class Target { File, Printer };

    explicit PrintJobException(const std::string& message)
        : RuntimeException(message)
    {
    }
    PrintJobException(Target target, std::string name, std::string reason)
        : RuntimeException(describe(target, name, reason))
        , m_target(target)
        , m_name(std::move(name))
    {
    }

    const char* kind() const noexcept override { return "PrintJobException"; }
    Target target() const noexcept { return m_target; }
    // The file's path or the printer's name; empty when none was given.
    const std::string& name() const noexcept { return m_name; }

private:
    static std::string describe(Target target, const std::string& name, const std::string& reason)
    {
        return std::string(target == Target::File ? "could not print to \"" : "could not print on the printer \"") + name
               + "\": " + reason;
    }

    Target m_target = Target::File;
    std::string m_name;
};

}
