#include "platform/sim/kernel/mask_library.h"

namespace orbex::sim {

uint32_t FeatureMask(const uint8_t* t) {
    const int tuner = t[0] & 0x1F;
    const int audio = t[1] & 0x0F;
    const int decoder = t[5] & 0x0F;
    int inputs = 0;
    for (int k = 7; k < 12; ++k)
        if (t[k] & 0x03) ++inputs;
    const bool hasDecoder = decoder >= 1 && decoder <= 7;
    uint32_t mask = 0;
    if (inputs > 0) mask |= kMaskVideoInput;
    if (tuner != 0) mask |= kMaskTuner;
    if (decoder >= 1 && decoder <= 5) mask |= kMaskI2cDecoder;
    if (decoder == 6 || decoder == 7) mask |= kMaskVipDecoder;
    if (audio == 9) mask |= kMaskVipAudio;
    if (hasDecoder) mask |= kMaskMacrovision;
    if (audio >= 1 && audio <= 8) mask |= kMaskI2cAudioCrossbar;
    if (tuner != 0 && hasDecoder) mask |= kMaskParental;
    if ((t[3] & 0x0C) != 0 && hasDecoder) mask |= kMaskTeletext;
    if (t[3] != 0 && tuner != 0) mask |= kMaskPowerDown;
    mask |= static_cast<uint32_t>(inputs) << kMaskInputCountShift;
    return mask;
}

}  // namespace orbex::sim
