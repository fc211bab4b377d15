#include "Invoker.h"

#include "ClassRecord.h"
#include "RuntimeException.h"
#include "SignatureMismatchException.h"
#include "UnsupportedOperationException.h"

#include <map>
#include <memory>

namespace platform {

namespace {

const char* typeName(char letter)
{
    switch (letter) {
    case 'o':
        return "an object";
    case 's':
        return "a string";
    case 'i':
        return "an Int32";
    case 'b':
        return "a Boolean";
    case 'd':
        return "a Double";
    }
    return "nothing";
}

const char* valueTypeName(const Value& v)
{
    switch (v.index()) {
    case 1:
        return "an Int32";
    case 2:
        return "a Double";
    case 3:
        return "a Boolean";
    case 4:
        return "a string";
    case 5:
        return "an object";
    }
    return "nothing";
}

bool isOfClass(const Object& object, std::string_view className)
{
    for (const ClassRecord* r = &object.record(); r; r = r->parent()) {
        if (r->name().bytes() == className)
            return true;
    }
    return false;
}

}

// Parses "%R%A..." where each type is one letter, or "o<Class>" for an object.
std::vector<Invoker::Type> Invoker::parseTypes(std::string_view text, const std::string& whole)
{
    std::vector<Type> types;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == 'o') {
            Type t { 'o', {} };
            if (i + 1 < text.size() && text[i + 1] == '<') {
                const std::size_t close = text.find('>', i);
                if (close == std::string_view::npos)
                    throw RuntimeException("reflection signature " + whole + " has an unclosed class name");
                t.className = std::string(text.substr(i + 2, close - i - 2));
                i = close;
            }
            types.push_back(std::move(t));
        } else if (c == 's' || c == 'i' || c == 'b' || c == 'd') {
            types.push_back(Type { c, {} });
        } else {
            throw RuntimeException("reflection signature " + whole + " has an unknown type letter '"
                                   + std::string(1, c) + "'");
        }
    }
    return types;
}

Invoker::Invoker(std::string signature)
    : m_signature(std::move(signature))
{
    if (m_signature.size() < 2 || m_signature[0] != '%')
        throw RuntimeException("reflection signature " + m_signature + " does not start with %");
    const std::size_t second = m_signature.find('%', 1);
    if (second == std::string::npos)
        throw RuntimeException("reflection signature " + m_signature + " lacks its second %");
    std::vector<Type> result = parseTypes(std::string_view(m_signature).substr(1, second - 1), m_signature);
    if (result.size() > 1)
        throw RuntimeException("reflection signature " + m_signature + " has more than one result");
    if (!result.empty())
        m_result = std::move(result[0]);
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

bool Invoker::isLookupByName() const noexcept
{
    return m_result && m_result->letter == 'o' && m_params.size() == 1 && m_params[0].letter == 's';
}

Value Invoker::invoke(const Code& code, const std::string& memberName, Object& self, const std::vector<Value>& args) const
{
    if (args.size() != m_params.size())
        throw SignatureMismatchException(memberName + " (" + m_signature + ") takes " + std::to_string(m_params.size())
                                         + " argument(s), given " + std::to_string(args.size()));
    for (std::size_t i = 0; i < args.size(); ++i) {
        const char want = m_params[i].letter;
        const std::size_t index = args[i].index();
        const bool fits = (want == 'i' && index == 1) || (want == 'd' && index == 2) || (want == 'b' && index == 3)
                          || (want == 's' && index == 4) || (want == 'o' && index == 5);
        if (!fits)
            throw SignatureMismatchException("argument " + std::to_string(i + 1) + " of " + memberName + " ("
                                             + m_signature + ") must be " + typeName(want) + ", given "
                                             + valueTypeName(args[i]));
    }
    const char result = m_result ? m_result->letter : 0;
    // The shapes of signature this framework publishes; others are refused rather than guessed.
    if (m_params.empty()) {
        switch (result) {
        case 0:
            code->call<void(Object&)>(memberName, self);
            return {};
        case 'o':
            return checkedObject(code->call<Ref<Object>(Object&)>(memberName, self), memberName);
        case 's':
            return code->call<String(Object&)>(memberName, self);
        case 'i':
            return code->call<std::int32_t(Object&)>(memberName, self);
        case 'b':
            return code->call<bool(Object&)>(memberName, self);
        case 'd':
            return code->call<double(Object&)>(memberName, self);
        }
    }
    if (isLookupByName())
        return checkedObject(
            code->call<Ref<Object>(Object&, const String&)>(memberName, self, std::get<String>(args[0])), memberName);
    throw UnsupportedOperationException("no reflection invoker for the signature " + m_signature + " of "
                                        + memberName);
}

Ref<Object> Invoker::checkedObject(Ref<Object> result, const std::string& memberName) const
{
    const std::string& className = m_result->className;
    if (result && !className.empty() && !isOfClass(*result, className))
        throw SignatureMismatchException(memberName + " (" + m_signature + ") gave an object of class "
                                         + result->record().name().toStdString() + ", not a " + className);
    return result;
}

Value RuntimeInvokeMember(Object& self, std::string_view name, const std::vector<Value>& args)
{
    const MemberRecord* member = self.record().findMember(name);
    if (!member)
        throw RuntimeException("class " + self.record().name().toStdString() + " has no member "
                               + std::string(name));
    const Invoker& invoker = member->invoker ? *member->invoker : Invoker::forSignature(member->signature.bytes());
    if (args.empty() && invoker.isLookupByName())
        return invoker.invoke(member->code, member->name.toStdString(), self, { Value(member->name) });
    return invoker.invoke(member->code, member->name.toStdString(), self, args);
}

void RuntimeAllocateAttributeTable(MemberRecord& member, std::size_t count)
{
    member.attributes.assign(count, Attribute {});
}

void publishMember(ClassRecord& record, const char* name, const char* signature, Code code, bool hidden)
{
    MemberRecord member;
    member.name = String(name);
    member.signature = String(signature);
    member.code = std::move(code);
    member.invoker = &Invoker::forSignature(signature);
    member.flags = MemberPublic | MemberInstance;
    RuntimeAllocateAttributeTable(member, hidden ? 2 : 1);
    member.attributes[0] = Attribute { String("__Scope"), String("Public") };
    if (hidden)
        member.attributes[1] = Attribute { String("Hidden"), std::nullopt };
    record.members().push_back(std::move(member));
}

}
