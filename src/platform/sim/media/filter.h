// A filter of the virtual board and its pins: what a device's moniker binds to
// or a filter class creates. A pin knows its filter and the pin it connects to.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/sim/ledger.h"
#include "platform/sim/media/media_context.h"

namespace orbex::sim {

class SimFilter;
class SimGraph;

class SimPin final : public port::IPin, public std::enable_shared_from_this<SimPin> {
    LedgerToken m_ledgerEntry{"COM", "IPin"};  // counted while the object lives
public:
    SimPin(const PinDesc& desc, std::weak_ptr<SimFilter> owner) : m_desc(desc), m_owner(std::move(owner)) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override;
    HResult QueryPinInfo(port::PinInfo& out) override;
    HResult ConnectedTo(std::shared_ptr<port::IPin>& out) override;

    const PinDesc& Desc() const { return m_desc; }
    std::shared_ptr<SimFilter> Owner() const { return m_owner.lock(); }
    std::shared_ptr<SimPin> Peer() const { return m_peer.lock(); }
    void SetPeer(const std::shared_ptr<SimPin>& peer) { m_peer = peer; }

private:
    PinDesc m_desc;
    std::weak_ptr<SimFilter> m_owner;
    std::weak_ptr<SimPin> m_peer;
};

class SimFilter final : public port::IBaseFilter, public std::enable_shared_from_this<SimFilter> {
    LedgerToken m_ledgerEntry{"COM", "IBaseFilter"};  // counted while the object lives
public:
    // A new filter with one pin per pin description, in order.
    static std::shared_ptr<SimFilter> Create(MediaContext& context, std::string name, const std::vector<PinDesc>& pins,
                                             FilterRole role = FilterRole::Plain);

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override;
    HResult EnumPins(std::shared_ptr<port::IEnumPins>& out) override;

    const std::string& Name() const { return m_name; }
    FilterRole Role() const { return m_role; }
    const std::vector<std::shared_ptr<SimPin>>& Pins() const { return m_pins; }
    std::weak_ptr<SimGraph> graph;  // the graph the filter is in, if any
    bool running = false;           // whether that graph runs (set by the graph)
    MediaContext& Context() { return m_context; }
    const MediaContext& Context() const { return m_context; }

private:
    SimFilter(MediaContext& context, std::string name, FilterRole role)
        : m_context(context), m_name(std::move(name)), m_role(role) {}
    MediaContext& m_context;
    std::string m_name;
    FilterRole m_role;
    std::vector<std::shared_ptr<SimPin>> m_pins;
};

}  // namespace orbex::sim
