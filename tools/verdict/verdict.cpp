// The harness result library. Inside orbex-harness it hands every call to the
// harness through the OrbexHarnessEvent hook; loaded by any other program it
// prints each call on standard output.
#include <cstdio>

#include "platform/harness_hook.h"
#include "platform/host/host.h"

#if defined(_WIN32)
#define VERDICT_EXPORT extern "C" __declspec(dllexport)
#else
#define VERDICT_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

OrbexHarnessEventFn Hook() {
    return reinterpret_cast<OrbexHarnessEventFn>(orbex::host::ProgramSymbol(ORBEX_HARNESS_EVENT_SYMBOL));
}

const char* Text(const char* s) {
    return s ? s : "";
}

}  // namespace

VERDICT_EXPORT int TestBegin(const char* testId, int a, int b, const char* tool) {
    if (auto hook = Hook()) {
        OrbexEventField f[] = {
            {"test", Text(testId), 0, 0}, {"a", nullptr, a, 1}, {"b", nullptr, b, 1}, {"tool", Text(tool), 0, 0}};
        hook("TestBegin", f, 4);
    } else {
        std::printf("TestBegin(\"%s\", %d, %d, \"%s\")\n", Text(testId), a, b, Text(tool));
    }
    return 0;
}

VERDICT_EXPORT int TestEnd(const char* testId) {
    if (auto hook = Hook()) {
        OrbexEventField f[] = {{"test", Text(testId), 0, 0}};
        hook("TestEnd", f, 1);
    } else {
        std::printf("TestEnd(\"%s\")\n", Text(testId));
    }
    return 0;
}

VERDICT_EXPORT int ResultReport(const char* testId, const char* step, int status, const char* description,
                                const char* expected, const char* actual) {
    if (auto hook = Hook()) {
        OrbexEventField f[] = {{"test", Text(testId), 0, 0},       {"step", Text(step), 0, 0},
                               {"status", nullptr, status, 1},     {"description", Text(description), 0, 0},
                               {"expected", Text(expected), 0, 0}, {"actual", Text(actual), 0, 0}};
        hook("ResultReport", f, 6);
    } else {
        std::printf("ResultReport(\"%s\", \"%s\", %d, \"%s\", \"%s\", \"%s\")\n", Text(testId), Text(step), status,
                    Text(description), Text(expected), Text(actual));
    }
    return 0;
}
