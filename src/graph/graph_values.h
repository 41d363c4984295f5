// Value syntax of graph definition files: connection labels and identifiers
// written as eleven hexadecimal numbers.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace orbex {

// Parses a label list (labels separated by blanks, commas or tabs; each a
// decimal number kept as one byte). Returns the number of labels in the text;
// only the first `capacity` are stored.
int ParseLabels(std::string_view text, uint8_t* labels, int capacity);

// Parses "Data1,Data2,Data3,b0,...,b7" in hexadecimal; stops at the first
// number that does not parse, leaving the fields after it untouched.
void ParseGuidValue(const char* text, Guid& out);

}  // namespace orbex
