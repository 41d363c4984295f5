// The COM runtime: CoCreateInstance finds the class factory registered for
// the class identifier. A model that provides COM classes registers a factory
// for each; a class nobody registered is REGDB_E_CLASSNOTREG.
#pragma once

#include <functional>
#include <map>
#include <thread>

#include "platform/ports.h"
#include "platform/sim/faults.h"

namespace orbex::sim {

// Creates one object of a class and hands out its interface iid.
using ClassFactory = std::function<HResult(const Guid& iid, port::ComPtr& out)>;

class ComRuntime final : public port::IComRuntime {
public:
    explicit ComRuntime(FaultTable& faults) : m_faults(faults) {}

    // The first factory registered for a class serves it; later ones are ignored.
    void RegisterClass(const Guid& clsid, ClassFactory factory);

    HResult CoInitialize() override;
    void CoUninitialize() override;
    HResult CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) override;

    // What one thread did with COM, as the board counts it.
    struct Apartment {
        bool multithreaded = false;  // the caller's own initialisation, before the system's calls
        long initialised = 0;        // successful CoInitialize calls
        long uninitialised = 0;      // CoUninitialize calls that undid one
        long unmatched = 0;          // CoUninitialize calls without one to undo (ignored)
        long Outstanding() const { return initialised - uninitialised; }
    };
    // Puts the calling thread in the multithreaded apartment, as a harness
    // that initialised COM for itself would have.
    void EnterMultithreadedApartment();
    const std::map<std::thread::id, Apartment>& Apartments() const { return m_apartments; }

private:
    struct GuidLess {
        bool operator()(const Guid& a, const Guid& b) const;
    };

    FaultTable& m_faults;
    std::map<Guid, ClassFactory, GuidLess> m_factories;
    std::map<std::thread::id, Apartment> m_apartments;
};

}  // namespace orbex::sim
