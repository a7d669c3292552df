#pragma once
// Reference-counted root of the editor host's classes.

#include <cstdint>

namespace vrn
{

/// A message between editor objects: compared by the address of the shared constant, never by
/// its text.
using CMessageId = const char*;

/// Starts with one reference (the creator's); the last release destroys the object.
class CBaseObject
{
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    /// Drops one reference; destroys the object at 0.
    virtual void release()
    {
        if (--referenceCount == 0)
            delete this;
    }
    /// Adds one reference.
    virtual void retain() { ++referenceCount; }
    /// Answers 1 when the message was used; the base ignores every message (0).
    virtual std::int32_t handleMessage(CBaseObject* /*sender*/, CMessageId /*message*/)
    {
        return 0;
    }
    /// Current count (tests and diagnostics).
    std::int32_t getNbReference() const { return referenceCount; }

private:
    std::int32_t referenceCount = 1;
};

/// Holds one reference to a CBaseObject and drops it when destroyed (move-only).
template <class T>
class SharedPointer
{
public:
    SharedPointer() = default;
    /// Takes over a reference the caller already holds.
    static SharedPointer adopt(T* object)
    {
        SharedPointer p;
        p.object = object;
        return p;
    }
    SharedPointer(SharedPointer&& o) noexcept : object(o.object) { o.object = nullptr; }
    SharedPointer& operator=(SharedPointer&& o) noexcept
    {
        if (this != &o)
        {
            reset();
            object = o.object;
            o.object = nullptr;
        }
        return *this;
    }
    SharedPointer(const SharedPointer&) = delete;
    SharedPointer& operator=(const SharedPointer&) = delete;
    ~SharedPointer() { reset(); }

    void reset()
    {
        if (object)
            object->release();
        object = nullptr;
    }
    T* get() const { return object; }
    T* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }

private:
    T* object = nullptr;
};

} // namespace vrn
