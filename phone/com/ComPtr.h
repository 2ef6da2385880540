#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace phone::com {

// Owns one reference to a COM interface and releases it on every path.
template <typename T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(const ComPtr &other)
        : m_pointer(other.m_pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr &&other) noexcept
        : m_pointer(std::exchange(other.m_pointer, nullptr))
    {}
    ~ComPtr() { reset(); }

    ComPtr &operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr adopt(T *pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }

    // Takes a reference of its own to a borrowed pointer.
    static ComPtr retain(T *pointer)
    {
        if (pointer)
            pointer->AddRef();
        return adopt(pointer);
    }

    void reset()
    {
        if (T *pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }

    // For out-parameters: drops the current reference first.
    T **put()
    {
        reset();
        return &m_pointer;
    }
    void **putVoid() { return reinterpret_cast<void **>(put()); }

    T *get() const { return m_pointer; }
    T *operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // QueryInterface into another interface; empty when the object does not offer it.
    template <typename U>
    ComPtr<U> query() const
    {
        ComPtr<U> result;
        if (m_pointer)
            m_pointer->QueryInterface(__uuidof(U), result.putVoid());
        return result;
    }

private:
    T *m_pointer = nullptr;
};

} // namespace phone::com
