#include "PropertySchema.h"
#include "PropertyStrings.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

// Usage: propertystring_seeds <corpus directory> <dictionary file>
int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus directory> <dictionary file>\n", argv[0]);
        return 2;
    }
    for (const auto& constant : PropertyStrings::all()) {
        std::ofstream out(std::string(argv[1]) + "/" + std::string(constant.target), std::ios::binary);
        out.write(constant.bytes.data(), static_cast<std::streamsize>(constant.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write the seed %s into %s\n", std::string(constant.target).c_str(), argv[1]);
            return 1;
        }
    }

    // Names with their space, so that the fuzzer reaches the value readers instead of the unknown-name refusal.
    std::set<std::string> names;
    for (const platform::PropertySchema* schema : platform::PropertySchema::all()) {
        for (const auto& info : schema->entryNames())
            names.insert(std::string(info.entryName));
    }
    std::ofstream dictionary(argv[2]);
    for (const std::string& name : names)
        dictionary << '"' << name << " \"\n";
    dictionary << "\"\\x00\\x00\\x00\\x00\"\n\"\\xFF\\xFF\\xFF\\xFF\"\n\"\\x80\\x00\\x00\\x00\"\n";
    if (!dictionary) {
        std::fprintf(stderr, "cannot write the dictionary %s\n", argv[2]);
        return 1;
    }
    return 0;
}
