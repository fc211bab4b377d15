#include "UserReport.h"

#include "Runtime.h"

#include <QApplication>

#include <cstdio>

namespace platform {

void tellUser(const std::string& line, QMessageBox::Icon icon, const QString& boxText)
{
    std::fprintf(stderr, "Sumwise: %s\n", line.c_str());
    std::fflush(stderr);
    if (!runtimeShowsWindows())
        return;
    QMessageBox box(icon, QStringLiteral("Sumwise"), boxText, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}
