// Tells whether a file may have changed on disk since the INI engine last read
// it. On Linux the kernel reports every change to a watched directory (exact,
// one system call per question); elsewhere the file's stamp is compared.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace orbex::ini {

class ChangeMonitor {
public:
    ChangeMonitor();
    ~ChangeMonitor();
    ChangeMonitor(const ChangeMonitor&) = delete;
    ChangeMonitor& operator=(const ChangeMonitor&) = delete;

    // Starts watching path; call before reading it, so no change is missed.
    // Returns false when changes to this path cannot be watched.
    bool Watch(const std::string& path);
    // The current epoch: it moves on when events were lost.
    uint64_t Epoch() const { return m_epoch; }
    // True when path changed since Watch (or the last Forget), or events were
    // lost since the given epoch; call only for watched paths.
    bool Changed(const std::string& path, uint64_t epochAtRead);
    // The caller has read path anew.
    void Forget(const std::string& path) { m_changed.erase(path); }

private:
    void Drain();
    int m_fd = -1;
    std::map<int, std::string> m_directories;  // watch descriptor -> directory
    std::set<std::string> m_watchedDirectories;
    std::set<std::string> m_changed;  // paths changed since last read
    uint64_t m_epoch = 0;
};

}  // namespace orbex::ini
