// The closed-circuit test box and its library "cctb.dll": a relay in the
// video path between the crossbar and the decoder. Bit 3 of the switch byte
// drives the video relay: set, the circuit is open and no signal passes
// (0xFF); clear, the signal passes (0xF7, and 0x00 at rest). Every write is
// a platform event, so a run shows the switch sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/sim/events.h"
#include "platform/sim/machine/libraries.h"
#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

struct TestBoxConfig {
    bool library = true;       // "cctb.dll" is installed
    std::string missingEntry;  // an entry point the library lacks (cctbOpen, cctbWrite or cctbClose)
    bool box = true;           // a box answers cctbOpen (else it gives 0)
    bool cutsSignal = true;    // the relay really opens the circuit
};

constexpr uint32_t kVideoRelayBit = 0x08;

class TestBox final : public ILibraryProvider {
public:
    TestBox(const TestBoxConfig& config, SignalPath& signal, EventSink emit);
    ~TestBox() override;
    TestBox(const TestBox&) = delete;
    TestBox& operator=(const TestBox&) = delete;

    // The library: loading binds this box to the entry points, which (like
    // those of a real library) have no context of their own.
    port::LibraryHandle Open() override;
    void* Symbol(port::LibraryHandle library, const char* name) override;
    void Close(port::LibraryHandle library) override;

    uint32_t Open(uint32_t reserved);
    uint32_t Write(uint32_t box, uint32_t value);
    uint32_t Close(uint32_t box);

private:
    TestBoxConfig m_config;
    SignalPath& m_signal;
    EventSink m_emit;
    int m_loads = 0;
    uint32_t m_openHandle = 0;
    uint32_t m_nextHandle = 0x0CC70001;
};

}  // namespace orbex::sim
