#include "platform/sim/ledger.h"

namespace orbex::sim {

ObjectLedger& ObjectLedger::Process() {
    static ObjectLedger ledger;
    return ledger;
}

uint64_t ObjectLedger::Open(std::string kind, std::string name) {
    uint64_t id = m_next++;
    m_open.emplace(id, Entry{std::move(kind), std::move(name)});
    return id;
}

void ObjectLedger::Close(uint64_t id) {
    m_open.erase(id);
}

std::vector<ObjectLedger::Count> ObjectLedger::OpenSince(uint64_t since) const {
    std::vector<Count> out;
    std::map<std::pair<std::string, std::string>, size_t> index;
    for (auto it = m_open.lower_bound(since); it != m_open.end(); ++it) {
        auto [at, fresh] = index.try_emplace({it->second.kind, it->second.name}, out.size());
        if (fresh) out.push_back({it->second.kind, it->second.name, 0});
        ++out[at->second].count;
    }
    return out;
}

int64_t ObjectLedger::OpenCountSince(uint64_t since) const {
    return static_cast<int64_t>(std::distance(m_open.lower_bound(since), m_open.end()));
}

}  // namespace orbex::sim
