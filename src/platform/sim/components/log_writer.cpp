#include "platform/sim/components/log_writer.h"

#include <cstring>

#include "common/format.h"
#include "platform/guids.h"
#include "platform/host/host.h"
#include "platform/log_level_mask.h"

namespace orbex::sim {

LogWriter::~LogWriter() {
    if (m_file) std::fclose(m_file);
}

HResult LogWriter::QueryInterface(const Guid& iid, port::ComPtr& out) {
    if (iid == guids::kIidLogWriter || iid == guids::kIidUnknown) {
        out = shared_from_this();
        return kSOk;
    }
    out.reset();
    return kENoInterface;
}

HResult LogWriter::NewHandle(uint32_t* handle) {
    if (!handle) return kEPointer;
    *handle = ++m_handle;
    m_handles.Opened(*handle, "LogHandle", "ILogWriter");
    return kSOk;
}

HResult LogWriter::ReleaseHandle(uint32_t handle) {
    m_handles.Closed(handle);
    return kSOk;
}

HResult LogWriter::Configure(uint32_t handle, uint32_t levelMask, const char* fileName, const char*, int32_t, int32_t) {
    if (handle == 0 || handle > m_handle || !fileName) return kEInvalidArg;
    m_mask = levelMask;
    std::string windowsPath = fileName;
    if (windowsPath.find('\\') == std::string::npos) {
        char dir[260];
        uint32_t n = m_system.CurrentDirectoryPath(sizeof dir, dir);
        if (n == 0 || n >= sizeof dir) return kEFail;
        dir[n] = '\0';  // the length told, whatever the buffer holds past it
        windowsPath = std::string(dir) + "\\" + windowsPath;
    }
    auto host = m_paths.HostPath(windowsPath);
    if (!host) return kEFail;
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    if (ini::MemoryFileStore* memory = m_paths.Memory()) {
        m_memoryPath = *host;
        return memory->Append(m_memoryPath, {}) ? kSOk : kEFail;
    }
    m_file = host::OpenFile(*host, "ab");
    return m_file ? kSOk : kEFail;
}

bool LogWriter::LevelEnabled(uint32_t mask, int32_t level) {
    return LogLevelEnabled(mask, level);
}

HResult LogWriter::Write(uint32_t handle, int32_t level, uint32_t colour, const char* format, va_list args) {
    if (handle == 0 || handle > m_handle || !format) return kEInvalidArg;
    if (!m_file && m_memoryPath.empty()) return kEFail;
    if (!LevelEnabled(m_mask, level)) return kSOk;
    std::string text = FormatV(format, args);
    text.resize(std::strlen(text.c_str()));  // as "%s" would: up to a formatted NUL
    char head[96];                           // time, level and colour: under 60 characters
    FormatInto(head, sizeof head, "%s %d 0x%08X ", m_clock.LocalTimeText().c_str(), level, colour);
    std::string line;
    line.reserve(std::strlen(head) + text.size() + 1);
    line.append(head).append(text).push_back('\n');
    if (m_events)
        m_events(PlatformEvent{"Platform",
                               {{"what", std::string("Log")},
                                {"level", int64_t{level}},
                                {"colour", int64_t{colour}},
                                {"text", std::move(text)}}});
    if (!m_memoryPath.empty()) {
        m_paths.Memory()->Append(m_memoryPath, line);
        return kSOk;
    }
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
    return kSOk;
}

}  // namespace orbex::sim
