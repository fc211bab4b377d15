#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding : std::uint8_t { UTF8, ASCII };

// An immutable text value: shared bytes, a length and an encoding. Zero bytes are ordinary
// bytes; the empty text and nil are the same value.
class String {
public:
    String() noexcept = default;
    String(std::string_view bytes, TextEncoding encoding = TextEncoding::UTF8);
    String(const char* utf8)
        : String(std::string_view(utf8))
    {
    }

    static String ascii(std::string_view bytes) { return String(bytes, TextEncoding::ASCII); }

    std::string_view bytes() const noexcept { return m_data ? std::string_view(m_data->bytes) : std::string_view(); }
    std::string toStdString() const { return std::string(bytes()); }
    std::size_t size() const noexcept { return m_data ? m_data->bytes.size() : 0; }
    bool isEmpty() const noexcept { return !m_data; }
    TextEncoding encoding() const noexcept { return m_data ? m_data->encoding : TextEncoding::UTF8; }

    friend bool operator==(const String& a, const String& b) noexcept { return a.bytes() == b.bytes(); }

private:
    struct Data {
        std::string bytes;
        TextEncoding encoding;
    };
    std::shared_ptr<const Data> m_data;
};

String RuntimeAddString(const String& a, const String& b);

// Byte-wise comparison, letter case significant: negative, 0 or positive.
int RuntimeStringCompare(const String& a, const String& b) noexcept;

}
