#include "entry/orbex_process.h"

#include "cases/comchk/com_chker.h"
#include "cases/crossbar/dec_xbar.h"
#include "cases/decoder/decoder.h"
#include "cases/hwcaps/hardware_caps.h"
#include "cases/stream/orb_stream.h"
#include "cases/tuner/tuner.h"
#include "cases/vbi/vbi.h"
#include "common/format.h"
#include "entry/command_line.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kToolName = "orbex.exe ver1.0";

// Graph number times 100 plus test number, wrapping as 32-bit arithmetic does.
int32_t TestCode(const TestIdentifier& id) {
    return static_cast<int32_t>(static_cast<uint32_t>(id.graphNumber) * 100u + static_cast<uint32_t>(id.testNumber));
}
}  // namespace

COrbexProcess::COrbexProcess(port::IPlatform& platform)
    : m_platform(platform),
      m_boardInfo(platform.Display()),
      m_regSettings(platform),
      m_verdict(platform.Libraries()),
      m_logManager(platform, m_verdict),
      m_gBuilder(platform, m_boardInfo, m_logFile, m_regSettings, m_verdict) {
    m_logManager.SetTestIdText(m_gBuilder.Id().testIdText);
}

int32_t COrbexProcess::OrbexEntry(const char* commandLine, int32_t) {
    int32_t status = RunSequence(commandLine);
    // Profile changes (the merged graph file) reach the disk before the harness goes on.
    m_platform.Profile().FlushProfiles();
    return status;
}

int32_t COrbexProcess::RunSequence(const char* commandLine) {
    TestIdentifier& id = m_gBuilder.Id();
    m_verdict.Load();
    if (ParseCommandLine(commandLine, id, m_platform.System(), m_platform.User()) != 0) return 0;

    if (EqualsNoCase(id.testIdText, "tc0000") || EqualsNoCase(id.testIdText, "G0_D0_T0_P0_Fdefault")) {
        m_verdict.TestBegin(id.testIdText, 30, 1, kToolName);
        int32_t status = SelfSetup() == 1 ? Pass : Fail;
        m_verdict.ResultReport(id.testIdText, id.testIdText, status, "ORBEX SelfSetup", "ORBEX setup needed files.",
                               "ORBEX finished setting up needed files.");
        m_verdict.TestEnd(id.testIdText);
        m_verdict.Unload();
        return 1;
    }

    m_platform.Com().CoInitialize();
    m_logManager.Open();
    m_gBuilder.m_pLogger = &m_logManager;
    m_verdict.TestBegin(id.testIdText, 30, 1, kToolName);
    if (m_gBuilder.Initialize() != 0) {
        m_verdict.TestEnd(id.testIdText);
        return 0;
    }
    int32_t status = id.testIdText[0] ? TestExecuter() : NoRun;
    m_platform.Com().CoUninitialize();
    m_verdict.Unload();
    return status;
}

int32_t COrbexProcess::TestExecuter() {
    const TestIdentifier& id = m_gBuilder.Id();
    TestObject object;
    if (id.graphNumber == 5) {
        object = TestObject::HardwareCaps;
    } else {
        switch (id.deviceNumber) {
            case 1: object = TestObject::Tuner; break;
            case 2: object = TestObject::Decoder; break;
            case 4: object = TestObject::Crossbar; break;
            case 9: object = TestObject::ComChker; break;
            case 10: object = TestObject::Stream; break;
            case 11: object = TestObject::Vbi; break;
            default: {
                char actual[256];
                FormatInto(actual, sizeof actual, "[NoRun]**** Invalid test case \"%s\".", id.testIdText);
                Log(&m_logManager, kLevelFailure, kRed, "TestExecuter()>  %s", actual);
                m_verdict.ResultReport(id.testIdText, id.testIdText, NoRun, "Test executer.", "Valid test case",
                                       actual);
                return NoRun;
            }
        }
    }
    // A test object that does not exist, or did not initialise, is never called.
    if (!m_gBuilder.IsTestObjectReady(object)) {
        char actual[256];
        FormatInto(actual, sizeof actual, "[NoRun]**** The %s test object is not available for test case \"%s\".",
                   TestObjectClassName(object), id.testIdText);
        Log(&m_logManager, kLevelNoRun, kBlack, "TestExecuter()>  %s", actual);
        m_verdict.ResultReport(id.testIdText, id.testIdText, NoRun, "Test executer.", "Test object is ready.", actual);
        return NoRun;
    }
    int32_t testCode = TestCode(id);
    switch (object) {
        case TestObject::Tuner: return m_gBuilder.Tuner()->ExecuteTest(id.testIdText, testCode, id.parameter);
        case TestObject::Decoder: return m_gBuilder.Decoder()->ExecuteTest(id.testIdText, testCode, id.parameter);
        case TestObject::Crossbar: return m_gBuilder.Crossbar()->ExecuteTest(id.testIdText, testCode, id.parameter);
        case TestObject::ComChker: return m_gBuilder.ComChker()->ExecuteTest(id.testIdText, testCode, 0);
        case TestObject::Stream: return m_gBuilder.Stream()->ExecuteTest();
        case TestObject::Vbi: return m_gBuilder.Vbi()->ExecuteTest();
        case TestObject::HardwareCaps:
            return m_gBuilder.HardwareCaps()->ExecuteTest(id.testIdText, testCode, id.parameter);
        default: return NoRun;  // not reached: only built test objects are ready
    }
}

}  // namespace orbex
