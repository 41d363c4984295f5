#include "test_case_record.h"

namespace orbex::harness {

bool IsForwardedLogLine(const std::string& step, const std::string& description) {
    if (description != "Message Log:" || step.size() < 4 || step.compare(0, 3, "msg") != 0) return false;
    return step.find_first_not_of("0123456789", 3) == std::string::npos;
}

int64_t VerdictOf(const TestCaseRecord& testCase) {
    const ResultRecord* closing = nullptr;
    for (size_t i = 0; i < testCase.results.size(); ++i) {
        const ResultRecord& r = testCase.results[i];
        if (r.forwarded) continue;
        if (r.status == kStatusFail) return kStatusFail;
        if (i >= testCase.finalCallFirstResult) closing = &r;
    }
    if (closing) return closing->status;
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
