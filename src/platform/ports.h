// The operating-system services the system uses, as small abstract ports.
// Results are carried the way the platform carries them (HRESULTs, Win32 error
// codes, byte tables) so that every error path of the platform stays reachable.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/com.h"
#include "platform/desktop.h"
#include "platform/device_setup.h"
#include "platform/media.h"
#include "platform/types.h"
#include "platform/video.h"

namespace orbex::port {

class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t TimeGetTime() = 0;  // multimedia timer, milliseconds since start
    virtual uint32_t GetTickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    // Each copies the directory into buffer and returns its length; when the
    // buffer is too small it returns the size needed and copies nothing; 0 on failure.
    virtual uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) = 0;
    virtual uint32_t SystemDirectoryPath(char* buffer, uint32_t size) = 0;
    virtual uint32_t WindowsDirectoryPath(char* buffer, uint32_t size) = 0;
    virtual bool QueryVersion(OsVersion& out) = 0;
};

class IUser {
public:
    virtual ~IUser() = default;
    virtual int32_t ShowMessageBox(const char* text, const char* caption, uint32_t style) = 0;
};

using LibraryHandle = void*;

class ILibraryLoader {
public:
    virtual ~ILibraryLoader() = default;
    virtual LibraryHandle LoadNamedLibrary(const char* name) = 0;  // nullptr when not found
    virtual void* GetProcAddress(LibraryHandle library, const char* name) = 0;
    virtual void FreeLibrary(LibraryHandle library) = 0;
};

// The logging component's interface (ILogWriter), in its method-slot order.
class ILogWriter : public IComObject {
public:
    virtual HResult NewHandle(uint32_t* handle) = 0;
    virtual HResult ReleaseHandle(uint32_t handle) = 0;
    virtual HResult Configure(uint32_t handle, uint32_t levelMask, const char* fileName, const char* appName,
                              int32_t reserved0, int32_t reserved10) = 0;
    virtual HResult Write(uint32_t handle, int32_t level, uint32_t colour, const char* format, va_list args) = 0;
};

class IComRuntime {
public:
    virtual ~IComRuntime() = default;
    // Apartment-threaded. A thread already in the multithreaded apartment gets
    // RPC_E_CHANGED_MODE, and its own initialisation stays as it was.
    virtual HResult CoInitialize() = 0;
    // Undoes the calling thread's last successful CoInitialize; without one it
    // does nothing, so a failed initialisation is never balanced by undoing
    // someone else's.
    virtual void CoUninitialize() = 0;
    // In-process object creation by class identifier.
    virtual HResult CoCreateInstance(const Guid& clsid, const Guid& iid, ComPtr& out) = 0;
};

// The profile functions, with the platform's semantics: a null section lists the
// section names, a null key lists the keys of a section, both as double-NUL lists.
class IProfile {
public:
    virtual ~IProfile() = default;
    virtual uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                       uint32_t size, const char* fileName) = 0;
    virtual uint32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                                    const char* fileName) = 0;
    virtual bool WriteProfileValue(const char* section, const char* key, const char* value, const char* fileName) = 0;
    // Writes cached profile changes to disk (the platform's flush idiom).
    virtual void FlushProfiles() = 0;
};

// The registry below HKEY_LOCAL_MACHINE. Results are Win32 error codes.
using RegKey = uint32_t;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual int32_t OpenKey(const char* subKey, uint32_t access, RegKey* out) = 0;
    virtual int32_t OpenOrCreateKey(const char* subKey, uint32_t access, RegKey* out) = 0;
    virtual int32_t ReadValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) = 0;
    virtual int32_t WriteValue(RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) = 0;
    virtual int32_t CountSubKeys(RegKey key, uint32_t* subKeyCount) = 0;
    virtual int32_t EnumSubKey(RegKey key, uint32_t index, char* name, uint32_t* nameSize) = 0;
    virtual int32_t CloseKey(RegKey key) = 0;
};

