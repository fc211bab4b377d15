#pragma once

#include "Callable.h"
#include "Value.h"

#include <optional>
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
    // Checks the argument count and types against the signature, calls the code, and checks that
    // an object result is of the class the signature names. A mismatch raises the
    // signature-mismatch exception, naming the member.
    Value invoke(const Code& code, const std::string& memberName, Object& self, const std::vector<Value>& args) const;
    // One string in, an object out: a lookup by name, such as a window's control accessors.
    bool isLookupByName() const noexcept;

    explicit Invoker(std::string signature);

private:
    struct Type {
        char letter;           // 'o' object, 's' string, 'i' Int32, 'b' Boolean, 'd' Double
        std::string className; // for an object, when the signature names one
    };
    static std::vector<Type> parseTypes(std::string_view text, const std::string& whole);
    Ref<Object> checkedObject(Ref<Object> result, const std::string& memberName) const;

    std::string m_signature;
    std::optional<Type> m_result;
    std::vector<Type> m_params;
};

struct MemberRecord;
class ClassRecord;

// Calls a published member of the object's class by name. A lookup by name called with no
// argument is handed the member's own name, so invoking "PushButton1" on a window gives its
// control of that name.
Value RuntimeInvokeMember(Object& self, std::string_view name, const std::vector<Value>& args = {});

// Room for count attributes on a member, which the caller then fills.
void RuntimeAllocateAttributeTable(MemberRecord& member, std::size_t count);

// Publishes code as a public instance member of record, under name and its reflection signature
// (with the invoker for that signature), scoped "Public"; a hidden member also carries "Hidden".
void publishMember(ClassRecord& record, const char* name, const char* signature, Code code, bool hidden = false);

}
