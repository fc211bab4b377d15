#pragma once

#include <QMessageBox>
#include <QString>

#include <string>

namespace platform {

// Tells the user what went wrong: "Sumwise: " and line on standard error, flushed at once, and,
// where the windows are on a display someone sees, a message box of the given kind with boxText.
void tellUser(const std::string& line, QMessageBox::Icon icon, const QString& boxText);

}
