#pragma once

namespace platform {

class ClassRecord;

// The storage of every framework object. Its behaviour lives in the class record it points at,
// so a program class is a record of its own over the same storage.
class Object {
public:
    explicit Object(const ClassRecord& record);
    virtual ~Object();

    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void retain() const noexcept { ++m_refCount; }
    void release() const noexcept
    {
        if (--m_refCount == 0)
            delete this;
    }
    int refCount() const noexcept { return m_refCount; }

    const ClassRecord& record() const noexcept { return *m_record; }
    bool isA(const ClassRecord& record) const noexcept;

    // Objects alive in the process; tests use it to prove that nothing leaks.
    static long liveInstances() noexcept;

private:
    mutable int m_refCount = 0;
    const ClassRecord* m_record;
};

}
