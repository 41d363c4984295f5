// One [MMTable] entry of the board database: "name, b0, b1, ..., b11".
#pragma once

#include <cstdint>

namespace orbex {

constexpr int kMMTableBytes = 12;

struct MMEntry {
    char name[100] = {};                // the configuration name, cut to 99 characters
    uint8_t table[kMMTableBytes] = {};  // the first twelve byte items
    int32_t byteCount = 0;              // every byte item, also those past the twelfth
};

// Reads a hexadecimal item the way a "%X" conversion does: leading blanks, a
// sign and a 0x prefix are allowed, digits wrap at 32 bits. An item without
// any hexadecimal digit reads as 0.
uint32_t ReadHexItem(const char* item);

// Splits the value at commas, skipping empty items: the first item is the
// name, each later one a byte (its low 8 bits). Returns false when the value
// has no item at all. Bytes past the twelfth are only counted.
bool ParseMMEntry(const char* value, MMEntry& entry);

}  // namespace orbex
