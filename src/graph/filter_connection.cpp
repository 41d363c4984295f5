// Wiring the filters by their labels, pin lookup by number, graph control and release.
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kConnectPrefix = "COrbGBuilder::ConnectFilters()>  ";
constexpr HResult kNoFilterGraph = 5;
}  // namespace

int32_t COrbGBuilder::ConnectFilters() {
    for (int i = 0; i < m_filterCount; ++i) {
        const FilterEntry& source = m_filters[i];
        for (int j = 0; j < source.outputCount && j < kMaxLabels; ++j) {
            uint8_t label = source.outputLabels[j];
            if (label == 0) continue;
            for (int k = 0; k < m_filterCount; ++k) {
                const FilterEntry& destination = m_filters[k];
                for (int m = 0; m < destination.inputCount && m < kMaxLabels; ++m) {
                    if (destination.inputLabels[m] != label) continue;
                    HResult hr = ConnectPins(source.filter, destination.filter, static_cast<uint16_t>(j + 1),
                                             static_cast<uint16_t>(m + 1));
                    if (hr == 0) continue;
                    char actual[256];
                    FormatInto(actual, sizeof actual,
                               "[Info] Failed to connect:  from Filter \"%s\" OutPin%d to Filter \"%s\" InPin%d "
                               "(Err=%d). This test might not be designed for this system.",
                               source.name, j, destination.name, m, static_cast<int>(hr));
                    Report("0", NA, "Connect all filters in the graph together.",
                           "Successfully complete all pin connections.", actual);
                    Log(m_pLogger, kLevelNote, kBlue, "%s%s", kConnectPrefix, actual);
                    ReleaseFilters();
                    return 1;
                }
            }
        }
    }
    return 0;
}

// The pin of a direction with the given number (from 1), counted in the order
// the filter's pin enumerator delivers them.
HResult COrbGBuilder::FindPin(const std::shared_ptr<port::IBaseFilter>& filter, PinDirection direction, uint16_t number,
                              std::shared_ptr<port::IPin>& pin) {
    pin.reset();
    std::shared_ptr<port::IEnumPins> pins;
    if (filter->EnumPins(pins) != kSOk || !pins) return kEPointer;
    pins->Reset();
    uint16_t count = 0;
    std::shared_ptr<port::IPin> candidate;
    HResult result = kEPointer;
    while (pins->Next(candidate) == kSOk && candidate) {
        port::PinInfo info;
        if (candidate->QueryPinInfo(info) != kSOk || !info.filter) {
            result = kEPointer;
            break;
        }
        info.filter.reset();
        if (info.direction == direction && ++count == number) {
            pin = candidate;
            result = kSOk;
            break;
        }
        candidate.reset();
    }
    pins->Reset();
    return result;
}

// The output pin of the source and the input pin of the destination by number.
HResult COrbGBuilder::FindPinPair(const std::shared_ptr<port::IBaseFilter>& source,
                                  const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin,
                                  uint16_t inputPin, std::shared_ptr<port::IPin>& out,
                                  std::shared_ptr<port::IPin>& in) {
    if (!m_pGraphBuilder) return kNoFilterGraph;
    if (!source || !destination) return kEPointer;
    if (FindPin(source, PinDirection::Output, outputPin, out) != kSOk) return kEPointer;
    if (FindPin(destination, PinDirection::Input, inputPin, in) != kSOk) return kEPointer;
    return kSOk;
}

HResult COrbGBuilder::ConnectPins(const std::shared_ptr<port::IBaseFilter>& source,
                                  const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin,
                                  uint16_t inputPin) {
    std::shared_ptr<port::IPin> out, in;
    if (HResult hr = FindPinPair(source, destination, outputPin, inputPin, out, in)) return hr;
    HResult hr = m_pGraphBuilder->ConnectDirect(out, in);
    return Succeeded(hr) ? hr : kEPointer;  // the graph's own failure code is not passed on
}

HResult COrbGBuilder::DisconnectPins(const std::shared_ptr<port::IBaseFilter>& source,
                                     const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin,
                                     uint16_t inputPin) {
    std::shared_ptr<port::IPin> out, in;
    if (HResult hr = FindPinPair(source, destination, outputPin, inputPin, out, in)) return hr;
    if (m_pGraphBuilder->Disconnect(out) != kSOk) return kEPointer;
    if (m_pGraphBuilder->Disconnect(in) != kSOk) return kEPointer;
    return 0;
}

int32_t COrbGBuilder::ReleaseFilters() {
    for (int i = 0; i < m_filterCount; ++i) {
        FilterEntry& entry = m_filters[i];
        if (!entry.filter) continue;
        if (m_pGraphBuilder) m_pGraphBuilder->RemoveFilter(entry.filter);
        entry.filter.reset();
    }
    m_filterCount = 0;
    if (m_pCaptureGraphBuilder) {
        m_pCaptureGraphBuilder.reset();
        m_pGraphBuilder.reset();
    }
    return 0;
}

int32_t COrbGBuilder::GetMediaControl() {
    if (m_pGraphBuilder) port::ComQuery(*m_pGraphBuilder, guids::kIidMediaControl, m_pMediaControl);
    return 0;
}

HResult COrbGBuilder::SetGraphState(int32_t run) {
    if (!m_pMediaControl) return 1;
    return run ? m_pMediaControl->Run() : m_pMediaControl->Stop();
}

int32_t COrbGBuilder::SetCaptureFilter(const std::shared_ptr<port::IBaseFilter>& filter) {
    m_pCaptureFilter = filter;
    return 0;
}

int32_t COrbGBuilder::ReleaseInterfaces() {
    m_pMediaControl.reset();
    m_pStreamConfig.reset();
    m_pCaptureFilter.reset();
    return 0;
}

}  // namespace orbex
