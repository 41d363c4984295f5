#include "platform/sim/media/capture_graph_builder.h"

#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "platform/sim/media/filter.h"

namespace orbex::sim {
namespace {

using port::ComPtr;

class SimCaptureGraphBuilder final : public port::ICaptureGraphBuilder,
                                     public std::enable_shared_from_this<SimCaptureGraphBuilder> {
    LedgerToken m_ledgerEntry{"COM", "ICaptureGraphBuilder"};  // counted while the object lives
public:
    explicit SimCaptureGraphBuilder(MediaContext& context) : m_context(context) {}

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == guids::kIidCaptureGraphBuilder || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult SetFiltergraph(const std::shared_ptr<port::IGraphBuilder>& graph) override {
        if (!graph) return kEPointer;
        if (HResult hr = m_context.faults.Next("SetFiltergraph")) return hr;
        m_graph = graph;
        return kSOk;
    }
    // With a category: the filter itself, then its output pin of that
    // category (as the platform's builder asks the filter first, a renderer's
    // window is found on the renderer); without: the filter, then each of its pins.
    HResult FindInterface(const Guid* category, const std::shared_ptr<port::IBaseFilter>& filter, const Guid& iid,
                          ComPtr& out) override {
        out.reset();
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults.Next("FindInterface")) return hr;
        if (category) {
            if (f->QueryInterface(iid, out) == kSOk) return kSOk;
            std::string wanted = *category == guids::kPinCategoryCapture   ? "capture"
                                 : *category == guids::kPinCategoryPreview ? "preview"
                                 : *category == guids::kPinCategoryVbi     ? "vbi"
                                                                           : "?";
            for (const auto& pin : f->Pins()) {
                if (pin->Desc().direction != PinDirection::Output || pin->Desc().category != wanted) continue;
                return pin->QueryInterface(iid, out) == kSOk ? kSOk : kENoInterface;
            }
            return kEFail;
        }
        if (f->QueryInterface(iid, out) == kSOk) return kSOk;
        for (const auto& pin : f->Pins())
            if (pin->QueryInterface(iid, out) == kSOk) return kSOk;
        return kENoInterface;
    }

private:
    MediaContext& m_context;
    std::shared_ptr<port::IGraphBuilder> m_graph;
};

}  // namespace

std::shared_ptr<port::ICaptureGraphBuilder> NewCaptureGraphBuilder(MediaContext& context) {
    return std::make_shared<SimCaptureGraphBuilder>(context);
}

}  // namespace orbex::sim
