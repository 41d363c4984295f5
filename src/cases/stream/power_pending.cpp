// Placeholder until the screen saver and suspend operations land: they do nothing.
#include "cases/stream/orb_stream.h"

namespace orbex {
int32_t COrbStream::ScreenSaver(int32_t start) { return start ? 1 : 0; }
int32_t COrbStream::LowPower(int32_t) { return 0; }
}  // namespace orbex
