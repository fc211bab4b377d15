#pragma once

#include "platform/Callable.h"
#include "platform/Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The generic caller of reflection members that share one signature text, such as "%%" (no
// result, no arguments) or "%o<MenuItem>%" (an object result, no arguments). One per signature.
class Invoker {
public:
    static const Invoker& forSignature(std::string_view signature);

    const std::string& signature() const noexcept { return m_signature; }
    // Checks the argument count and types against the signature, then calls the code.
    Value invoke(const Code& code, const std::string& memberName, Object& self, const std::vector<Value>& args) const;

    explicit Invoker(std::string signature);

private:
    std::string m_signature;
    char m_result;              // 0 none, 'o' object, 's' string, 'i' Int32, 'b' Boolean
    std::vector<char> m_params; // same letters
};

struct MemberRecord;
class ClassRecord;

// Calls a published member of the object's class by name.
Value RuntimeInvokeMember(Object& self, std::string_view name, const std::vector<Value>& args = {});

// Room for count attributes on a member, which the caller then fills.
void RuntimeAllocateAttributeTable(MemberRecord& member, std::size_t count);

}
