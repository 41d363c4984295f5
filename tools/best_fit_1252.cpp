// Prints the table of src/ini/best_fit_1252.h: every UTF-16 unit above U+00FF
// that WideCharToMultiByte writes as one byte of code page 1252 without its
// default character. Build with MinGW and run under Wine (or on Windows):
//   x86_64-w64-mingw32-g++ -static -o best_fit_1252.exe tools/best_fit_1252.cpp
//   wine64 best_fit_1252.exe
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("inline constexpr BestFit kBestFit1252[] = {\n");
    for (unsigned u = 0x100; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const wchar_t w = static_cast<wchar_t>(u);
        char out[4] = {};
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(1252, 0, &w, 1, out, sizeof out, nullptr, &usedDefault) == 1 && !usedDefault)
            std::printf("    {0x%04X, 0x%02X},\n", u, static_cast<unsigned char>(out[0]));
    }
    std::printf("};\n");
    return 0;
}
