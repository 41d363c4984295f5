// The [CaptureStream] and [CaptureFormat.N] sections of a board profile.
#pragma once

#include <string>

#include "platform/sim/devices/capture_stream.h"

namespace orbex::sim {

struct ProfileEntry;

// The record a [CaptureFormat.N] section describes (N from 1 to 16, records in
// section order of N); opening a section adds the record.
CaptureFormatRecord& CaptureFormatOf(CaptureStreamConfig& config, const std::string& section, int line);
void ReadCaptureFormatKey(CaptureStreamConfig& config, const ProfileEntry& entry);
void ReadKey(CaptureStreamConfig& config, const ProfileEntry& entry);
// Cross-key rules: minimum not above maximum, a start record that exists.
void CheckCaptureStream(const CaptureStreamConfig& config, int lastLine);

}  // namespace orbex::sim
