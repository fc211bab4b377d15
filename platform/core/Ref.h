#pragma once

#include "NilObjectException.h"

#include <cstddef>
#include <type_traits>
#include <utility>

namespace platform {

// A counted reference: copying takes a reference, destruction releases it, so every way out
// of a routine (an exception included) gives back what it held. An empty Ref is nil.
template<class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* object) noexcept
        : m_ptr(object)
    {
        if (m_ptr)
            m_ptr->retain();
    }
    Ref(const Ref& other) noexcept
        : Ref(other.m_ptr)
    {
    }
    Ref(Ref&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template<class U>
        requires std::is_convertible_v<U*, T*>
    Ref(const Ref<U>& other) noexcept
        : Ref(static_cast<T*>(other.get()))
    {
    }
    ~Ref()
    {
        if (m_ptr)
            m_ptr->release();
    }

    Ref& operator=(Ref other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    T* get() const noexcept { return m_ptr; }
    T& operator*() const { return object(); }
    T* operator->() const { return &object(); }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }
    bool isNil() const noexcept { return m_ptr == nullptr; }

    // The object itself; nil here is the program's error, reported as the nil-object exception.
    T& object() const
    {
        if (!m_ptr)
            RaiseNilObjectException();
        return *m_ptr;
    }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.m_ptr == b.m_ptr; }

private:
    T* m_ptr = nullptr;
};

}
