#include "platform/sim/media/filter_graph.h"

#include <algorithm>

#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "platform/sim/media/filter.h"

namespace orbex::sim {

using port::ComPtr;

class SimGraph final : public port::IGraphBuilder,
                       public port::IMediaControl,
                       public std::enable_shared_from_this<SimGraph> {
    LedgerToken m_ledgerEntry{"COM", "IGraphBuilder"};  // counted while the object lives
public:
    explicit SimGraph(MediaContext& context) : m_context(context) {}
    // A graph released with its connections ends its overlay links.
    ~SimGraph() override {
        for (const auto& f : m_filters) f->running = false;
        if (!m_context.observer) return;
        Settle();
        if (m_running) m_context.observer->GraphRunning(Links(), false);
        for (OverlayLink link : Links()) m_context.observer->LinkDisconnected(link);
    }

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        out.reset();
        if (iid == guids::kIidGraphBuilder || iid == guids::kIidUnknown) {
            out = std::static_pointer_cast<port::IGraphBuilder>(shared_from_this());
            return kSOk;
        }
        if (iid == guids::kIidMediaControl) {
            if (HResult hr = m_context.faults.Next("QueryMediaControl")) return hr;
            out = std::static_pointer_cast<port::IMediaControl>(shared_from_this());
            return kSOk;
        }
        return kENoInterface;
    }

    HResult AddFilter(const std::shared_ptr<port::IBaseFilter>& filter, const char*) override {
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults.Next("AddFilter")) return hr;
        if (f->graph.lock()) return kEInvalidArg;
        f->graph = std::static_pointer_cast<SimGraph>(shared_from_this());
        f->running = m_running;
        m_filters.push_back(f);
        return kSOk;
    }

    HResult RemoveFilter(const std::shared_ptr<port::IBaseFilter>& filter) override {
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults.Next("RemoveFilter")) return hr;
        for (auto it = m_filters.begin(); it != m_filters.end(); ++it) {
            if (*it != f) continue;
            Settle();
            std::vector<OverlayLink> before = Links();
            for (const auto& pin : f->Pins()) {  // removing a filter breaks its connections
                if (auto peer = pin->Peer()) peer->SetPeer(nullptr);
                pin->SetPeer(nullptr);
            }
            EndLinksGone(before);
            f->graph.reset();
            f->running = false;
            m_filters.erase(it);
            return kSOk;
        }
        return kVfwENotInGraph;
    }

    HResult ConnectDirect(const std::shared_ptr<port::IPin>& out, const std::shared_ptr<port::IPin>& in) override {
        auto o = std::dynamic_pointer_cast<SimPin>(out);
        auto i = std::dynamic_pointer_cast<SimPin>(in);
        if (!o || !i) return kEPointer;
        if (HResult hr = m_context.faults.Next("ConnectDirect")) return hr;
        if (!InGraph(o) || !InGraph(i)) return kVfwENotInGraph;
        if (o->Desc().direction != PinDirection::Output || i->Desc().direction != PinDirection::Input)
            return kVfwEInvalidDirection;
        if (o->Peer() || i->Peer()) return kVfwEAlreadyConnected;
        if (o->Desc().medium != i->Desc().medium) return kVfwENoAcceptableTypes;
        Settle();
        std::vector<OverlayLink> before = Links();
        o->SetPeer(i);
        i->SetPeer(o);
        // Links the connection completes; one the mixer refuses undoes it.
        std::vector<OverlayLink> added;
        for (OverlayLink link : Links()) {
            if (Holds(before, link)) continue;
            if (HResult hr = m_context.observer->LinkConnected(link, m_running)) {
                for (OverlayLink made : added) m_context.observer->LinkDisconnected(made);
                o->SetPeer(nullptr);
                i->SetPeer(nullptr);
                return hr;
            }
            added.push_back(link);
        }
        return kSOk;
    }

    HResult Disconnect(const std::shared_ptr<port::IPin>& pin) override {
        auto p = std::dynamic_pointer_cast<SimPin>(pin);
        if (!p) return kEPointer;
        if (HResult hr = m_context.faults.Next("Disconnect")) return hr;
        auto peer = p->Peer();
        if (!peer) return kSFalse;
        Settle();
        std::vector<OverlayLink> before = Links();
        p->SetPeer(nullptr);  // the other side stays until it is disconnected too
        EndLinksGone(before);
        return kSOk;
    }

    HResult Run() override {
        if (HResult hr = m_context.faults.Next("Run")) return hr;
        if (m_running) return kSOk;
        Settle();
        m_running = true;
        for (const auto& f : m_filters) f->running = true;
        if (m_context.observer) m_context.observer->GraphRunning(Links(), true);
        return kSOk;
    }
    HResult Stop() override {
        if (HResult hr = m_context.faults.Next("Stop")) return hr;
        if (!m_running) return kSOk;
        Settle();
        m_running = false;
        for (const auto& f : m_filters) f->running = false;
        if (m_context.observer) m_context.observer->GraphRunning(Links(), false);
        return kSOk;
    }

private:
    bool InGraph(const std::shared_ptr<SimPin>& pin) const {
        auto owner = pin->Owner();
        return owner && owner->graph.lock().get() == this;
    }

    void Settle() {
        if (m_context.observer) m_context.observer->BeforeGraphChange();
    }
    // Frames of a decoder output reach the overlay mixer directly or through
    // filters between (an analyzer); a graph is shallow, the bound keeps a loop finite.
    static bool ReachesMixer(const SimPin& out, int depth) {
        auto peer = out.Peer();  // a connection holds while both sides name each other
        auto sink = peer && peer->Peer().get() == &out ? peer->Owner() : nullptr;
        if (!sink || depth > 16) return false;
        if (sink->Role() == FilterRole::OverlayMixer) return true;
        for (const auto& pin : sink->Pins())
            if (pin->Desc().direction == PinDirection::Output && ReachesMixer(*pin, depth + 1)) return true;
        return false;
    }
    // The overlay links: decoder outputs whose frames reach the mixer, named by the output pin.
    std::vector<OverlayLink> Links() const {
        std::vector<OverlayLink> links;
        if (!m_context.observer) return links;
        for (const auto& f : m_filters)
            if (f->Role() == FilterRole::Decoder)
                for (const auto& pin : f->Pins())
                    if (pin->Desc().direction == PinDirection::Output && ReachesMixer(*pin, 0))
                        links.push_back(pin.get());
        return links;
    }
    static bool Holds(const std::vector<OverlayLink>& links, OverlayLink link) {
        return std::find(links.begin(), links.end(), link) != links.end();
    }
    // Ends the links a disconnection broke.
    void EndLinksGone(const std::vector<OverlayLink>& before) {
        std::vector<OverlayLink> now = Links();
        for (OverlayLink link : before)
            if (!Holds(now, link)) m_context.observer->LinkDisconnected(link);
    }

    MediaContext& m_context;
    std::vector<std::shared_ptr<SimFilter>> m_filters;
    bool m_running = false;
};

std::shared_ptr<port::IGraphBuilder> NewFilterGraph(MediaContext& context) {
    return std::make_shared<SimGraph>(context);
}

}  // namespace orbex::sim
