// The harness's host window on Windows: the library arms the stream run's
// step timer on it, and the harness's message loop turns each expiry into the
// next call. Elsewhere there is no window and no loop.
#pragma once

#include <cstdint>

namespace orbex::harness {

// The window, created hidden on first use; 0 where the host has no windows.
uintptr_t HostWindow();
// Runs the message loop until a timer expires on the host window (or a thread
// timer of this thread), cancels it and returns true; false without a window,
// or when no timer expires within timeoutMs.
bool WaitForTimerMessage(uint32_t timeoutMs);

}  // namespace orbex::harness
