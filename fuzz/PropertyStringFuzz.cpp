#include "PropertySchema.h"
#include "PropertyString.h"
#include "PropertyStringException.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace platform;

namespace {

[[noreturn]] void broken(const char* what, std::string_view className)
{
    std::fprintf(stderr, "property string decoder broke an invariant for %.*s: %s\n",
                 static_cast<int>(className.size()), className.data(), what);
    std::abort();
}

// What decoding promises beyond not crashing: entries tile the input from its first byte, and
// writing them back gives the input exactly.
void check(const String& input, const PropertySchema& schema, const std::vector<PropertyEntry>& entries)
{
    std::size_t previous = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((i == 0 && entries[i].offset != 0) || (i > 0 && entries[i].offset <= previous))
            broken("entry offsets do not start at 0 and rise", schema.className());
        previous = entries[i].offset;
        if (entries[i].type() != schema.find(entries[i].entryName)->type)
            broken("an entry holds a value of another type than its property's", schema.className());
    }
    if (!(PropertyString::encode(entries) == input))
        broken("writing the entries back does not give the input", schema.className());
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const String input(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const PropertySchema* schema : PropertySchema::all()) {
        try {
            check(input, *schema, PropertyString::decode(input, *schema));
        } catch (const PropertyStringException& e) {
            if (e.entryNumber() == 0 || e.offset() >= size)
                broken("a refusal names no entry inside the input", schema->className());
        }
    }
    return 0;
}
