// The COM runtime: CoCreateInstance finds the class factory registered for
// the class identifier. A model that provides COM classes registers a factory
// for each; a class nobody registered is REGDB_E_CLASSNOTREG.
#pragma once

#include <functional>
#include <map>

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

    HResult CoInitialize() override { return m_faults.Next("CoInitialize"); }
    void CoUninitialize() override {}
    HResult CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) override;

private:
    struct GuidLess {
        bool operator()(const Guid& a, const Guid& b) const;
    };

    FaultTable& m_faults;
    std::map<Guid, ClassFactory, GuidLess> m_factories;
};

}  // namespace orbex::sim
