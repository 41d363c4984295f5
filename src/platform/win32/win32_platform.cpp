// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <ddraw.h>
// clang-format on

#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <type_traits>

#include "platform/guids.h"
#include "platform/harness_hook.h"
#include "platform/host/host.h"
#include "platform/message_box_answer.h"
#include "platform/win32/process_exit.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_device_setup.h"

namespace orbex::win32 {
namespace {

class Win32Registry final : public port::IRegistry {
public:
    ~Win32Registry() override {
        for (auto& [handle, key] : m_keys) ::RegCloseKey(key);
    }
    int32_t OpenKey(const char* subKey, uint32_t access, port::RegKey* out) override {
        HKEY key = nullptr;
        LONG rc = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, access, &key);
        *out = rc == ERROR_SUCCESS ? Keep(key) : 0;
        return rc;
    }
    int32_t OpenOrCreateKey(const char* subKey, uint32_t access, port::RegKey* out) override {
        HKEY key = nullptr;
        LONG rc = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                    &key, nullptr);
        *out = rc == ERROR_SUCCESS ? Keep(key) : 0;
        return rc;
    }
    int32_t ReadValue(port::RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) override {
        HKEY k = Find(key);
        if (!k) return ERROR_INVALID_HANDLE;
        DWORD t = 0, s = size ? *size : 0;
        LONG rc = ::RegQueryValueExA(k, name, nullptr, &t, data, size ? &s : nullptr);
        if (type) *type = t;
        if (size) *size = s;
        return rc;
    }
    int32_t WriteValue(port::RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) override {
        HKEY k = Find(key);
        return k ? ::RegSetValueExA(k, name, 0, type, data, size) : ERROR_INVALID_HANDLE;
    }
    int32_t CountSubKeys(port::RegKey key, uint32_t* subKeyCount) override {
        HKEY k = Find(key);
        if (!k) return ERROR_INVALID_HANDLE;
        DWORD n = 0;
        LONG rc = ::RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr);
        if (subKeyCount) *subKeyCount = n;
        return rc;
    }
    int32_t EnumSubKey(port::RegKey key, uint32_t index, char* name, uint32_t* nameSize) override {
        HKEY k = Find(key);
        if (!k) return ERROR_INVALID_HANDLE;
        DWORD n = nameSize ? *nameSize : 0;
        LONG rc = ::RegEnumKeyExA(k, index, name, &n, nullptr, nullptr, nullptr, nullptr);
        if (nameSize) *nameSize = n;
        return rc;
    }
    int32_t CloseKey(port::RegKey key) override {
        auto it = m_keys.find(key);
        if (it == m_keys.end()) return ERROR_INVALID_HANDLE;
        LONG rc = ::RegCloseKey(it->second);
        m_keys.erase(it);
        return rc;
    }

private:
    port::RegKey Keep(HKEY key) {
        port::RegKey handle = m_next++;
        m_keys[handle] = key;
        return handle;
    }
    HKEY Find(port::RegKey key) const {
        auto it = m_keys.find(key);
        return it == m_keys.end() ? nullptr : it->second;
    }
    std::map<port::RegKey, HKEY> m_keys;
    port::RegKey m_next = 1;
};

// Successful COM initialisations of this thread through the port, not yet undone.
thread_local unsigned t_comInitialisations = 0;

class Win32DirectDraw final : public port::IDirectDrawRuntime {
public:
    HResult DirectDrawCreate(port::ComPtr& out) override {
        out.reset();
        IDirectDraw* dd = nullptr;
        HRESULT hr = ::DirectDrawCreate(nullptr, &dd, nullptr);
        out = Wrap(dd, guids::kIidDirectDraw);  // owned whatever the code
        return hr == DD_OK && !dd ? E_FAIL : hr;
    }
};

