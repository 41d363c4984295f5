#include "platform/sim/media/device_enumerator.h"

#include <algorithm>

#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "platform/sim/media/filter.h"
#include "platform/sim/media/list_enumerator.h"

namespace orbex::sim {
namespace {

using port::ComPtr;

constexpr Guid kIidMoniker{0x0000000F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class SimPropertyBag final : public port::IPropertyBag {
    LedgerToken m_ledgerEntry{"COM", "IPropertyBag"};  // counted while the object lives
public:
    SimPropertyBag(MediaContext& context, std::string friendlyName)
        : m_context(context), m_friendlyName(std::move(friendlyName)) {}
    HResult QueryInterface(const Guid&, ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult ReadString(const char* name, std::string& out) override {
        out.clear();
        if (std::string(name) != "FriendlyName") return kEInvalidArg;
        FaultHit fault = m_context.faults.Take("ReadFriendlyName");
        if (fault.code) return fault.code;
        // Malformed: a name far longer than any name buffer.
        out = fault.malformed ? m_friendlyName + std::string(300, 'N') : m_friendlyName;
        if (fault.malformed) m_context.faults.Applied("ReadFriendlyName");
        return kSOk;
    }

private:
    MediaContext& m_context;
    std::string m_friendlyName;
};

class SimMoniker final : public port::IMoniker, public std::enable_shared_from_this<SimMoniker> {
    LedgerToken m_ledgerEntry{"COM", "IMoniker"};  // counted while the object lives
public:
    SimMoniker(MediaContext& context, const DeviceDesc& device) : m_context(context), m_device(device) {}
    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == kIidMoniker || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult BindToPropertyBag(std::shared_ptr<port::IPropertyBag>& out) override {
        out.reset();
        if (HResult hr = m_context.faults.Next("BindToPropertyBag")) return hr;
        out = std::make_shared<SimPropertyBag>(m_context, m_device.friendlyName);
        return kSOk;
    }
    HResult BindToObject(const Guid& iid, ComPtr& out) override {
        out.reset();
        if (HResult hr = m_context.faults.Next("BindToFilter")) return hr;
        auto filter = SimFilter::Create(m_context, m_device.friendlyName, m_device.pins, RoleOf(m_device));
        return filter->QueryInterface(iid, out);
    }

private:
    MediaContext& m_context;
    const DeviceDesc& m_device;
};

using SimEnumMoniker = ListEnumerator<port::IEnumMoniker, port::IMoniker, SimMoniker>;

class SimDevEnum final : public port::ICreateDevEnum, public std::enable_shared_from_this<SimDevEnum> {
    LedgerToken m_ledgerEntry{"COM", "ICreateDevEnum"};  // counted while the object lives
public:
    explicit SimDevEnum(MediaContext& context) : m_context(context) {}
    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == guids::kIidCreateDevEnum || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult CreateClassEnumerator(const Guid& category, std::shared_ptr<port::IEnumMoniker>& out, uint32_t) override {
        out.reset();
        if (HResult hr = m_context.faults.Next("CreateClassEnumerator")) return hr;
        std::vector<std::shared_ptr<SimMoniker>> monikers;
        for (const DeviceDesc& d : m_context.config.devices)
            if (d.category == category ||
                std::find(d.alsoListedUnder.begin(), d.alsoListedUnder.end(), category) != d.alsoListedUnder.end())
                monikers.push_back(std::make_shared<SimMoniker>(m_context, d));
        if (monikers.empty()) return kSFalse;  // an empty category, as DirectShow reports it
        out = std::make_shared<SimEnumMoniker>(std::move(monikers));
        return kSOk;
    }

private:
    MediaContext& m_context;
};

}  // namespace

std::shared_ptr<port::ICreateDevEnum> NewDeviceEnumerator(MediaContext& context) {
    return std::make_shared<SimDevEnum>(context);
}

}  // namespace orbex::sim
