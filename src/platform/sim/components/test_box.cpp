#include "platform/sim/components/test_box.h"

#include <cstring>

namespace orbex::sim {
namespace {

// The box the entry points act on: the one whose library was loaded last in
// this process, as a real library's process-wide state would be.
TestBox* g_boundBox = nullptr;

uint32_t ORBEX_STDCALL CctbOpen(uint32_t reserved) {
    return g_boundBox ? g_boundBox->Open(reserved) : 0;
}
uint32_t ORBEX_STDCALL CctbWrite(uint32_t box, uint32_t value) {
    return g_boundBox ? g_boundBox->Write(box, value) : 0;
}
uint32_t ORBEX_STDCALL CctbClose(uint32_t box) {
    return g_boundBox ? g_boundBox->Close(box) : 0;
}

}  // namespace

TestBox::TestBox(const TestBoxConfig& config, SignalPath& signal, EventSink emit)
    : m_config(config), m_signal(signal), m_emit(std::move(emit)) {}

TestBox::~TestBox() {
    if (g_boundBox == this) g_boundBox = nullptr;
}

port::LibraryHandle TestBox::Open() {
    if (!m_config.library) return nullptr;
    ++m_loads;
    g_boundBox = this;
    return this;
}

void* TestBox::Symbol(port::LibraryHandle, const char* name) {
    if (!name || m_config.missingEntry == name) return nullptr;
    if (std::strcmp(name, "cctbOpen") == 0) return reinterpret_cast<void*>(&CctbOpen);
    if (std::strcmp(name, "cctbWrite") == 0) return reinterpret_cast<void*>(&CctbWrite);
    if (std::strcmp(name, "cctbClose") == 0) return reinterpret_cast<void*>(&CctbClose);
    return nullptr;
}

void TestBox::Close(port::LibraryHandle) {
    if (m_loads > 0 && --m_loads == 0 && g_boundBox == this) g_boundBox = nullptr;
}

uint32_t TestBox::Open(uint32_t) {
    uint32_t handle = m_config.box ? m_nextHandle++ : 0;
    if (handle) m_openHandle = handle;
    if (m_emit) m_emit(PlatformEvent{"Platform", {{"what", std::string("TestBoxOpen")}, {"handle", int64_t{handle}}}});
    return handle;
}

uint32_t TestBox::Write(uint32_t box, uint32_t value) {
    if (m_emit)
        m_emit(PlatformEvent{"Platform", {{"what", std::string("TestBoxWrite")}, {"value", int64_t{value & 0xFF}}}});
    if (!box || box != m_openHandle) return 0;
    if (m_config.cutsSignal) m_signal.SetCircuitOpen((value & kVideoRelayBit) != 0);
    return 1;
}

// Closing lets the relay fall back: the circuit passes the signal again.
uint32_t TestBox::Close(uint32_t box) {
    if (m_emit) m_emit(PlatformEvent{"Platform", {{"what", std::string("TestBoxClose")}}});
    if (!box || box != m_openHandle) return 0;
    m_openHandle = 0;
    m_signal.SetCircuitOpen(false);
    return 1;
}

}  // namespace orbex::sim
