// exit_probe.exe MODE FILE: hands an object to exit_holder.dll, which keeps
// it in a static reference, then either exits with the library loaded (MODE
// "exit") or unloads it first (MODE "unload"). Each step, and every Release
// of the object, appends a line to FILE, so the caller sees whether the
// reference was released and when.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

HANDLE g_file = INVALID_HANDLE_VALUE;

void Note(const char* line) {
    DWORD written = 0;
    ::WriteFile(g_file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
}

// Lives as long as the program's image: a release after the holder's
// detachment still finds it, and notes it.
struct Probe final : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        Note("released\n");
        return --refs;
    }
} g_probe;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    g_file =
        ::CreateFileW(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_file == INVALID_HANDLE_VALUE) return 2;
    HMODULE holder = ::LoadLibraryW(L"exit_holder.dll");
    auto hold =
        holder ? reinterpret_cast<void (*)(IUnknown*)>(reinterpret_cast<void*>(::GetProcAddress(holder, "HoldObject")))
               : nullptr;
    if (!hold) return 3;
    hold(&g_probe);
    Note("held\n");
    if (std::wcscmp(argv[1], L"unload") == 0) {
        ::FreeLibrary(holder);
        Note("unloaded\n");
    }
    return 0;
}
