// The library loader: LoadLibrary finds the provider registered for the
// library's file name; GetProcAddress and FreeLibrary go to the provider that
// loaded the handle. A model that ships a library registers a provider.
#pragma once

#include <map>
#include <string>

#include "platform/ports.h"
#include "platform/sim/faults.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

// One library the machine can load.
class ILibraryProvider {
public:
    virtual ~ILibraryProvider() = default;
    // The library's handle, or nullptr when it does not load.
    virtual port::LibraryHandle Open() = 0;
    // An exported function, or nullptr.
    virtual void* Symbol(port::LibraryHandle library, const char* name) = 0;
    virtual void Close(port::LibraryHandle library) = 0;
};

class LibraryLoader final : public port::ILibraryLoader {
public:
    explicit LibraryLoader(FaultTable& faults) : m_faults(faults) {}
    // Closes every library still open, once; the providers must outlive the loader.
    ~LibraryLoader() override;

    // fileName: as LoadLibrary names it, in any case ("verdict.dll").
    void Register(const std::string& fileName, ILibraryProvider& provider);

    port::LibraryHandle LoadNamedLibrary(const char* name) override;
    void* GetProcAddress(port::LibraryHandle library, const char* name) override;
    void FreeLibrary(port::LibraryHandle library) override;

private:
    struct OpenLibrary {
        ILibraryProvider* provider;
        std::vector<LedgerToken> loads;  // one counted entry per load not yet freed
    };

    FaultTable& m_faults;
    std::map<std::string, ILibraryProvider*> m_providers;  // by folded file name
    std::map<port::LibraryHandle, OpenLibrary> m_open;
};

}  // namespace orbex::sim
