// Line detection and horizontal lock over every supported standard of the
// selected groups; the lock test drives the closed-circuit test box.
#include "cases/decoder/decoder.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
// Switch bytes of the test box.
constexpr uint32_t kCircuitOpen = 0xFF;
constexpr uint32_t kCircuitClosed = 0xF7;
constexpr uint32_t kBoxIdle = 0x00;
}  // namespace

int32_t CDecoder::LineDetectionTest(const char* testId, int32_t parameter) {
    const char* description = "Line detection Test for different standards [Requrie Live Video Input]";
    int32_t overall = Pass;
    int32_t step = 1;
    int32_t lastLines = 0;
    if (!m_pDecoder || !testId || !*testId) {
        const char* id = testId ? testId : "";
        Report(id, id, NoRun, description, "PASS", "NO RUN::Decoder failed to load OR invalid TestID");
        return NoRun;
    }
    uint32_t family = FamilyMask(parameter);
    if (m_pDecoder->get_AvailableTVFormats(&m_availableStandards) != kSOk) {
        overall = NoRun;
    } else {
        int32_t saved = 0;
        if (m_pDecoder->get_TVFormat(&saved) != kSOk) saved = 0;
        for (uint32_t standard = 0x1; standard <= kLastStandardBit; standard <<= 1) {
            if (!StandardInFamily(standard, family)) continue;
            if (!(static_cast<uint32_t>(m_availableStandards) & standard)) continue;
            int32_t expectedLines = (standard & kGroup525) ? 525 : 625;
            char expected[256], actual[256], stepId[16];
            FormatInto(expected, sizeof expected, "Line for standard (0x%08x) = %d", standard, expectedLines);
            int32_t readBack = 0;
            bool pass = m_pDecoder->put_TVFormat(static_cast<int32_t>(standard)) == kSOk;
            if (pass) {
                Wait(500);
                pass = m_pDecoder->get_TVFormat(&readBack) == kSOk;
            }
            if (pass) pass = m_pDecoder->get_NumberOfLines(&lastLines) == kSOk;
            pass = pass && static_cast<uint32_t>(readBack) == standard && lastLines == expectedLines;
            FormatInto(actual, sizeof actual,
                       pass ? "PASS::Line detected for standard (0x%08x) = %d"
                            : "FAIL::Line detected for standard (0x%08x) = %d",
                       standard, lastLines);
            if (!pass) overall = Fail;
            FormatInto(stepId, sizeof stepId, "%d", step++);
            Report(testId, stepId, pass ? Pass : Fail, description, expected, actual);
        }
        m_pDecoder->put_TVFormat(saved);
    }
    const char* actual = overall == Pass    ? "PASS::All subTestes passed"
                         : overall == NoRun ? "FAIL::No Run"
                                            : "FAIL::One or more standards failed the line detection.";
    Report(testId, testId, overall, "Test Summary", "PASS line detection.", actual);
    return overall;
}

// Loads the test box library and its three entry points once per object.
bool CDecoder::LoadTestBox() {
    if (m_pTestBoxLibrary) return true;
    port::ILibraryLoader& loader = m_pGBuilder->Platform().Libraries();
    m_pTestBoxLibrary = loader.LoadNamedLibrary("cctb.dll");
    if (m_pTestBoxLibrary) {
        m_pBoxOpen = reinterpret_cast<port::CctbOpenFn>(loader.GetProcAddress(m_pTestBoxLibrary, "cctbOpen"));
        m_pBoxClose = reinterpret_cast<port::CctbCloseFn>(loader.GetProcAddress(m_pTestBoxLibrary, "cctbClose"));
        m_pBoxWrite = reinterpret_cast<port::CctbWriteFn>(loader.GetProcAddress(m_pTestBoxLibrary, "cctbWrite"));
        if (m_pBoxOpen && m_pBoxClose && m_pBoxWrite) return true;
        loader.FreeLibrary(m_pTestBoxLibrary);
    }
    m_pTestBoxLibrary = nullptr;
    m_pBoxOpen = nullptr;
    m_pBoxClose = nullptr;
    m_pBoxWrite = nullptr;
    return false;
}

void CDecoder::WriteTestBox(uint32_t value) {
    m_pBoxWrite(m_testBoxHandle, value);
}

