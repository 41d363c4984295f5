// The one checked formatting helper: printf into a fixed buffer, cut rather
// than overflow. The format attribute lets the compiler check the arguments.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

#if defined(__MINGW32__)
// C++ on MinGW formats with its own C99 printf (libstdc++ turns on
// __USE_MINGW_ANSI_STDIO), not msvcrt's: check against that one (%zu, %lld).
#define ORBEX_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define ORBEX_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ORBEX_PRINTF(fmt, args)
#endif

namespace orbex {

// Formats into buffer (size bytes, always terminated); returns the length written.
int FormatInto(char* buffer, size_t size, const char* format, ...) ORBEX_PRINTF(3, 4);
int FormatIntoV(char* buffer, size_t size, const char* format, va_list args);

// Formats into a std::string (for texts without a fixed buffer of their own).
std::string Format(const char* format, ...) ORBEX_PRINTF(1, 2);
std::string FormatV(const char* format, va_list args);

// Copies text into buffer, cut to size - 1 characters.
void CopyText(char* buffer, size_t size, const char* text);

// Case-insensitive comparison of ASCII letters.
bool EqualsNoCase(const char* a, const char* b);

}  // namespace orbex
