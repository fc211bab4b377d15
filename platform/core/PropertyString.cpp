#include "PropertyString.h"

#include "PropertyStringException.h"

#include <cstdio>
#include <limits>
#include <string>

namespace platform {

namespace {

// Names in messages may be any bytes at all; keep the message readable and short.
std::string printable(std::string_view bytes)
{
    constexpr std::size_t limit = 40;
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '\'') {
            out += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    if (bytes.size() > limit)
        out += "...";
    return out;
}

std::uint32_t readBigEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void appendBigEndian32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFFu);
}

// Reads one string; knows which entry it is in so that every fault can name it.
class Decoder {
public:
    Decoder(std::string_view data, TextEncoding encoding, const PropertySchema& schema)
        : m_data(data)
        , m_encoding(encoding)
        , m_schema(schema)
    {
    }

    std::vector<PropertyEntry> run()
    {
        std::vector<PropertyEntry> entries;
        while (m_pos < m_data.size()) {
            m_number = entries.size() + 1;
            m_start = m_pos;
            m_nameKnown = false;
            entries.push_back(readEntry());
        }
        return entries;
    }

private:
    PropertyEntry readEntry()
    {
        const std::size_t space = m_data.find(' ', m_pos);
        if (space == std::string_view::npos)
            fail("a name with no following space");
        m_name = m_data.substr(m_pos, space - m_pos);
        if (m_name.empty())
            fail("an empty name");
        m_nameKnown = true;
        const std::optional<PropertyInfo> info = m_schema.find(m_name);
        if (!info)
            fail(std::string(m_schema.className()) + " has no property of this name");
        m_pos = space + 1;

        PropertyEntry entry { info->name, info->entryName, info->declaringClass, {}, m_start };
        switch (info->type) {
        case PropertyType::Int32:
            need(4, "Int32 value");
            entry.value = static_cast<std::int32_t>(readBigEndian32(m_data, m_pos));
            m_pos += 4;
            break;
        case PropertyType::Boolean: {
            need(1, "Boolean value");
            const auto byte = static_cast<unsigned char>(m_data[m_pos]);
            if (byte > 1) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", byte);
                fail("Boolean byte " + std::string(hex) + " at byte " + std::to_string(m_pos)
                     + " is neither 0x00 nor 0x01");
            }
            entry.value = byte == 1;
            m_pos += 1;
            break;
        }
        case PropertyType::Color:
            need(3, "Color value");
            entry.value = Color { static_cast<std::uint8_t>(m_data[m_pos]), static_cast<std::uint8_t>(m_data[m_pos + 1]),
                                  static_cast<std::uint8_t>(m_data[m_pos + 2]) };
            m_pos += 3;
            break;
        case PropertyType::String: {
            need(4, "String count");
            const std::uint32_t count = readBigEndian32(m_data, m_pos);
            const std::size_t after = m_data.size() - m_pos - 4;
            // Compared before any use, so a lying count neither overflows nor allocates.
            if (count > after)
                fail("String count " + std::to_string(count) + " at byte " + std::to_string(m_pos)
                     + " runs past the end: " + std::to_string(after) + " bytes follow");
            entry.value = String(m_data.substr(m_pos + 4, count), m_encoding);
            m_pos += 4 + static_cast<std::size_t>(count);
            break;
        }
        }
        return entry;
    }

    void need(std::size_t size, const char* what)
    {
        const std::size_t left = m_data.size() - m_pos;
        if (left < size)
            fail(std::string(what) + " cut short at byte " + std::to_string(m_pos) + ": needs " + std::to_string(size)
                 + " bytes, " + std::to_string(left) + " left");
    }

    [[noreturn]] void fail(const std::string& what) const
    {
        std::string message = "bad property string for " + std::string(m_schema.className()) + ": entry "
            + std::to_string(m_number);
        if (m_nameKnown)
            message += " '" + printable(m_name) + "'";
        message += " at byte " + std::to_string(m_start) + ": " + what;
        throw PropertyStringException(message, m_number, m_nameKnown ? std::string(m_name) : std::string(), m_start);
    }

    std::string_view m_data;
    TextEncoding m_encoding;
    const PropertySchema& m_schema;
    std::size_t m_pos = 0;
    std::size_t m_number = 0;
    std::size_t m_start = 0;
    std::string_view m_name;
    bool m_nameKnown = false;
};

[[noreturn]] void wrongType(const PropertyEntry& entry, PropertyType wanted)
{
    throw PropertyStringException("property '" + std::string(entry.name) + "' holds "
                                      + std::string(propertyTypeName(entry.type())) + ", not "
                                      + std::string(propertyTypeName(wanted)),
                                  0, std::string(entry.entryName), entry.offset);
}

}

std::int32_t PropertyEntry::asInt32() const
{
    if (const auto* v = std::get_if<std::int32_t>(&value))
        return *v;
    wrongType(*this, PropertyType::Int32);
}

bool PropertyEntry::asBoolean() const
{
    if (const auto* v = std::get_if<bool>(&value))
        return *v;
    wrongType(*this, PropertyType::Boolean);
}

Color PropertyEntry::asColor() const
{
    if (const auto* v = std::get_if<Color>(&value))
        return *v;
    wrongType(*this, PropertyType::Color);
}

const String& PropertyEntry::asString() const
{
    if (const auto* v = std::get_if<String>(&value))
        return *v;
    wrongType(*this, PropertyType::String);
}

std::vector<PropertyEntry> PropertyString::decode(const String& bytes, const PropertySchema& schema)
{
    return Decoder(bytes.bytes(), bytes.encoding(), schema).run();
}

String PropertyString::encode(std::span<const PropertyEntry> entries)
{
    std::string out;
    std::size_t number = 0;
    for (const PropertyEntry& entry : entries) {
        ++number;
        const std::string_view name = entry.entryName.empty() ? entry.name : entry.entryName;
        // Such a name would make the string unreadable from this entry on.
        if (name.empty() || name.find(' ') != std::string_view::npos)
            throw PropertyStringException("cannot write property entry " + std::to_string(number) + " '"
                                              + printable(name) + "': a name is non-empty and holds no space",
                                          number, std::string(name), out.size());
        const std::size_t offset = out.size();
        out.append(name).push_back(' ');
        std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::int32_t>) {
                    appendBigEndian32(out, static_cast<std::uint32_t>(value));
                } else if constexpr (std::is_same_v<T, bool>) {
                    out += value ? '\x01' : '\x00';
                } else if constexpr (std::is_same_v<T, Color>) {
                    out += static_cast<char>(value.red);
                    out += static_cast<char>(value.green);
                    out += static_cast<char>(value.blue);
                } else {
                    if (value.size() > std::numeric_limits<std::uint32_t>::max())
                        throw PropertyStringException("cannot write property entry " + std::to_string(number) + " '"
                                                          + printable(name) + "': its text exceeds a 32-bit count",
                                                      number, std::string(name), offset);
                    appendBigEndian32(out, static_cast<std::uint32_t>(value.size()));
                    out.append(value.bytes());
                }
            },
            entry.value);
    }
    return String(out);
}

}
