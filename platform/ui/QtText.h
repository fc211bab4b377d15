#pragma once

// Private to the framework: conversions between its strings and Qt's.

#include "String.h"

#include <QString>

namespace platform {

inline QString toQString(const String& s)
{
    return QString::fromUtf8(s.bytes().data(), static_cast<qsizetype>(s.size()));
}

inline String fromQString(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    return String(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}
