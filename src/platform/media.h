// The DirectShow objects the graph builder uses, as COM-style ports.
#pragma once

#include <memory>
#include <string>

#include "platform/com.h"
#include "platform/types.h"

namespace orbex::port {

class IBaseFilter;

struct PinInfo {
    std::shared_ptr<IBaseFilter> filter;  // the owning filter; empty when the pin has none
    PinDirection direction = PinDirection::Input;
    std::string name;
};

class IPin : public IComObject {
public:
    virtual HResult QueryPinInfo(PinInfo& out) = 0;
    // The pin this one is connected to; VFW_E_NOT_CONNECTED when none.
    virtual HResult ConnectedTo(std::shared_ptr<IPin>& out) = 0;
};

class IEnumPins : public IComObject {
public:
    virtual HResult Next(std::shared_ptr<IPin>& out) = 0;  // kSFalse at the end
    virtual HResult Reset() = 0;
};

class IBaseFilter : public IComObject {
public:
    virtual HResult EnumPins(std::shared_ptr<IEnumPins>& out) = 0;
};

class IMediaControl : public IComObject {
public:
    virtual HResult Run() = 0;
    virtual HResult Stop() = 0;
};

class IGraphBuilder : public IComObject {
public:
    virtual HResult AddFilter(const std::shared_ptr<IBaseFilter>& filter, const char* name) = 0;
    virtual HResult RemoveFilter(const std::shared_ptr<IBaseFilter>& filter) = 0;
    // Connects two pins directly; the system never passes a media type.
    virtual HResult ConnectDirect(const std::shared_ptr<IPin>& out, const std::shared_ptr<IPin>& in) = 0;
    virtual HResult Disconnect(const std::shared_ptr<IPin>& pin) = 0;
};

class ICaptureGraphBuilder : public IComObject {
public:
    virtual HResult SetFiltergraph(const std::shared_ptr<IGraphBuilder>& graph) = 0;
    // Looks for an interface on the filter or on a pin of the given category.
    virtual HResult FindInterface(const Guid* category, const std::shared_ptr<IBaseFilter>& filter, const Guid& iid,
                                  ComPtr& out) = 0;
};

class IPropertyBag : public IComObject {
public:
    // Reads a string property, already converted to 8-bit text in the system code page.
    virtual HResult ReadString(const char* name, std::string& out) = 0;
};

class IMoniker : public IComObject {
public:
    virtual HResult BindToPropertyBag(std::shared_ptr<IPropertyBag>& out) = 0;
    virtual HResult BindToObject(const Guid& iid, ComPtr& out) = 0;
};

class IEnumMoniker : public IComObject {
public:
    virtual HResult Next(std::shared_ptr<IMoniker>& out) = 0;  // kSFalse at the end
    virtual HResult Reset() = 0;
};

class ICreateDevEnum : public IComObject {
public:
    // kSFalse and no enumerator for a category without devices.
    virtual HResult CreateClassEnumerator(const Guid& category, std::shared_ptr<IEnumMoniker>& out, uint32_t flags) = 0;
};

}  // namespace orbex::port
