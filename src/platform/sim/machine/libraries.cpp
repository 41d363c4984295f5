#include "platform/sim/machine/libraries.h"

#include "ini/ini_document.h"

namespace orbex::sim {

LibraryLoader::~LibraryLoader() {
    for (auto& [handle, open] : m_open) open.provider->Close(handle);
}

void LibraryLoader::Register(const std::string& fileName, ILibraryProvider& provider) {
    m_providers[ini::Folded(fileName)] = &provider;
}

port::LibraryHandle LibraryLoader::LoadNamedLibrary(const char* name) {
    if (m_faults.Next("LoadLibrary")) return nullptr;
    if (!name) return nullptr;
    auto it = m_providers.find(ini::Folded(name));
    if (it == m_providers.end()) return nullptr;
    port::LibraryHandle handle = it->second->Open();
    if (!handle) return nullptr;
    OpenLibrary& open = m_open.try_emplace(handle, OpenLibrary{it->second, {}}).first->second;
    open.loads.emplace_back("Library", name);
    return handle;
}

void* LibraryLoader::GetProcAddress(port::LibraryHandle library, const char* name) {
    auto it = m_open.find(library);
    if (!library || !name || it == m_open.end()) return nullptr;
    return it->second.provider->Symbol(library, name);
}

void LibraryLoader::FreeLibrary(port::LibraryHandle library) {
    auto it = m_open.find(library);
    if (it == m_open.end()) return;
    it->second.provider->Close(library);
    it->second.loads.pop_back();
    if (it->second.loads.empty()) m_open.erase(it);
}

}  // namespace orbex::sim