int32_t CDecoder::HorizontalLockTest(const char* testId, int32_t parameter) {
    const char* description = "Horizontal Lock Test for different video standard. [Require Live Video Input]";
    int32_t overall = Pass;
    int32_t step = 0;
    uint32_t family = FamilyMask(parameter);
    if (!m_pDecoder || !testId || !*testId) {
        const char* id = testId ? testId : "";
        Report(id, id, NoRun, description, "Decoder loaded successfully.",
               "[NoRun]**** Decoder failed to load or invalid TestID.");
        return NoRun;
    }
    if (m_pDecoder->get_AvailableTVFormats(&m_availableStandards) != kSOk) {
        Report(testId, testId, NoRun, description, "Able to get available TV format.",
               "[NoRun]**** No available TV format.");
        return NoRun;
    }
    int32_t saved = 0;
    m_pDecoder->get_TVFormat(&saved);
    if (!LoadTestBox()) {
        Report(testId, testId, NoRun, description, "Able to load cctb.dll library and get all 3 function pointers.",
               "[NoRun]**** Failed to load cctb.dll library.");
        return NoRun;
    }
    m_testBoxHandle = m_pBoxOpen(0);
    if (m_testBoxHandle) WriteTestBox(kCircuitOpen);

    for (uint32_t s = 0x1; s <= kLastStandardBit; s <<= 1) {
        if (!StandardInFamily(s, family)) continue;
        if (!(static_cast<uint32_t>(m_availableStandards) & s)) continue;
        ++step;
        char stepDescription[256], expected[256], actual[256], stepId[16];
        FormatInto(stepDescription, sizeof stepDescription, "Test for signal lock with standard (0x%08x)", s);
        // One step: select the standard, read it back, then watch the lock
        // with the circuit opened and closed again (or just the lock, without a box).
        auto runStep = [&]() -> bool {
            int32_t readBack = 0, locked = 0;
            if (m_pDecoder->put_TVFormat(static_cast<int32_t>(s)) != kSOk) {
                FormatInto(expected, sizeof expected, "Able to set video standard to (0x%08x).", s);
                FormatInto(actual, sizeof actual, "[Fail]**** Fail to set video standard to (0x%08x).", s);
                return false;
            }
            Wait(500);
            if (m_pDecoder->get_TVFormat(&readBack) != kSOk || static_cast<uint32_t>(readBack) != s) {
                FormatInto(expected, sizeof expected, "Able to verified standard is set to(0x%08x).", s);
                FormatInto(actual, sizeof actual, "[Fail]**** Fail to verified standard is set to (0x%08x).", s);
                return false;
            }
            if (!m_testBoxHandle) {
                if (m_pDecoder->get_HorizontalLocked(&locked) == kSOk && locked) return true;
                FormatInto(expected, sizeof expected, "Horizontal signal lock for standard (0x%08x).", s);
                CopyText(actual, sizeof actual, "[Fail]**** Unable to receive a signal lock.");
                return false;
            }
            WriteTestBox(kCircuitOpen);
            Wait(500);
            if (m_pDecoder->get_HorizontalLocked(&locked) != kSOk || locked) {
                FormatInto(expected, sizeof expected, "No signal after opened circuit for standard (0x%08x).", s);
                CopyText(actual, sizeof actual, "[Fail]**** Still able to get a signal lock.");
                return false;
            }
            WriteTestBox(kCircuitClosed);
            Wait(500);
            if (m_pDecoder->get_HorizontalLocked(&locked) != kSOk || !locked) {
                FormatInto(expected, sizeof expected, "Signal after closed circuit for standard (0x%08x).", s);
                CopyText(actual, sizeof actual, "[Fail]**** Unable to receive a signal lock.");
                return false;
            }
            return true;
        };
        bool pass = runStep();
        if (pass) {
            FormatInto(expected, sizeof expected, "Horizontal signal lock for standard (0x%08x).", s);
            FormatInto(actual, sizeof actual, "[Pass] Horizontal signal lock for standard (0x%08x).", s);
        } else {
            overall = Fail;
        }
        FormatInto(stepId, sizeof stepId, "%d", step);
        Report(testId, stepId, pass ? Pass : Fail, stepDescription, expected, actual);
    }
    if (m_testBoxHandle) {
        WriteTestBox(kBoxIdle);
        m_pBoxClose(m_testBoxHandle);
        m_testBoxHandle = 0;
    }
    m_pDecoder->put_TVFormat(saved);
    Report(testId, testId, overall, "Test Summary", "[Pass] All signal lock test completed.",
           overall == Pass ? "All signal lock test completed."
                           : "[Fail]**** One or more subtestes failed the line detection.");
    return overall;
}

}  // namespace orbex
