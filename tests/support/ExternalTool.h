#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace testsupport {

// What a command-line tool (pdftotext, pdffonts) printed; a tool that fails or hangs fails the test.
std::string runTool(const QString& program, const QStringList& arguments);

}
