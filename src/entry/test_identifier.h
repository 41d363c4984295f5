// What the command line names: graph, device, test, parameter, graph file and
// the identifier text under which every result is reported.
#pragma once

#include <cstdint>

namespace orbex {

struct TestIdentifier {
    int32_t graphNumber = 0;
    int32_t deviceNumber = 0;
    int32_t testNumber = 0;
    int32_t parameter = 0;
    char graphFilePath[260] = "orbex.gf";
    char testIdText[256] = "tc0000";
};

}  // namespace orbex
