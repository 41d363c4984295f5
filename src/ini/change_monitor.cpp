#include "ini/change_monitor.h"

#if defined(__linux__)
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace orbex::ini {

#if defined(__linux__)
namespace {

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

ChangeMonitor::ChangeMonitor() {
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

ChangeMonitor::~ChangeMonitor() {
    if (m_fd >= 0) close(m_fd);
}

bool ChangeMonitor::Watch(const std::string& path) {
    if (m_fd < 0) return false;
    std::string dir = DirectoryOf(path);
    if (m_watchedDirectories.count(dir)) return true;
    int wd = inotify_add_watch(m_fd, dir.c_str(),
                               IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE |
                                   IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF);
    if (wd < 0) return false;
    m_directories[wd] = dir;
    m_watchedDirectories.insert(dir);
    return true;
}

void ChangeMonitor::Drain() {
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        ssize_t n = read(m_fd, buffer, sizeof buffer);
        if (n <= 0) return;  // EAGAIN: nothing pending
        for (char* p = buffer; p < buffer + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            p += sizeof(inotify_event) + e->len;
            if (e->mask & IN_Q_OVERFLOW) {
                ++m_epoch;  // events were lost: nothing read before can be trusted
                continue;
            }
            auto dir = m_directories.find(e->wd);
            if (dir == m_directories.end()) continue;
            if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The directory itself went away: watch it afresh when it is needed again.
                m_watchedDirectories.erase(dir->second);
                m_directories.erase(dir);
                ++m_epoch;
                continue;
            }
            if (e->len) m_changed.insert((dir->second == "/" ? "" : dir->second) + "/" + e->name);
        }
    }
}

bool ChangeMonitor::Changed(const std::string& path, uint64_t epochAtRead) {
    Drain();
    return m_epoch != epochAtRead || m_changed.count(path) > 0;
}

#else

ChangeMonitor::ChangeMonitor() = default;
ChangeMonitor::~ChangeMonitor() = default;
bool ChangeMonitor::Watch(const std::string&) {
    return false;
}
void ChangeMonitor::Drain() {}
bool ChangeMonitor::Changed(const std::string&, uint64_t) {
    return true;
}

#endif

}  // namespace orbex::ini
