#include "PrintFailureReport.h"

#include "Runtime.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
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
        std::fprintf(stderr, "Sumwise: %s\n", what.c_str());
        std::fflush(stderr);
        if (runtimeShowsWindows())
            QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Sumwise"),
                                 QStringLiteral("Sumwise ") + QString::fromStdString(what));
    } catch (...) {
        // The line on standard error is the report of last resort; nothing may leave here.
    }
}

}
