// The MMTable checks: accessibility, known configuration, field validity,
// video inputs and reserved bits. The table is read anew on every call.
#include <cstring>

#include "cases/hwcaps/hardware_caps.h"
#include "cases/hwcaps/mm_entry.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/log_manager.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kPrefix = "CHardwareCaps::MMTableTest()>  ";
constexpr const char* kLogName = "CHardwareCaps::MMTableTest()";
}  // namespace

int32_t CHardwareCaps::MMTableTest(const char* description, const char* testId, int32_t testNumber, int32_t parameter) {
    if (!m_pGBuilder->HasCaptureCapability()) {
        Report(testId, testId, NA, "Test program initialization.", "Computer has video capture capability.",
               "[NA] Computer has no video capture capability. (No Decoder found)");
        Log(Logger(), kLevelTrace, kGreen, "%s[NA] Computer has no video capture capability. (No Decoder found).",
            kPrefix);
        return NA;
    }
    port::IDisplay& display = m_pGBuilder->Platform().Display();
    port::DisplayDc dc = display.CreateDisplayDc("DISPLAY");
    if (!dc) {
        Log(Logger(), kLevelFailure, kRed, "%s Cannot create DC, return FALSE.", kLogName);
        Report(testId, testId, Fail, description, "Able to create DC", "[NoRun]**** Failed to create DC.");
        return NoRun;
    }
    MMTableRequest request;
    request.functionCode = kDrexMmTable;
    m_mmTable.ulSize = sizeof m_mmTable;
    m_mmTable.bytesReturned = 0;
    if (display.ExtEscape(dc, kDrexEscape, sizeof request, &request, sizeof m_mmTable, &m_mmTable) != 0) {
        Log(Logger(), kLevelFailure, kRed, "%s Cannot get MMTable through DREEX call, return FALSE.", kLogName);
        Report(testId, testId, Fail, description, "Able to get MMTable through DREEX call.",
               "[NoRun]**** Cannot get MMTable through DREEX call.");
        display.DeleteDC(dc);
        return NoRun;
    }
    display.DeleteDC(dc);
    const uint8_t* t = m_mmTable.table;
    Log(Logger(), kLevelProgress, kGreen,
        "%s Found MMTable: "
        "0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X; UlSize: %d; "
        "BytesReturned: %d;",
        kLogName, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
        static_cast<int>(m_mmTable.ulSize), static_cast<int>(m_mmTable.bytesReturned));
    Log(Logger(), kLevelTrace, kGreen, "%s Checking against the internal database for known configuration ........ ",
        kLogName);

    if (testNumber == 501) return KnownConfiguration(description, testId);
    if (testNumber == 514) return HWTableTest(description, testId, testNumber, parameter);

    char verdict[256];
    const char* expected = "Valid TestID.";
    const char* passLog = nullptr;
    const char* failLog = nullptr;
    bool pass = false;
    switch (testNumber) {
        case 500:
            expected = "Able to get MMTable through DREEX call.";
            passLog = "return TRUE.";
            CopyText(verdict, sizeof verdict, "[Pass] Able to get MMTable through DREEX call.");
            pass = true;
            break;
        case 505: {
            int tuner = t[0] & 0x1F;
            pass = !((tuner >= 17 && tuner <= 28) || tuner == 31);
            expected = "Tuner type is valid.";
            passLog = "Tuner type is valid. Return TRUE.";
            failLog = "Tuner type is invalid. Return FALSE.";
            FormatInto(verdict, sizeof verdict,
                       pass ? "[Pass] Tuner type %d is valid." : "[Fail]**** Tuner type %d is invalid.", tuner);
            break;
        }
        case 506: {
            int decoder = t[5] & 0x0F;
            pass = decoder <= 7;
            expected = "Decoder Chip type is valid.";
            passLog = "Decoder Chip type is valid. Return TRUE.";
            failLog = "Decoder Chip type is invalid. Return FALSE.";
            FormatInto(verdict, sizeof verdict,
                       pass ? "[Pass] Decoder Chip type %d is valid" : "[Fail]**** Decoder Chip type %d is invalid",
                       decoder);
            break;
        }
        case 507: {
            int audio = t[1] & 0x0F;
            pass = audio <= 9 || audio == 15;
            expected = "Audio type is valid.";
            passLog = "Audio type is valid. Return TRUE.";
            failLog = "Audio type is invalid. Return FALSE.";
            FormatInto(verdict, sizeof verdict,
                       pass ? "[Pass] Audio type %d is valid." : "[Fail]**** Audio type %d is invalid.", audio);
            break;
        }
        case 508: {
            int types[5];
            int count = 0;
            for (int k = 0; k < 5; ++k) count += (types[k] = t[7 + k] & 0x03) != 0;
            expected = "Number of video input is valid.";
            if (count < 1 || count > 3) {
                failLog = "Invalid number of video input. Return FALSE.";
                FormatInto(verdict, sizeof verdict, "[Fail]**** %d video input is invalid.", count);
                break;
            }
            int duplicate = 0;
            for (int i = 0; i < 4; ++i)
                if (types[i] != 0)
                    for (int j = i + 1; j < 5; ++j)
                        if (types[i] == types[j]) duplicate = types[i];
            if (duplicate) {
                failLog = "2 video inputs are declared to be the same. Return FALSE.";
                FormatInto(verdict, sizeof verdict, "[Fail]**** 2 video inputs are declared to be the same as type %d.",
                           duplicate);
                break;
            }
            pass = true;
            passLog = "Number of video input is valid. Return TRUE.";
            FormatInto(verdict, sizeof verdict, "[Pass] %d video input is valid.", count);
            break;
        }
        case 509: {
            pass = (t[6] & 0xF8) == 0;
            for (int k = 7; k < 12; ++k) pass = pass && (t[k] & 0xB0) == 0;
            expected = "Reserved fields are all zeros.";
            passLog = "Reserved fields are all zeros. Return TRUE.";
            failLog = "Reserved fields are non zero. Return FALSE.";
            CopyText(verdict, sizeof verdict,
                     pass ? "[Pass] Reserved fields are all zeros." : "[Fail]**** Reserved fields are non zero.");
            break;
        }
        default:
            Log(Logger(), kLevelFailure, kRed, "%s Invalid TestID. No Run. Return FALSE.", kLogName);
            FormatInto(verdict, sizeof verdict, "[Fail]**** Invalid TestID (%d).", static_cast<int>(testNumber));
            Report(testId, testId, NoRun, description, expected, verdict);
            return NoRun;
    }
    if (pass)
        Log(Logger(), kLevelProgress, kGreen, "%s %s", kLogName, passLog);
    else
        Log(Logger(), kLevelFailure, kRed, "%s %s", kLogName, failLog);
    Report(testId, testId, pass ? Pass : Fail, description, expected, verdict);
    return pass ? Pass : Fail;
}

