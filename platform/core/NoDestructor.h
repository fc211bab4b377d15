#pragma once

#include <new>
#include <utility>

namespace platform {

// A module global that is never destroyed. Globals that hold windows, menus or the application
// are released by the runtime's shut-down while Qt is still there; when the process ends some
// other way (an exit from inside Qt when the display goes away), a static destructor would
// release them after Qt has gone.
template<class T>
class NoDestructor {
public:
    template<class... Args>
    explicit NoDestructor(Args&&... args)
    {
        new (m_storage) T(std::forward<Args>(args)...);
    }
    NoDestructor(const NoDestructor&) = delete;
    NoDestructor& operator=(const NoDestructor&) = delete;

    T& operator*() noexcept { return *get(); }
    T* operator->() noexcept { return get(); }
    T* get() noexcept { return std::launder(reinterpret_cast<T*>(m_storage)); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

}
