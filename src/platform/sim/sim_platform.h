// The virtual board: every port implemented from a board profile.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "ini/ini_engine.h"
#include "platform/ports.h"
#include "platform/sim/board_profile.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/sim_media.h"

namespace orbex::sim {

struct SimOptions {
    std::string hostCurrentDirectory;  // where the current directory lives on disk
    std::string hostWindowsDirectory;  // where bare INI names (orbex.ini) are found; default: the current one
    std::string verdictLibraryPath;    // the shared library that stands for verdict.dll
    bool noVerdict = false;            // the result library cannot be loaded
    EventSink events;                  // default: the hosting harness's hook
};

class SimRegistry;
class SimLogWriter;

class SimPlatform final : public port::IPlatform,
                          private port::IClock,
                          private port::ISystemInfo,
                          private port::IUser,
                          private port::ILibraryLoader,
                          private port::IComRuntime,
                          private port::IProfile,
                          private port::IFileSystem,
                          private port::ICommandRunner,
                          private port::IDisplay,
                          private port::IDirectDrawRuntime {
public:
    SimPlatform(BoardProfile profile, SimOptions options);
    ~SimPlatform() override;

    port::IClock& Clock() override { return *this; }
    port::ISystemInfo& System() override { return *this; }
    port::IUser& User() override { return *this; }
    port::ILibraryLoader& Libraries() override { return *this; }
    port::IComRuntime& Com() override { return *this; }
    port::IProfile& Profile() override { return *this; }
    port::IRegistry& Registry() override;
    port::IFileSystem& Files() override { return *this; }
    port::ICommandRunner& Commands() override { return *this; }
    port::IDisplay& Display() override { return *this; }
    port::IDirectDrawRuntime& DirectDraw() override { return *this; }

    const BoardProfile& Board() const { return m_profile; }
    // Maps a Windows path of the virtual machine to a file on disk, if it has one.
    std::optional<std::string> HostPath(const std::string& windowsPath) const;
    bool FileExists(const std::string& windowsPath) const;
    std::string LocalTimeText();  // ISO-8601 local time with milliseconds, virtual
    void Emit(const std::string& event, std::vector<EventField> fields);

private:
    // IClock
    uint32_t TimeGetTime() override;
    uint32_t GetTickCount() override;
    void Sleep(uint32_t milliseconds) override;
    // ISystemInfo
    uint32_t GetCurrentDirectory(uint32_t size, char* buffer) override;
    uint32_t GetSystemDirectory(char* buffer, uint32_t size) override;
    uint32_t GetWindowsDirectory(char* buffer, uint32_t size) override;
    bool GetVersionEx(OsVersion& out) override;
    // IUser
    int32_t MessageBox(const char* text, const char* caption, uint32_t style) override;
    // ILibraryLoader
    port::LibraryHandle LoadLibrary(const char* name) override;
    void* GetProcAddress(port::LibraryHandle library, const char* name) override;
    void FreeLibrary(port::LibraryHandle library) override;
    // IComRuntime
    HResult CoInitialize() override;
    void CoUninitialize() override;
    HResult CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) override;
    // IProfile
    uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                     uint32_t size, const char* fileName) override;
    uint32_t GetPrivateProfileInt(const char* section, const char* key, int32_t defaultValue,
                                  const char* fileName) override;
    bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* fileName) override;
    void FlushProfiles() override;
    // IFileSystem
    bool CreateEmptyFile(const char* path) override;
    // ICommandRunner
    int32_t System(const char* command) override;
    int32_t RunCopy(const std::string& source, const std::string& destination);
    int32_t RunRegsvr32(const std::string& file);
    // IDisplay
    port::DisplayDc CreateDC(const char* driver) override;
    int32_t ExtEscape(port::DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                      void* out) override;
    bool DeleteDC(port::DisplayDc dc) override;
    bool EnumDisplayMonitors(const std::function<bool()>& onMonitor) override;
    // IDirectDrawRuntime
    HResult DirectDrawCreate(port::ComPtr& out) override;

    uint32_t CopyDirectory(const std::string& dir, const char* operation, char* buffer, uint32_t size);
    std::string ProfilePath(const char* fileName) const;

    BoardProfile m_profile;
    SimOptions m_options;
    FaultTable m_faults;
    MediaContext m_media;
    ini::Engine m_ini;
    std::unique_ptr<SimRegistry> m_registry;
    uint32_t m_clock;
    uint32_t m_clockStart;
    std::set<std::string> m_files;       // virtual files, folded full paths
    std::set<std::string> m_registered;  // kit files registered by regsvr32, folded names
    std::map<void*, int> m_libraries;    // open libraries and their load counts
    std::set<port::DisplayDc> m_dcs;
    port::DisplayDc m_nextDc = 0x1000;
};

}  // namespace orbex::sim
