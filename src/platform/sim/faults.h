// The faults a board profile injects: an operation fails with a chosen code,
// persistently or for its next N calls, optionally after M good calls. A layer
// apart from the board's topology; every model asks the one table.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct ProfileEntry;

struct FaultRule {
    HResult code = 0;
    int32_t count = -1;  // -1: every call
    int32_t skip = 0;    // calls that succeed before the fault starts
};

using FaultConfig = std::map<std::string, FaultRule>;  // by operation name

// The operation names a [Faults] section may use.
const std::vector<std::string>& FaultOperations();
// Reads one Operation=code[,count[,skip]] line of [Faults].
void ReadKey(FaultConfig& faults, const ProfileEntry& entry);

class FaultTable {
public:
    explicit FaultTable(FaultConfig faults) : m_faults(std::move(faults)) {}

    // The code this call of the operation fails with, or kSOk.
    HResult Next(const std::string& operation) {
        auto it = m_faults.find(operation);
        if (it == m_faults.end()) return kSOk;
        FaultRule& f = it->second;
        if (f.skip > 0) {
            --f.skip;
            return kSOk;
        }
        if (f.count == 0) return kSOk;
        if (f.count > 0) --f.count;
        return f.code;
    }

private:
    FaultConfig m_faults;
};

}  // namespace orbex::sim
