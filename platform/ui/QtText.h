#pragma once

// Private to the framework: conversions between its strings and Qt's.

#include "String.h"

#include <QString>

#include <string_view>

namespace platform {

inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString toQString(const String& s)
{
    return toQString(s.bytes());
}

inline String fromQString(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    return String(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}
