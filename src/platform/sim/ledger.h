// The reference ledger: every object and handle the virtual board hands out
// holds one entry while it is alive or open. The ledger is process-wide so
// that an object outliving its board (a reference never released) is still
// seen; each board looks at the entries made since it was built.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orbex::sim {

class ObjectLedger {
public:
    struct Count {
        std::string kind;  // "COM" objects by interface family, or a handle kind ("RegKey", "DC" ...)
        std::string name;  // what the object is (the filter's name, the key's path ...)
        int64_t count = 0;
    };

    static ObjectLedger& Process();

    uint64_t Open(std::string kind, std::string name);
    void Close(uint64_t id);
    // The id the next entry gets: entries at or past it are younger.
    uint64_t NextId() const { return m_next; }
    // Entries still open among those made at or after since, counted by kind and name.
    std::vector<Count> OpenSince(uint64_t since) const;
    int64_t OpenCountSince(uint64_t since) const;

private:
    struct Entry {
        std::string kind, name;
    };
    std::map<uint64_t, Entry> m_open;
    uint64_t m_next = 1;
};

// One ledger entry for as long as the token lives (moves carry it).
class LedgerToken {
public:
    LedgerToken(std::string kind, std::string name)
        : m_id(ObjectLedger::Process().Open(std::move(kind), std::move(name))) {}
    ~LedgerToken() {
        if (m_id) ObjectLedger::Process().Close(m_id);
    }
    LedgerToken(LedgerToken&& other) noexcept : m_id(other.m_id) { other.m_id = 0; }
    LedgerToken& operator=(LedgerToken&& other) noexcept {
        if (this != &other) {
            if (m_id) ObjectLedger::Process().Close(m_id);
            m_id = other.m_id;
            other.m_id = 0;
        }
        return *this;
    }
    LedgerToken(const LedgerToken&) = delete;
    LedgerToken& operator=(const LedgerToken&) = delete;

private:
    uint64_t m_id;
};

// The ledger entries of one model's open handles, by handle value.
class HandleLedger {
public:
    void Opened(uint64_t handle, std::string kind, std::string name) {
        m_entries.insert_or_assign(handle, LedgerToken(std::move(kind), std::move(name)));
    }
    void Closed(uint64_t handle) { m_entries.erase(handle); }

private:
    std::map<uint64_t, LedgerToken> m_entries;
};

}  // namespace orbex::sim
