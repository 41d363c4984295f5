// Whether the process is exiting with the library still loaded. At process
// exit Windows detaches the libraries loaded after this one first — quartz,
// the filters, the logging component — and has ended the graph's threads, so
// the objects they handed out must not be called any more, not even to
// release them: the references are left for the process's end to reclaim.
#pragma once

#include <atomic>

namespace orbex::win32 {

inline std::atomic<bool> g_processExiting{false};

inline bool ProcessIsExiting() {
    return g_processExiting.load(std::memory_order_relaxed);
}

// The loader notification of the library that holds the objects calls this
// (dll_main.cpp); a FreeLibrary while the process goes on leaves it false.
inline void SetProcessExiting(bool exiting) {
    g_processExiting.store(exiting, std::memory_order_relaxed);
}

}  // namespace orbex::win32
