#include "String.h"

namespace platform {

String::String(std::string_view bytes, TextEncoding encoding)
{
    if (!bytes.empty())
        m_data = std::make_shared<const Data>(Data { std::string(bytes), encoding });
}

String RuntimeAddString(const String& a, const String& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    std::string joined;
    joined.reserve(a.size() + b.size());
    joined.append(a.bytes()).append(b.bytes());
    return String(joined, a.encoding());
}

int RuntimeStringCompare(const String& a, const String& b) noexcept
{
    return a.bytes().compare(b.bytes());
}

}
