// The faults a board profile injects: an operation fails with a chosen code,
// persistently or for its next N calls, optionally after M good calls.
#pragma once

#include <map>
#include <string>

#include "platform/sim/board_profile.h"

namespace orbex::sim {

class FaultTable {
public:
    explicit FaultTable(std::map<std::string, FaultSpec> faults) : m_faults(std::move(faults)) {}

    // The code this call of the operation fails with, or kSOk.
    HResult Next(const std::string& operation) {
        auto it = m_faults.find(operation);
        if (it == m_faults.end()) return kSOk;
        FaultSpec& f = it->second;
        if (f.skip > 0) {
            --f.skip;
            return kSOk;
        }
        if (f.count == 0) return kSOk;
        if (f.count > 0) --f.count;
        return f.code;
    }

private:
    std::map<std::string, FaultSpec> m_faults;
};

}  // namespace orbex::sim
