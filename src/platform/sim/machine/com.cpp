#include "platform/sim/machine/com.h"

#include <cstring>

namespace orbex::sim {

bool ComRuntime::GuidLess::operator()(const Guid& a, const Guid& b) const {
    if (a.data1 != b.data1) return a.data1 < b.data1;
    if (a.data2 != b.data2) return a.data2 < b.data2;
    if (a.data3 != b.data3) return a.data3 < b.data3;
    return std::memcmp(a.data4, b.data4, sizeof a.data4) < 0;
}

void ComRuntime::RegisterClass(const Guid& clsid, ClassFactory factory) {
    m_factories.try_emplace(clsid, std::move(factory));
}

namespace {
constexpr HResult kRpcEChangedMode = static_cast<HResult>(0x80010106);
}  // namespace

HResult ComRuntime::CoInitialize() {
    if (HResult fault = m_faults.Next("CoInitialize"); fault != kSOk) return fault;
    Apartment& a = m_apartments[std::this_thread::get_id()];
    if (a.multithreaded) return kRpcEChangedMode;
    return a.initialised++ - a.uninitialised == 0 ? kSOk : kSFalse;  // S_FALSE: already initialised on this thread
}

void ComRuntime::CoUninitialize() {
    Apartment& a = m_apartments[std::this_thread::get_id()];
    if (a.Outstanding() > 0)
        ++a.uninitialised;
    else
        ++a.unmatched;
}

void ComRuntime::EnterMultithreadedApartment() {
    m_apartments[std::this_thread::get_id()].multithreaded = true;
}

HResult ComRuntime::CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) {
    out.reset();
    auto it = m_factories.find(clsid);
    if (it == m_factories.end()) return kRegdbEClassNotReg;
    return it->second(iid, out);
}

}  // namespace orbex::sim
