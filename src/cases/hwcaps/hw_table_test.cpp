// The HWTable checks: signature and version, I2C and VIP types, reserved
// bits, and the consistency checks between the MMTable and the HWTable.
#include "cases/hwcaps/hardware_caps.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/log_manager.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kPrefix = "CHardwareCaps::HWTableTest()>  ";
constexpr uint32_t kSignature = 0x4C455124;  // "$QEL"
}  // namespace

int32_t CHardwareCaps::HWTableTest(const char* description, const char* testId, int32_t testNumber, int32_t) {
    Log(Logger(), kLevelTrace, kGreen, "%sEntered.", kPrefix);
    port::IDisplay& display = m_pGBuilder->Platform().Display();
    port::DisplayDc dc = display.CreateDisplayDc("DISPLAY");
    if (!dc) {
        Report(testId, testId, Fail, description, "Able to create DC", "[NoRun]**** Failed to create DC.");
        Log(Logger(), kLevelFailure, kRed, "%s[NoRun]**** Failed to create DC.", kPrefix);
        return NoRun;
    }
    MMTableRequest request;
    request.functionCode = kDrexHwTable;
    m_hwTable.ulSize = sizeof m_hwTable;
    m_hwTable.bytesReturned = 0;
    if (display.ExtEscape(dc, kDrexEscape, sizeof request, &request, sizeof m_hwTable, &m_hwTable) != 0) {
        display.DeleteDC(dc);
        Report(testId, testId, Fail, description, "Able to get MMTable through DREEX call.",
               "[NoRun]**** Cannot get MMTable through DREEX call.");
        Log(Logger(), kLevelFailure, kRed, "%s[NoRun]**** Cannot get MMTable through DREEX call.", kPrefix);
        return NoRun;
    }
    display.DeleteDC(dc);
    const uint8_t* h = m_hwTable.table;
    const uint32_t signature = static_cast<uint32_t>(h[0]) | static_cast<uint32_t>(h[1]) << 8 |
                               static_cast<uint32_t>(h[2]) << 16 | static_cast<uint32_t>(h[3]) << 24;
    Log(Logger(), kLevelProgress, kGreen, "%sFound HWTable: 0x%08x,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X.", kPrefix,
        signature, h[4], h[5], h[6], h[7], h[8], h[9]);
    Log(Logger(), kLevelTrace, kGreen, "%sChecking against the internal database for known configuration ........",
        kPrefix);

    const int i2c = h[6] & 0x0F;
    const int vip = h[9] & 0x0F;
    char verdict[256];
    const char* expected = "Valid TestID.";
    int32_t status = Fail;
    switch (testNumber) {
        case 502:
            expected = "HWTable is accessable.";
            if (signature != kSignature)
                FormatInto(verdict, sizeof verdict, "[Fail]**** Invalid HWTable signature (%X).", signature);
            else if (h[4] >= 5)
                FormatInto(verdict, sizeof verdict, "[Fail]**** Invalid HWTable version (%d).", h[4]);
            else
                status = Pass;
            if (status == Pass) CopyText(verdict, sizeof verdict, "[Pass] HWTable is accessable.");
            break;
        case 511:
            expected = "Valid I2C type.";
            if (i2c <= 6 || i2c == 15) status = Pass;
            FormatInto(verdict, sizeof verdict,
                       status == Pass ? "[Pass] Valid I2C type (%X)." : "[Fail]**** Invalid I2C type (%X).", i2c);
            break;
        case 512:
            expected = "Valid VIP type.";
            if (vip <= 4) status = Pass;
            FormatInto(verdict, sizeof verdict,
                       status == Pass ? "[Pass] Valid VIP type (%X)." : "[Fail]**** Invalid VIP type (%X).", vip);
            break;
        case 513:
            expected = "Reserved fields are all zeros.";
            if ((h[6] & 0x70) == 0 && (h[8] & 0xF0) == 0 && (h[9] & 0xF0) == 0) status = Pass;
            CopyText(
                verdict, sizeof verdict,
                status == Pass ? "[Pass] Reserved fields are all zeros." : "[Fail]**** Reserved fields are non zero.");
            break;
        case 514:
            expected = "All conflict test has passed.";
            status = ConsistencyChecks(testId);
            CopyText(verdict, sizeof verdict,
                     status == Pass ? "[Pass] All conflict test has passed."
                                    : "[Fail]**** One or more conflict test has failed.");
            break;
        default:
            status = NoRun;
            FormatInto(verdict, sizeof verdict, "[Fail]**** Invalid TestID (%d).", static_cast<int>(testNumber));
            break;
    }
    Report(testId, testId, status, description, expected, verdict);
    if (status == Pass)
        Log(Logger(), kLevelProgress, kGreen, "%s%s", kPrefix, verdict);
    else
        Log(Logger(), kLevelFailure, kRed, "%s%s", kPrefix, verdict);
    return status;
}