// Test 501: the table against the [MMTable] entries of the database, in file order.
int32_t CHardwareCaps::KnownConfiguration(const char* description, const char* testId) {
    port::IProfile& profile = m_pGBuilder->Platform().Profile();
    char keys[2048] = {};
    profile.ReadProfileString("MMTable", nullptr, "", keys, sizeof keys, m_databasePath);
    if (!keys[0]) {
        Log(Logger(), kLevelFailure, kRed, "%s Failed to retrieve records from the database.", kLogName);
        Report(testId, testId, Fail, description, "Database file exist.",
               "[Fail]**** Database file is missing or MMTable section is not available.");
        return Fail;
    }
    const uint8_t* t = m_mmTable.table;
    bool found = false;
    for (const char* key = keys; key < keys + sizeof keys && *key && !found; key += std::strlen(key) + 1) {
        char value[255] = {};
        profile.ReadProfileString("MMTable", key, "", value, sizeof value, m_databasePath);
        if (!value[0]) break;
        MMEntry entry;
        if (!ParseMMEntry(value, entry)) break;
        CopyText(m_configName, sizeof m_configName, entry.name);
        // Each entry starts from a clear candidate: missing bytes count as zero.
        std::memcpy(m_candidate, entry.table, sizeof m_candidate);
        found = std::memcmp(m_candidate, t, sizeof m_candidate) == 0;
    }
    char verdict[256];
    bool pass = false;
    if ((t[1] & 0x0A) != 0 && t[2] == 0) {
        Log(Logger(), kLevelFailure, kRed, "%s Should not have a Qel prototype board!", kLogName);
        CopyText(verdict, sizeof verdict, "[Fail]**** Should not use a Qel prototype board.");
    } else if (!found) {
        Log(Logger(), kLevelFailure, kRed,
            "%s Failed to find a known MMTable Configuration. Table still might be valid.", kLogName);
        CopyText(verdict, sizeof verdict, "[Fail]**** No match found.");
    } else {
        Log(Logger(), kLevelProgress, kGreen, "%s MMTable matches %s Configuration.", kLogName, m_configName);
        FormatInto(verdict, sizeof verdict, "[Pass] Matches config %s.", m_configName);
        pass = true;
    }
    char actual[320];
    FormatInto(actual, sizeof actual,
               "%s (0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X)", verdict,
               t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11]);
    Report(testId, testId, pass ? Pass : Fail, description, "Find a known MMTable match.", actual);
    return pass ? Pass : Fail;
}

}  // namespace orbex
