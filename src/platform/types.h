// Plain value types shared by the system and the platform ports. No OS header.
#pragma once

#include <cstdint>
#include <cstring>

// The calling convention of the platform's standard entry points (the callee
// removes the arguments); it matters only for 32-bit x86 Windows.
#if defined(_WIN32) && defined(__i386__)
#define ORBEX_STDCALL __attribute__((stdcall))
#else
#define ORBEX_STDCALL
#endif

namespace orbex {

// A 32-bit COM-style result code, as the platform returns it.
using HResult = int32_t;

constexpr HResult kSOk = 0;
constexpr HResult kSFalse = 1;
constexpr HResult kENotImpl = static_cast<HResult>(0x80004001);
constexpr HResult kENoInterface = static_cast<HResult>(0x80004002);
constexpr HResult kEPointer = static_cast<HResult>(0x80004003);
constexpr HResult kEFail = static_cast<HResult>(0x80004005);
constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000E);
constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);
constexpr HResult kRegdbEClassNotReg = static_cast<HResult>(0x80040154);
constexpr HResult kVfwEAlreadyConnected = static_cast<HResult>(0x80040204);
constexpr HResult kVfwENotConnected = static_cast<HResult>(0x80040209);
constexpr HResult kVfwENotInGraph = static_cast<HResult>(0x8004025F);
constexpr HResult kVfwENoAcceptableTypes = static_cast<HResult>(0x80040207);
constexpr HResult kVfwEInvalidDirection = static_cast<HResult>(0x80040208);
constexpr HResult kDdErrNoDirectDrawHw = static_cast<HResult>(0x88760233);

constexpr bool Succeeded(HResult hr) {
    return hr >= 0;
}

// Win32 error codes carried by the registry port.
constexpr int32_t kErrorSuccess = 0;
constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorMoreData = 234;
constexpr int32_t kErrorNoMoreItems = 259;

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};

    friend bool operator==(const Guid& a, const Guid& b) {
        return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
               std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
    }
    bool IsNull() const { return *this == Guid{}; }
};

// Operating-system version record (the platform's extended version information).
struct OsVersion {
    uint32_t platformId = 0;  // 1: Windows 9x family, 2: NT family
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};
constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kPlatformWin32Nt = 2;

// Registry value types.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

// Registry access rights used by the system.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyAllAccess = 0xF003F;

enum class PinDirection { Input = 0, Output = 1 };

}  // namespace orbex