// The eight checks between the MMTable last read and the HWTable, each
// reported as its own sub-result; one failure fails the whole.
int32_t CHardwareCaps::ConsistencyChecks(const char* testId) {
    const uint8_t* t = m_mmTable.table;
    const int i2c = m_hwTable.table[6] & 0x0F;
    const int vip = m_hwTable.table[9] & 0x0F;
    const bool tuner = t[0] != 0;
    const int decoder = t[5] & 0x0F;
    int32_t overall = Pass;
    char verdict[256];
    auto sub = [&](const char* step, bool pass, const char* description, const char* expected) {
        if (!pass) overall = Fail;
        Report(testId, step, pass ? Pass : Fail, description, expected, verdict);
    };

    int inputs = 0;
    for (int k = 7; k < 12; ++k) inputs += (t[k] & 0x03) != 0;
    bool pass = !(t[2] >= 1 && t[2] <= 4 && inputs != 3);
    FormatInto(verdict, sizeof verdict,
               pass ? "[Pass] Valid video input count." : "[Fail]**** Invalid video input count for Zorix (%d).",
               inputs);
    sub("1", pass, "Test for valid amount of video input.", "Valid video input count.");

    const int field = t[0] >> 5;
    pass = true;
    if (!tuner)
        FormatInto(verdict, sizeof verdict,
                   "[Pass] Board has no tuner. \"Video input for tuner\" field (%d) is ignored.", field);
    else if (field > 4) {
        pass = false;
        FormatInto(verdict, sizeof verdict, "[Fail]**** Invalid \"Video input for tuner\" field (%d).", field);
    } else if (t[7 + field] == 0) {
        pass = false;
        FormatInto(verdict, sizeof verdict,
                   "[Fail]**** \"Video input for tuner\" field (%d) and \"Video Input(%d) Type\" (%d) mismatch.", field,
                   field, 0);
    } else
        CopyText(verdict, sizeof verdict, "[Pass] \"Video input for tuner\" field is consistent.");
    sub("2", pass, "Check if \"Video input for tuner\" field is consistent with other fields.",
        "\"Video input for tuner\" field is consistent.");

    pass = !(t[3] != 0 && !tuner);
    CopyText(verdict, sizeof verdict,
             pass ? "[Pass] Power Down and Tuner Type are consistent."
                  : "[Fail]**** Tuner Power Down Feature exist for a board with no tuner.");
    sub("3", pass, "Check if Tuner Power Down Feature exist for a board with tuner.",
        "Power Down and Tuner Type is consistent.");

    pass = !(tuner && i2c > 6);
    CopyText(
        verdict, sizeof verdict,
        pass ? "[Pass] Power Down and Tuner Type is consistent." : "[Fail]**** I2C is disabled for an existing tuner.");
    sub("4", pass, "Check if I2C is enabled if tuner exists.", "I2C is enabled if tuner exists.");

    pass = !(decoder == 6 && (vip == 0 || vip > 4));
    CopyText(verdict, sizeof verdict,
             pass ? "[Pass] VIP/MPP Setting and Decoder Type are consistent."
                  : "[Fail]**** VIP or MPP is disabled for existing Ondrel Decoder.");
    sub("5", pass, "Check if VIP or MPP is enabled if Ondrel exists.",
        "VIP/MPP Setting and Decoder Type are consistent.");

    const int hostPort = t[5] >> 4;
    pass = hostPort > 4 || hostPort == vip;
    if (pass)
        CopyText(verdict, sizeof verdict, "[Pass] Host Port Configuration is consistent between MMTable and HWTable.");
    else
        FormatInto(verdict, sizeof verdict,
                   "[Fail]**** Host Port Configuration mismatch between MMTable (%d) and HWTable (%d).", hostPort, vip);
    sub("6", pass, "Check if Host Port Configuration is consistent between MMTable and HWTable.",
        "Host Port Configuration is consistent between MMTable and HWTable.");

    // Any of the two teletext bits means hardware teletext, which needs a decoder.
    pass = (t[3] & 0x0C) == 0 || (decoder >= 1 && decoder <= 7);
    CopyText(verdict, sizeof verdict,
             pass ? "[Pass] Teletext Support is consistent with Decoder Type."
                  : "[Fail]**** Teletext Support enabled for a card with no decoder.");
    sub("7", pass, "Check if decoder exist if there is Hardware Teletext Support.",
        "Teletext Support is consistent with Decoder Type.");

    // Audio chips 1-8 sit on Zorix boards only; 0 is no chip, 9 and up are not chips of the board.
    const int audio = t[1] & 0x0F;
    pass = audio > 8 || t[2] != 0 || audio == 0;
    CopyText(verdict, sizeof verdict,
             pass ? "[Pass] Audio chip setting is consistent with board type."
                  : "[Fail]**** Audio chip exist on a non Zorix board.");
    sub("8", pass, "Check if audio chip setting is consistent with board type.",
        "Audio chip setting is consistent with board type.");
    return overall;
}

}  // namespace orbex
