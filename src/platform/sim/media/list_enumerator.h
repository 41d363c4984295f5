// An enumerator over a fixed list (pins of a filter, monikers of a category):
// Next hands out one item a call and kSFalse at the end; Reset starts again.
#pragma once

#include <memory>
#include <vector>

#include "platform/media.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

// Enum: the enumerator interface; Item: what its Next hands out; Element: the listed type.
template <class Enum, class Item, class Element>
class ListEnumerator final : public Enum {
    LedgerToken m_ledgerEntry{"COM", "IEnum"};  // counted while the object lives

public:
    explicit ListEnumerator(std::vector<std::shared_ptr<Element>> items) : m_items(std::move(items)) {}

    HResult QueryInterface(const Guid&, port::ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult Next(std::shared_ptr<Item>& out) override {
        if (m_next >= m_items.size()) {
            out.reset();
            return kSFalse;
        }
        out = m_items[m_next++];
        return kSOk;
    }
    HResult Reset() override {
        m_next = 0;
        return kSOk;
    }

private:
    std::vector<std::shared_ptr<Element>> m_items;
    size_t m_next = 0;
};

}  // namespace orbex::sim
