// The answer a person gives a message box by pressing Enter: its default
// button. Shared by the virtual board, which never waits for a person, and
// the Windows adapter when told to answer boxes instead of showing them.
#pragma once

#include <cstdint>

namespace orbex {

// Button identifiers and style bits as the platform defines them.
inline constexpr int32_t kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7,
                         kIdTryAgain = 10, kIdContinue = 11;
inline constexpr uint32_t kMessageBoxButtonsMask = 0x0F, kMessageBoxDefaultButtonMask = 0x0F00;

inline int32_t MessageBoxAnswer(uint32_t style) {
    // The buttons of each button set, left to right; an unknown set shows OK.
    static constexpr int32_t kSets[][3] = {
        {kIdOk, 0, 0},                          // MB_OK
        {kIdOk, kIdCancel, 0},                  // MB_OKCANCEL
        {kIdAbort, kIdRetry, kIdIgnore},        // MB_ABORTRETRYIGNORE
        {kIdYes, kIdNo, kIdCancel},             // MB_YESNOCANCEL
        {kIdYes, kIdNo, 0},                     // MB_YESNO
        {kIdRetry, kIdCancel, 0},               // MB_RETRYCANCEL
        {kIdCancel, kIdTryAgain, kIdContinue},  // MB_CANCELTRYCONTINUE
    };
    uint32_t set = style & kMessageBoxButtonsMask;
    if (set >= sizeof kSets / sizeof kSets[0]) set = 0;
    // MB_DEFBUTTON1 to MB_DEFBUTTON4 (0x000, 0x100, 0x200, 0x300); one past
    // the set's buttons leaves the first as the default, as the system does.
    uint32_t index = (style & kMessageBoxDefaultButtonMask) >> 8;
    if (index > 2 || kSets[set][index] == 0) index = 0;
    return kSets[set][index];
}

}  // namespace orbex
