// One record of the component database ([FileInfo] in orbex.ini) and the
// parsing of its selector list.
#pragma once

#include <cstdint>

namespace orbex {

struct ComponentRecord {
    char Name[16] = {};  // the key name, also the section of the record's details
    uint8_t Type = 0;
    uint8_t Os = 0;
    uint8_t Decoder = 0;
    uint8_t Standard = 0;
    uint8_t Tier = 0;
};

// Parses a [FileInfo] value: decimal numbers separated by spaces, commas and
// tabs, in the order Type, Os, Decoder, Standard, Tier, each kept as its low
// eight bits. Numbers beyond the fifth are ignored, missing ones leave 0.
// Returns false when the value holds no number at all (empty or separators only).
bool ParseComponentSelectors(const char* value, ComponentRecord& record);

}  // namespace orbex
