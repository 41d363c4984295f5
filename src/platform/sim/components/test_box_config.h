// The [TestBox] section of a board profile.
#pragma once

#include "platform/sim/components/test_box.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(TestBoxConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
