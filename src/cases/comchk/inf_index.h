// The index of the device identifiers that the driver information files of
// the Windows directory (inf\ and inf\other\) name for display-class devices.
#pragma once

#include <cstdint>

namespace orbex {

namespace port {
class IFileSystem;
}

constexpr int kInfIndexEntries = 256;
constexpr int kInfLinePiece = 255;  // lines are read in pieces of at most 254 characters

struct InfEntry {
    char file[32];  // "inf\" or "inf\other\" and the file name
    char id[16];    // the device identifier the file names
};

struct InfIndex {
    InfEntry entries[kInfIndexEntries];
    int32_t count = 0;
};

// Scans one piece of a line for the identifier after its last "DISPLAY\":
// nothing when there is none or a ';' comes before it; the identifier ends at
// a newline, space, ';', '\', ',' or '/'; an identifier longer than two
// characters loses two final digits or 'x's. Writes at most size - 1
// characters (always terminated) and returns whether the line names one.
bool ScanInfLine(const char* line, char* id, uint32_t size);

// A device or key name without its two-character instance suffix: a name
// longer than two characters whose last two are digits or 'x' loses them.
void CutInstanceSuffix(char* name);

// Fills the index from the *.inf files of inf\ then inf\other\ under
// windowsDirectory, in the order the file search gives them; stops at 256 entries.
void BuildInfIndex(port::IFileSystem& files, const char* windowsDirectory, InfIndex& index);

}  // namespace orbex
