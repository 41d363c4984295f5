// An owning reference to a COM interface: AddRef on copy, Release on
// destruction, except at process exit (process_exit.h).
#pragma once

#include <windows.h>

#include <utility>

#include "platform/win32/process_exit.h"

namespace orbex::win32 {

template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller owns.
    explicit ComRef(T* owned) : m_p(owned) {}
    ComRef(const ComRef& o) : m_p(o.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComRef(ComRef&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComRef& operator=(ComRef o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~ComRef() { Reset(); }

    void Reset() {
        if (m_p && !ProcessIsExiting()) m_p->Release();
        m_p = nullptr;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: releases what is held and gives the slot.
    T** Put() {
        Reset();
        return &m_p;
    }

private:
    T* m_p = nullptr;
};

}  // namespace orbex::win32

#include <strmif.h>

namespace orbex::win32 {

// An AM_MEDIA_TYPE that owns its format block and its object reference, as
// DirectShow hands them out: both are freed with the media type.
class MediaType {
public:
    MediaType() = default;
    // Takes over a media type allocated by DirectShow (CoTaskMemAlloc), e.g. from IAMStreamConfig::GetFormat.
    explicit MediaType(AM_MEDIA_TYPE* owned) : m_p(owned) {}
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;
    MediaType(MediaType&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~MediaType() { Reset(); }

    AM_MEDIA_TYPE* Get() const { return m_p; }
    AM_MEDIA_TYPE* operator->() const { return m_p; }
    void Reset() {
        if (!m_p) return;
        if (ProcessIsExiting()) {  // the format block and object belong to the exiting process
            m_p = nullptr;
            return;
        }
        if (m_p->cbFormat && m_p->pbFormat) CoTaskMemFree(m_p->pbFormat);
        if (m_p->pUnk) m_p->pUnk->Release();
        CoTaskMemFree(m_p);
        m_p = nullptr;
    }

private:
    AM_MEDIA_TYPE* m_p = nullptr;
};

}  // namespace orbex::win32
