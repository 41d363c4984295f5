#include "platform/sim/components/result_library.h"

#include <cstdio>

#include "platform/host/host.h"

namespace orbex::sim {

port::LibraryHandle ResultLibrary::Open() {
    if (m_absent || !m_config.resultLibrary) return nullptr;
    // The library stays mapped after its last FreeLibrary, so that loading it
    // again on every call costs a reference count, not a fresh mapping.
    std::string error;
    void* handle = host::OpenLibrary(m_hostPath, error, /*keepMapped=*/true);
    if (!handle) std::fprintf(stderr, "orbex: virtual board cannot load %s: %s\n", m_hostPath.c_str(), error.c_str());
    return handle;
}

void* ResultLibrary::Symbol(port::LibraryHandle library, const char* name) {
    bool exported = false;
    for (const std::string& e : m_config.resultLibraryExports) exported = exported || e == name;
    return exported ? host::LibrarySymbol(library, name) : nullptr;
}

void ResultLibrary::Close(port::LibraryHandle library) {
    host::CloseLibrary(library);
}

}  // namespace orbex::sim
