// Conversions between the host's narrow texts and the wide text of the
// Windows APIs, in a given code page (CP_UTF8 for host text, CP_ACP for the
// library under test). Characters the target cannot hold become its
// replacement character; nothing throws.
#pragma once
#if defined(_WIN32)
#include <windows.h>

#include <string>
#include <string_view>

namespace orbex::host {

inline std::wstring ToWide(std::string_view text, UINT codePage = CP_UTF8) {
    if (text.empty()) return {};
    int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

inline std::string FromWide(std::wstring_view wide, UINT codePage = CP_UTF8) {
    if (wide.empty()) return {};
    int n =
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr,
                              nullptr);
    return text;
}

}  // namespace orbex::host
#endif
