// The faults a board profile injects: an operation fails with a chosen code,
// persistently or for its next N calls, optionally after M good calls; or,
// for the operations that return data, answers with malformed data instead
// (a short table, a string without its terminator, a count that disagrees
// with the list). A layer apart from the board's topology; every model asks
// the one table, which also counts the calls of every operation.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct ProfileEntry;

struct FaultRule {
    HResult code = 0;
    int32_t count = -1;      // -1: every call
    int32_t skip = 0;        // calls that succeed before the fault starts
    bool malformed = false;  // answer with malformed data rather than fail
};

using FaultConfig = std::map<std::string, FaultRule>;  // by operation name

// What one call of an operation meets.
struct FaultHit {
    HResult code = 0;        // the failure code, or 0
    bool malformed = false;  // the call succeeds with malformed data
    explicit operator bool() const { return code != 0 || malformed; }
};

// The operation names a [Faults] section may use.
const std::vector<std::string>& FaultOperations();
// The operations that can answer with malformed data (Operation=malformed).
const std::vector<std::string>& MalformedOperations();
// Reads one Operation=code[,count[,skip]] or Operation=malformed[,count[,skip]] line of [Faults].
void ReadKey(FaultConfig& faults, const ProfileEntry& entry);
// Adds "Operation=code[,count[,skip]];..." (the ORBEX_FAULTS form) to faults;
// false with error set when an item is not a fault line.
bool AddFaults(FaultConfig& faults, const std::string& text, std::string& error);

class FaultTable {
public:
    // Told of every fault that takes effect: the operation, its code, whether malformed.
    using Observer = std::function<void(const std::string&, HResult, bool)>;

    explicit FaultTable(FaultConfig faults) : m_faults(std::move(faults)) {}

    // The code this call of the operation fails with, or kSOk. For the
    // operations that cannot answer with malformed data.
    HResult Next(const std::string& operation) { return Take(operation).code; }
    // What this call of the operation meets: a failure, malformed data or nothing.
    FaultHit Take(const std::string& operation);
    // Said by the model when it has given malformed data (a call with no data
    // to malform, such as a size query, answers as it would have).
    void Applied(const std::string& operation) {
        if (m_observer) m_observer(operation, 0, true);
    }

    void SetObserver(Observer observer) { m_observer = std::move(observer); }
    // Calls of each operation so far (operations never called are absent).
    const std::map<std::string, uint32_t>& Calls() const { return m_calls; }

private:
    FaultConfig m_faults;
    std::map<std::string, uint32_t> m_calls;
    Observer m_observer;
};

}  // namespace orbex::sim