class Win32Platform final : public port::IPlatform,
                            private port::IClock,
                            private port::ISystemInfo,
                            private port::IUser,
                            private port::ILibraryLoader,
                            private port::IComRuntime,
                            private port::IProfile,
                            private port::IFileSystem,
                            private port::ICommandRunner,
                            private port::IDisplay {
public:
    port::IClock& Clock() override { return *this; }
    port::ISystemInfo& System() override { return *this; }
    port::IUser& User() override { return *this; }
    port::ILibraryLoader& Libraries() override { return *this; }
    port::IComRuntime& Com() override { return *this; }
    port::IProfile& Profile() override { return *this; }
    port::IRegistry& Registry() override { return m_registry; }
    port::IFileSystem& Files() override { return *this; }
    port::ICommandRunner& Commands() override { return *this; }
    port::IDisplay& Display() override { return *this; }
    port::IDirectDrawRuntime& DirectDraw() override { return m_directDraw; }
    port::IDesktop& Desktop() override { return *m_desktop; }
    port::IDeviceIo& DeviceIo() override { return *m_deviceIo; }
    port::IDeviceSetup& DeviceSetup() override { return *m_deviceSetup; }

private:
    // IClock
    uint32_t TimeGetTime() override { return ::timeGetTime(); }
    uint32_t GetTickCount() override { return ::GetTickCount(); }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

    // ISystemInfo
    uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) override { return ::GetCurrentDirectoryA(size, buffer); }
    uint32_t SystemDirectoryPath(char* buffer, uint32_t size) override { return ::GetSystemDirectoryA(buffer, size); }
    uint32_t WindowsDirectoryPath(char* buffer, uint32_t size) override { return ::GetWindowsDirectoryA(buffer, size); }
    bool QueryVersion(OsVersion& out) override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (!::GetVersionExA(&info)) return false;
        out = OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
        return true;
    }

    // IUser: the box is shown as the system shows it; a hosting harness is also
    // told. With ORBEX_MESSAGE_BOXES=answer (unattended runs: a CI agent or a
    // service has no person to close it) the box is not shown: it is reported,
    // on standard error too, and answered with its default button.
    int32_t ShowMessageBox(const char* text, const char* caption, uint32_t style) override {
        const char* mode = std::getenv("ORBEX_MESSAGE_BOXES");
        const bool answer = mode && std::strcmp(mode, "answer") == 0;
        const int32_t answered = MessageBoxAnswer(style);
        if (auto hook = reinterpret_cast<OrbexHarnessEventFn>(host::ProgramSymbol(ORBEX_HARNESS_EVENT_SYMBOL))) {
            OrbexEventField f[] = {{"caption", caption ? caption : "", 0, 0},
                                   {"text", text ? text : "", 0, 0},
                                   {"style", nullptr, style, 1},
                                   {"answered", nullptr, static_cast<uint32_t>(answered), 1}};
            hook("MessageBox", f, answer ? 4 : 3);
        }
        if (!answer) return ::MessageBoxA(nullptr, text, caption, style);
        std::fprintf(stderr, "orbex: message box \"%s\": %s (answered %d)\n", caption ? caption : "", text ? text : "",
                     answered);
        return answered;
    }

    // ILibraryLoader. The system calls the test box library's entry points
    // through the port's types: on 32-bit x86 they must be standard calls.
    static_assert(std::is_same_v<port::CctbOpenFn, UINT(WINAPI*)(UINT)> &&
                  std::is_same_v<port::CctbWriteFn, UINT(WINAPI*)(UINT, UINT)> &&
                  std::is_same_v<port::CctbCloseFn, UINT(WINAPI*)(UINT)>);
    port::LibraryHandle LoadNamedLibrary(const char* name) override { return ::LoadLibraryA(name); }
    void* GetProcAddress(port::LibraryHandle library, const char* name) override {
        return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
    }
    // At process exit a library the system still holds (the test box's) is
    // already detached: it stays mapped until the process is gone.
    void FreeLibrary(port::LibraryHandle library) override {
        if (!ProcessIsExiting()) ::FreeLibrary(static_cast<HMODULE>(library));
    }

    // IComRuntime
    // Each successful initialisation (S_OK or S_FALSE) of the calling thread is
    // counted, and only those are undone: a thread already in the
    // multithreaded apartment gets RPC_E_CHANGED_MODE, and the system's later
    // uninitialisation must not undo the caller's own.
    HResult CoInitialize() override {
        HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(hr)) ++t_comInitialisations;
        return hr;
    }
    void CoUninitialize() override {
        if (t_comInitialisations == 0) return;
        --t_comInitialisations;
        ::CoUninitialize();
    }
    HResult CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) override {
        out.reset();
        GUID c = ToGuid(clsid), i = ToGuid(iid);
        IUnknown* object = nullptr;
        HRESULT hr = ::CoCreateInstance(c, nullptr, CLSCTX_INPROC_SERVER, i, reinterpret_cast<void**>(&object));
        out = Wrap(object, iid);  // owned whatever the code
        return hr;
    }

    // IProfile
    uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               uint32_t size, const char* fileName) override {
        return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
    }
    uint32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue, const char* fileName) override {
        return ::GetPrivateProfileIntA(section, key, defaultValue, fileName);
    }
    bool WriteProfileValue(const char* section, const char* key, const char* value, const char* fileName) override {
        return ::WritePrivateProfileStringA(section, key, value, fileName) != 0;
    }
    void FlushProfiles() override { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr); }

    // IFileSystem
    bool CreateEmptyFile(const char* path) override {
        std::FILE* f = std::fopen(path, "w");
        return f && std::fclose(f) == 0;
    }
    bool OpenFileExists(const char* name, char* buffer, uint32_t size) override {
        OFSTRUCT of{};
        of.cBytes = sizeof of;
        if (buffer && size) buffer[0] = '\0';
        if (!name || ::OpenFile(name, &of, OF_EXIST) == HFILE_ERROR) return false;
        if (buffer && size) {
            size_t n = std::min<size_t>(std::strlen(of.szPathName), size - 1);
            std::memcpy(buffer, of.szPathName, n);
            buffer[n] = '\0';
        }
        return true;
    }
    uint32_t FileVersionInfoSize(const char* path) override {
        DWORD handle = 0;
        return path ? ::GetFileVersionInfoSizeA(path, &handle) : 0;
    }
    bool FileVersionInfo(const char* path, uint32_t size, void* block) override {
        return path && block && ::GetFileVersionInfoA(path, 0, size, block) != 0;
    }
    bool QueryVersionValue(const void* block, const char* subBlock, const void** value, uint32_t* length) override {
        void* found = nullptr;
        UINT n = 0;
        if (!block || !subBlock || !::VerQueryValueA(block, subBlock, &found, &n)) return false;
        if (value) *value = found;
        if (length) *length = n;
        return true;
    }

    port::FindHandle FindFirst(const char* pattern, char* name, uint32_t size) override {
        if (name && size) name[0] = '\0';
        WIN32_FIND_DATAA data{};
        HANDLE find = pattern ? ::FindFirstFileA(pattern, &data) : INVALID_HANDLE_VALUE;
        if (find == INVALID_HANDLE_VALUE) return 0;
        CopyFoundName(data, name, size);
        return reinterpret_cast<port::FindHandle>(find);
    }
    bool FindNext(port::FindHandle find, char* name, uint32_t size) override {
        WIN32_FIND_DATAA data{};
        if (!find || !::FindNextFileA(reinterpret_cast<HANDLE>(find), &data)) return false;
        CopyFoundName(data, name, size);
        return true;
    }
    void FindClose(port::FindHandle find) override {
        if (find) ::FindClose(reinterpret_cast<HANDLE>(find));
    }
    static void CopyFoundName(const WIN32_FIND_DATAA& data, char* name, uint32_t size) {
        if (!name || !size) return;
        size_t n = strnlen(data.cFileName, sizeof data.cFileName);
        if (n > size - 1) n = size - 1;
        std::memcpy(name, data.cFileName, n);
        name[n] = '\0';
    }
    port::TextFile OpenTextFile(const char* path) override {
        return path ? reinterpret_cast<port::TextFile>(std::fopen(path, "r")) : 0;
    }
    bool ReadTextLine(port::TextFile file, char* buffer, int32_t size) override {
        return file && buffer && size > 0 && std::fgets(buffer, size, reinterpret_cast<std::FILE*>(file)) != nullptr;
    }
    void CloseTextFile(port::TextFile file) override {
        if (file) std::fclose(reinterpret_cast<std::FILE*>(file));
    }

    // ICommandRunner
    int32_t System(const char* command) override { return std::system(command); }

    // IDisplay
    port::DisplayDc CreateDisplayDc(const char* driver) override {
        return reinterpret_cast<port::DisplayDc>(::CreateDCA(driver, nullptr, nullptr, nullptr));
    }
    int32_t ExtEscape(port::DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                      void* out) override {
        return ::ExtEscape(reinterpret_cast<HDC>(dc), escape, inSize, static_cast<LPCSTR>(in), outSize,
                           static_cast<LPSTR>(out));
    }
    bool DeleteDC(port::DisplayDc dc) override { return ::DeleteDC(reinterpret_cast<HDC>(dc)) != 0; }
    static BOOL CALLBACK OnMonitor(HMONITOR, HDC, LPRECT, LPARAM data) {
        return (*reinterpret_cast<const std::function<bool()>*>(data))() ? TRUE : FALSE;
    }
    bool EnumDisplayMonitors(const std::function<bool()>& onMonitor) override {
        return ::EnumDisplayMonitors(nullptr, nullptr, OnMonitor, reinterpret_cast<LPARAM>(&onMonitor)) != 0;
    }

    Win32Registry m_registry;
    Win32DirectDraw m_directDraw;
    std::unique_ptr<port::IDesktop> m_desktop = CreateWin32Desktop();
    std::unique_ptr<port::IDeviceIo> m_deviceIo = CreateWin32DeviceIo();
    std::unique_ptr<port::IDeviceSetup> m_deviceSetup = CreateWin32DeviceSetup();
};

}  // namespace

std::unique_ptr<port::IPlatform> CreateWin32Platform() {
    return std::make_unique<Win32Platform>();
}

}  // namespace orbex::win32
