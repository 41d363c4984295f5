#include "test_case_record.h"

namespace orbex::harness {

int64_t VerdictOf(const TestCaseRecord& testCase) {
    for (const ResultRecord& r : testCase.results)
        if (r.status == kStatusFail) return kStatusFail;
    if (testCase.finalCallFirstResult < testCase.results.size()) return testCase.results.back().status;
    return testCase.returned ? testCase.returnValue : kNoVerdict;
}

const char* StatusName(int64_t status) {
    switch (status) {
        case kStatusFail: return "FAIL";
        case kStatusNotApplicable: return "NA";
        case kStatusNoRun: return "NORUN";
        case kStatusPass: return "PASS";
        case kNoVerdict: return "NONE";
        default: return "STATUS?";
    }
}

}  // namespace orbex::harness
