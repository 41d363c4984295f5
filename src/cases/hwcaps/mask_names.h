// The names of the features whose bits differ between two feature masks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orbex {

// Writes "Tuner, I2C Decoder, ..." for the bits of mismatch (bit 0x1 has no
// name; any bit from 0x100 up adds "etc, "), without the last ", ", cut to fit.
void MismatchNames(uint32_t mismatch, char* buffer, size_t size);

}  // namespace orbex
