// One row of the filter table: a [ConnectionMap] entry of the graph file.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/media.h"
#include "platform/types.h"

namespace orbex {

constexpr int kMaxFilters = 32;
constexpr int kMaxLabels = 10;

struct FilterEntry {
    char name[32] = {};
    int32_t filterType = 0;
    Guid clsid;
    char friendlyName[32] = {};
    std::shared_ptr<port::IBaseFilter> filter;
    uint8_t inputCount = 0;
    uint8_t inputLabels[kMaxLabels] = {};
    uint8_t outputCount = 0;
    uint8_t outputLabels[kMaxLabels] = {};
};

// Filter types of the graph file.
enum FilterType : int32_t {
    kFilterPlain = 0,
    kFilterRenderer = 1,
    kFilterTuner = 2,
    kFilterDecoder = 3,
    kFilterCrossbar = 4,
    kFilterVideoAnalyzer = 5,
    kFilterOverlayMixer = 6,
    kFilterVbiAnalyzer = 8,
    kFilterTypeLast = 11,
};

}  // namespace orbex
