#include "platform/Invoker.h"

#include "platform/ClassRecord.h"
#include "platform/RuntimeException.h"

#include <map>
#include <memory>

namespace platform {

namespace {

// Parses "%R%A..." where each type is one letter, or "o<Class>" for an object.
std::vector<char> parseTypes(std::string_view text, const std::string& whole)
{
    std::vector<char> types;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == 'o') {
            if (i + 1 < text.size() && text[i + 1] == '<') {
                const std::size_t close = text.find('>', i);
                if (close == std::string_view::npos)
                    throw RuntimeException("reflection signature " + whole + " has an unclosed class name");
                i = close;
            }
            types.push_back('o');
        } else if (c == 's' || c == 'i' || c == 'b' || c == 'd') {
            types.push_back(c);
        } else {
            throw RuntimeException("reflection signature " + whole + " has an unknown type letter");
        }
    }
    return types;
}

template<class T>
const T& argAs(const std::vector<Value>& args, std::size_t i, const std::string& member)
{
    if (const T* v = std::get_if<T>(&args[i]))
        return *v;
    throw RuntimeException("argument " + std::to_string(i + 1) + " of " + member + " has the wrong type");
}

}

Invoker::Invoker(std::string signature)
    : m_signature(std::move(signature))
{
    if (m_signature.size() < 2 || m_signature[0] != '%')
        throw RuntimeException("reflection signature " + m_signature + " does not start with %");
    const std::size_t second = m_signature.find('%', 1);
    if (second == std::string::npos)
        throw RuntimeException("reflection signature " + m_signature + " lacks its second %");
    const std::vector<char> result = parseTypes(std::string_view(m_signature).substr(1, second - 1), m_signature);
    if (result.size() > 1)
        throw RuntimeException("reflection signature " + m_signature + " has more than one result");
    m_result = result.empty() ? 0 : result[0];
    m_params = parseTypes(std::string_view(m_signature).substr(second + 1), m_signature);
}

const Invoker& Invoker::forSignature(std::string_view signature)
{
    static std::map<std::string, std::unique_ptr<Invoker>, std::less<>> invokers;
    auto it = invokers.find(signature);
    if (it == invokers.end())
        it = invokers.emplace(std::string(signature), std::make_unique<Invoker>(std::string(signature))).first;
    return *it->second;
}

Value Invoker::invoke(const Code& code, const std::string& memberName, Object& self, const std::vector<Value>& args) const
{
    if (args.size() != m_params.size())
        throw RuntimeException(memberName + " takes " + std::to_string(m_params.size()) + " arguments, given "
                               + std::to_string(args.size()));
    // The signatures this program publishes; others are refused rather than guessed.
    if (m_params.empty()) {
        switch (m_result) {
        case 0:
            code->call<void(Object&)>(memberName, self);
            return {};
        case 'o':
            return code->call<Ref<Object>(Object&)>(memberName, self);
        case 's':
            return code->call<String(Object&)>(memberName, self);
        case 'i':
            return code->call<std::int32_t(Object&)>(memberName, self);
        case 'b':
            return code->call<bool(Object&)>(memberName, self);
        }
    }
    if (m_params.size() == 1 && m_params[0] == 's' && m_result == 'o')
        return code->call<Ref<Object>(Object&, const String&)>(memberName, self, argAs<String>(args, 0, memberName));
    throw RuntimeException("no invoker for the reflection signature " + m_signature);
}

Value RuntimeInvokeMember(Object& self, std::string_view name, const std::vector<Value>& args)
{
    const MemberRecord* member = self.record().findMember(name);
    if (!member)
        throw RuntimeException("class " + self.record().name().toStdString() + " has no member "
                               + std::string(name));
    const Invoker* invoker = member->invoker ? member->invoker : &Invoker::forSignature(member->signature.bytes());
    return invoker->invoke(member->code, member->name.toStdString(), self, args);
}

void RuntimeAllocateAttributeTable(MemberRecord& member, std::size_t count)
{
    member.attributes.assign(count, Attribute {});
}

}
