#include "PropertyTable.h"

#include "RuntimeException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace platform;

namespace {

constexpr PropertySchema::Declared baseDeclared[] = { { "Caption", PropertyType::String } };
constexpr PropertySchema baseSchema("Base", nullptr, baseDeclared);
constexpr PropertySchema::Declared derivedDeclared[] = {
    { "Count", PropertyType::Int32 },
    { "Shown", PropertyType::Boolean, "shown" },
};
constexpr PropertySchema derivedSchema("Derived", &baseSchema, derivedDeclared);

constexpr PropertyRange small { 0, 9 };

void setCount(Object&, std::int32_t, std::int32_t) {}
std::int32_t count(Object&)
{
    return 0;
}
void setShown(Object&, std::int32_t, bool) {}
bool shown(Object&)
{
    return false;
}

const PropertyTable& base()
{
    static const PropertyTable table(baseSchema, nullptr, { PropertyRow::kept("Caption") });
    return table;
}

PropertyTable derived(std::initializer_list<PropertyRow> rows, const PropertyTable* parent = &base())
{
    return PropertyTable(derivedSchema, parent, rows);
}

PropertyRow kept(std::string_view name)
{
    return PropertyRow::kept(name);
}

struct RowsCase {
    const char* label;
    std::function<PropertyTable()> make;
    const char* named; // the property the refusal names; empty when the rows are sound
};

const RowsCase rowsCases[] = {
    { "Sound", [] { return derived({ { "Count", small, setCount, count }, { "Shown", setShown, shown } }); }, "" },
    { "Unbound", [] { return derived({ { "Count", setCount, count } }); }, "Shown" },
    { "BoundTwice", [] { return derived({ kept("Count"), { "Count", setCount, count }, kept("Shown") }); }, "Count" },
    { "BoundByAlias", [] { return derived({ kept("Count"), kept("shown") }); }, "Shown" },
    { "Undeclared", [] { return derived({ kept("Count"), kept("Shown"), kept("Colour") }); }, "Colour" },
    { "InheritedBoundAgain", [] { return derived({ kept("Count"), kept("Shown"), kept("Caption") }); }, "Caption" },
    { "AccessorsOfAnotherType", [] { return derived({ kept("Count"), { "Shown", setCount, count } }); }, "Shown" },
    { "KeptWithAGetterOfAnotherType",
      [] { return derived({ kept("Count"), PropertyRow::kept("Shown", setShown, count) }); }, "Shown" },
    { "RangeOnABoolean", [] { return derived({ kept("Count"), PropertyRow::kept("Shown", small, setShown) }); },
      "Shown" },
    { "ParentNotTheSchemas", [] { return derived({ kept("Count"), kept("Shown") }, nullptr); }, "parent" },
};

void PrintTo(const RowsCase& c, std::ostream* os)
{
    *os << c.label;
}

class ClassRows : public ::testing::TestWithParam<RowsCase> {};

// Guards: a class whose rows drift from what its strings may name (a property a string can hold
// that nothing applies, one applied twice or as another type, a range the applier would read from a
// Boolean) being accepted until a string happens to meet it.
TEST_P(ClassRows, AreCheckedAgainstTheSchemaWhenTheTableIsBuilt)
{
    const RowsCase& c = GetParam();
    if (*c.named == '\0') {
        EXPECT_NO_THROW(c.make());
        return;
    }
    try {
        c.make();
        ADD_FAILURE() << "accepted";
    } catch (const RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ClassRows, ::testing::ValuesIn(rowsCases),
                         [](const auto& info) { return std::string(info.param.label); });

}
