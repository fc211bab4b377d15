#pragma once

#include "SignatureMismatchException.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>

namespace platform {

template<class Signature>
class TypedCallable;

// Where a call comes from: a class and its slot or event, or one text. The error a mismatched
// signature raises is put together from it only then, not on every call.
struct CallSite {
    CallSite(const char* what)
        : owner(what)
    {
    }
    CallSite(std::string_view what)
        : owner(what)
    {
    }
    CallSite(const std::string& what)
        : owner(what)
    {
    }
    CallSite(std::string_view ownerName, std::string_view memberName)
        : owner(ownerName)
        , member(memberName)
    {
    }

    std::string describe() const
    {
        std::string text(owner);
        if (!member.empty())
            text.append(".").append(member);
        return text;
    }

    std::string_view owner;
    std::string_view member;
};

// A piece of code held by a method-table slot, an event handler or a delegate. It knows its
// own signature, so a call with any other signature fails loudly instead of reinterpreting it.
class Callable {
public:
    virtual ~Callable() = default;
    virtual const std::type_info& signature() const noexcept = 0;

    template<class Signature>
    const TypedCallable<Signature>& as(const CallSite& site) const
    {
        auto* typed = dynamic_cast<const TypedCallable<Signature>*>(this);
        if (!typed)
            throw SignatureMismatchException(site.describe() + " called as " + typeid(Signature).name() + " but holds "
                                             + signature().name());
        return *typed;
    }

    template<class Signature, class... Args>
    decltype(auto) call(const CallSite& site, Args&&... args) const
    {
        return as<Signature>(site)(std::forward<Args>(args)...);
    }
};

template<class R, class... A>
class TypedCallable<R(A...)> final : public Callable {
public:
    explicit TypedCallable(std::function<R(A...)> fn)
        : m_fn(std::move(fn))
    {
    }
    const std::type_info& signature() const noexcept override { return typeid(R(A...)); }
    R operator()(A... args) const { return m_fn(std::forward<A>(args)...); }

private:
    std::function<R(A...)> m_fn;
};

using Code = std::shared_ptr<const Callable>;

template<class Signature, class F>
Code makeCode(F&& fn)
{
    return std::make_shared<const TypedCallable<Signature>>(std::function<Signature>(std::forward<F>(fn)));
}

}
