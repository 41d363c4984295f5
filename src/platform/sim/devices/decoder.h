// The board's video decoder: available and accepted standards, the selected
// standard, output enable, and lock and line count as they follow from the
// signal at its input.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/sim/faults.h"
#include "platform/sim/signal/signal_path.h"
#include "platform/video.h"

namespace orbex::sim {

// How a standard group locks: as the signal allows, or forced.
enum class LockMode : uint8_t { Signal, On, Off };

// The standard groups of the decoder's lock and line settings.
enum StandardGroup : uint8_t { kGroupNtsc = 0, kGroupPal = 1, kGroupSecam = 2, kStandardGroups = 3 };

struct DecoderConfig {
    uint32_t available = 0x203;  // get_AvailableTVFormats
    uint32_t accepted = 0x203;   // what put_TVFormat accepts
    bool acceptedSet = false;    // accepted given by the profile (else: the available standards)
    HResult refusal = static_cast<HResult>(0x80070057);  // put_TVFormat's answer to any other standard
    uint32_t startStandard = 0x1;
    bool startEnabled = true;
    LockMode lock[kStandardGroups] = {LockMode::Signal, LockMode::Signal, LockMode::Signal};
    int32_t lines[kStandardGroups] = {0, 0, 0};  // 0: the standard's own line count
};

// Line family and group of a standard bit: 525 lines for NTSC_M, NTSC_M_J,
// NTSC_433, PAL_M and PAL_60; SECAM bits in their group; the rest PAL 625.
LineFamily StandardFamily(uint32_t standard);
StandardGroup GroupOf(uint32_t standard);

class DecoderModel {
public:
    DecoderModel(const DecoderConfig& config, SignalPath& signal, FaultTable& faults);

    // Lets time-driven models settle before the decoder's state changes.
    void SetBeforeChange(std::function<void()> settle) { m_settle = std::move(settle); }

    bool Locked() const { return LockedAt(m_signal.Now()); }
    bool LockedAt(uint32_t at) const;
    bool OutputEnabled() const { return m_outputEnabled; }
    uint32_t Standard() const { return m_standard; }
    // The interface as the decoder filter hands it out.
    std::shared_ptr<port::IAMAnalogVideoDecoder> Interface();

private:
    friend class SimAnalogVideoDecoder;
    void Settle() {
        if (m_settle) m_settle();
    }

    DecoderConfig m_config;
    SignalPath& m_signal;
    FaultTable& m_faults;
    uint32_t m_standard;
    bool m_outputEnabled;
    std::function<void()> m_settle;
};

}  // namespace orbex::sim