using FindHandle = uintptr_t;
using TextFile = uintptr_t;

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Opens the file for writing and closes it at once: creates it or empties it.
    virtual bool CreateEmptyFile(const char* path) = 0;
    // Looks for a file as OpenFile does in existence-check mode: a name without
    // a directory is searched in the current directory, the system directory,
    // the Windows directory and the path. The full path found goes into buffer
    // (truncated to fit, always terminated); false when there is none.
    virtual bool OpenFileExists(const char* name, char* buffer, uint32_t size) = 0;
    // The file's version resource, as GetFileVersionInfoSize, GetFileVersionInfo
    // and VerQueryValue give it: a size of 0 means the file has none; the block
    // is opaque and only VerQueryValue reads it.
    virtual uint32_t FileVersionInfoSize(const char* path) = 0;
    virtual bool FileVersionInfo(const char* path, uint32_t size, void* block) = 0;
    virtual bool QueryVersionValue(const void* block, const char* subBlock, const void** value, uint32_t* length) = 0;
    // A file search with a wildcard pattern ("C:\\WINNT\\inf\\*.inf"): each call
    // yields the next matching file's name without its directory (truncated to
    // fit, always terminated). FindFirstFile returns 0 when nothing matches.
    virtual FindHandle FindFirst(const char* pattern, char* name, uint32_t size) = 0;
    virtual bool FindNext(FindHandle find, char* name, uint32_t size) = 0;
    virtual void FindClose(FindHandle find) = 0;
    // A file read as text, as the C runtime's text mode gives it: ReadTextLine
    // reads as fgets does, at most size - 1 characters up to and with a newline.
    virtual TextFile OpenTextFile(const char* path) = 0;  // 0 when it cannot be opened
    virtual bool ReadTextLine(TextFile file, char* buffer, int32_t size) = 0;
    virtual void CloseTextFile(TextFile file) = 0;
};

class ICommandRunner {
public:
    virtual ~ICommandRunner() = default;
    virtual int32_t System(const char* command) = 0;  // the runtime's system()
};

using DisplayDc = uintptr_t;

// The display driver: device context, driver escape and monitor enumeration.
class IDisplay {
public:
    virtual ~IDisplay() = default;
    virtual DisplayDc CreateDisplayDc(const char* driver) = 0;  // 0 on failure
    virtual int32_t ExtEscape(DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                              void* out) = 0;
    virtual bool DeleteDC(DisplayDc dc) = 0;
    // Calls onMonitor once per monitor while it returns true.
    virtual bool EnumDisplayMonitors(const std::function<bool()>& onMonitor) = 0;
};

// A kernel driver reached through its device path: open, I/O control, close.
// Failures leave a Win32 error code for GetLastError.
using DeviceHandle = uintptr_t;
constexpr DeviceHandle kInvalidDeviceHandle = ~DeviceHandle{0};

class IDeviceIo {
public:
    virtual ~IDeviceIo() = default;
    // kInvalidDeviceHandle on failure.
    virtual DeviceHandle OpenDevice(const char* path, uint32_t access, uint32_t shareMode, uint32_t disposition,
                                    uint32_t attributes) = 0;
    virtual bool DeviceIoControl(DeviceHandle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                                 uint32_t outSize, uint32_t* bytesReturned) = 0;
    virtual bool CloseHandle(DeviceHandle device) = 0;
    virtual uint32_t GetLastError() = 0;
};

// DirectDraw: just what the free-video-memory query needs.
class IDirectDraw2 : public IComObject {
public:
    virtual HResult GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free) = 0;
};

class IDirectDrawRuntime {
public:
    virtual ~IDirectDrawRuntime() = default;
    // Creates the DirectDraw object of the primary display driver.
    virtual HResult DirectDrawCreate(ComPtr& out) = 0;
};

// Everything one platform offers. One factory picks the implementation.
class IPlatform {
public:
    virtual ~IPlatform() = default;
    virtual IClock& Clock() = 0;
    virtual ISystemInfo& System() = 0;
    virtual IUser& User() = 0;
    virtual ILibraryLoader& Libraries() = 0;
    virtual IComRuntime& Com() = 0;
    virtual IProfile& Profile() = 0;
    virtual IRegistry& Registry() = 0;
    virtual IFileSystem& Files() = 0;
    virtual ICommandRunner& Commands() = 0;
    virtual IDisplay& Display() = 0;
    virtual IDirectDrawRuntime& DirectDraw() = 0;
    virtual IDesktop& Desktop() = 0;
    virtual IDeviceIo& DeviceIo() = 0;
    virtual IDeviceSetup& DeviceSetup() = 0;
};

}  // namespace orbex::port
