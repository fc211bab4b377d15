#pragma once

// Private to the framework: the Qt application that its widgets need.

#include "UnsupportedOperationException.h"

#include <QApplication>

#include <string>

namespace platform {

inline QApplication& requireApplication(const std::string& what)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        throw UnsupportedOperationException(what + " can only be shown once the application has started");
    return *app;
}

}
