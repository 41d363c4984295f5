// Set-up and dispatch of the board-table tests.
#include "cases/hwcaps/hardware_caps.h"

#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/log_manager.h"
#include "report/reg_settings.h"
#include "report/test_status.h"

namespace orbex {

CLogManager* CHardwareCaps::Logger() const {
    return m_pGBuilder ? m_pGBuilder->m_pLogger : nullptr;
}

void CHardwareCaps::Report(const char* testId, const char* step, int32_t status, const char* description,
                           const char* expected, const char* actual) {
    m_pGBuilder->Verdict().ResultReport(testId, step, status, description, expected, actual);
}

// The database is orbex.ini where the file system finds it, unless the
// settings name another file under [database] "location".
int32_t CHardwareCaps::Initialize(CLogManager*, COrbGBuilder* gBuilder, CRegSettings* regSettings) {
    m_pGBuilder = gBuilder;
    Log(Logger(), kLevelTrace, kGreen, "CHardwareCaps::Initialize() Entered.");
    port::IPlatform& platform = m_pGBuilder->Platform();
    if (!platform.Files().OpenFileExists("orbex.ini", m_databasePath, sizeof m_databasePath)) m_databasePath[0] = '\0';
    if (regSettings) {
        Log(Logger(), kLevelTrace, kGreen, "CHardwareCaps::Initialize() Locating database path from registry.");
        char current[sizeof m_databasePath];
        CopyText(current, sizeof current, m_databasePath);
        if (regSettings->ReadSettingString("database", "location", current, m_databasePath, sizeof m_databasePath,
                                           "orbex.ini") != 0)
            Log(Logger(), kLevelTrace, kGreen, "CHardwareCaps::Initialize() PathToDatabase %s", m_databasePath);
        else
            Log(Logger(), kLevelProgress, kGreen,
                "CHardwareCaps::Initialize() Fail to retrieve PathToDatabase from registry, try local");
    } else {
        Log(Logger(), kLevelProgress, kGreen,
            "CHardwareCaps::Initialize() NULL pointer for Registry access, try local directory.");
    }
    Log(Logger(), kLevelTrace, kGreen, "CHardwareCaps::Initialize() Exit");
    return 0;
}

int32_t CHardwareCaps::ExecuteTest(const char* testId, int32_t testNumber, int32_t parameter) {
    switch (testNumber) {
        case 500: return MMTableTest("Check if Multimedia Table is accessable.", testId, testNumber, parameter);
        case 501:
            return MMTableTest("Check if MMTable match with an existing valid configuration.", testId, testNumber,
                               parameter);
        case 502: return HWTableTest("Check if Haredware Table is accessable.", testId, testNumber, parameter);
        case 505: return MMTableTest("Check if tuner type is valid.", testId, testNumber, parameter);
        case 506: return MMTableTest("Check if decoder type is valid.", testId, testNumber, parameter);
        case 507: return MMTableTest("Check if audio chip type is valid.", testId, testNumber, parameter);
        case 508: return MMTableTest("Check for a valid number of video input.", testId, testNumber, parameter);
        case 509:
            return MMTableTest("Check if MMTable reserved fields are filled with zeros.", testId, testNumber,
                               parameter);
        case 510: return MMMaskTest(testId, testNumber, parameter);
        case 511: return HWTableTest("Check if I2C type is valid.", testId, testNumber, parameter);
        case 512: return HWTableTest("Check if VIP type is valid.", testId, testNumber, parameter);
        case 513:
            return HWTableTest("Check if HWTable reserved fields are filled with zeros.", testId, testNumber,
                               parameter);
        case 514: return MMTableTest("Check if MMTable is conflicting with HWTable.", testId, testNumber, parameter);
        default: {
            char actual[256];
            FormatInto(actual, sizeof actual, "[NoRun]**** TestID \"%s\" is invalid.", testId);
            Report(testId, testId, NoRun, "CHardwareCaps test.", "Valid TestID.", actual);
            return NoRun;
        }
    }
}

}  // namespace orbex
