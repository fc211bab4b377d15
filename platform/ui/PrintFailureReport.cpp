#include "PrintFailureReport.h"

#include "UserReport.h"

#include <string>

namespace platform {

namespace {

const char* consequence(const PrintJobException& failure)
{
    if (failure.name().empty())
        return "Nothing was printed.";
    if (failure.target() == PrintJobException::Target::File)
        return "Nothing was written; any earlier file there is unchanged.";
    return "The page was not printed.";
}

}

void reportPrintFailure(const PrintJobException& failure) noexcept
{
    try {
        const std::string said = failure.name().empty() ? std::string("could not print: ") + failure.what() : failure.what();
        const std::string what = said + ". " + consequence(failure);
        tellUser(what, QMessageBox::Warning, QStringLiteral("Sumwise ") + QString::fromStdString(what));
    } catch (...) {
        // The line on standard error is the report of last resort; nothing may leave here.
    }
}

}
