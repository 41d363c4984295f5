// Bytes between two inaccessible pages: a read just before or just after
// them faults, with or without a sanitizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace orbex::testing {

class FencedBuffer {
public:
    explicit FencedBuffer(size_t size) {
#if defined(_WIN32)
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
#else
        m_page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
        m_size = (size + m_page - 1) / m_page * m_page;
        m_total = m_size + 2 * m_page;
#if defined(_WIN32)
        m_base = static_cast<uint8_t*>(VirtualAlloc(nullptr, m_total, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
        DWORD old;
        if (m_base) VirtualProtect(m_base + m_page, m_size, PAGE_READWRITE, &old);
#else
        void* p = mmap(nullptr, m_total, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        m_base = p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
        if (m_base) mprotect(m_base + m_page, m_size, PROT_READ | PROT_WRITE);
#endif
    }
    ~FencedBuffer() {
#if defined(_WIN32)
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
#else
        if (m_base) munmap(m_base, m_total);
#endif
    }
    FencedBuffer(const FencedBuffer&) = delete;
    FencedBuffer& operator=(const FencedBuffer&) = delete;

    bool Valid() const {
        return m_base != nullptr;
    }
    size_t Size() const {
        return m_size;
    }
    // A copy of the n <= Size() bytes at p, against the front or the back fence.
    const uint8_t* AtFront(const uint8_t* p, size_t n) {
        return Copy(m_base + m_page, p, n);
    }
    const uint8_t* AtBack(const uint8_t* p, size_t n) {
        return Copy(m_base + m_page + m_size - n, p, n);
    }

private:
    static const uint8_t* Copy(uint8_t* to, const uint8_t* p, size_t n) {
        if (n) std::memcpy(to, p, n);
        return to;
    }
    uint8_t* m_base = nullptr;
    size_t m_page = 0, m_size = 0, m_total = 0;
};

}  // namespace orbex::testing
