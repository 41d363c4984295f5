// The feature-mask test: every configuration of the database goes to the
// board's kernel driver, whose mask library answers its feature mask; each is
// compared with the database's expected mask.
#include <cstring>

#include "cases/hwcaps/hardware_caps.h"
#include "cases/hwcaps/mask_names.h"
#include "cases/hwcaps/mm_entry.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/log_manager.h"
#include "report/test_status.h"

namespace orbex {
namespace {

constexpr const char* kPrefix = "CHardwareCaps::MMMaskTest()>  ";
constexpr const char* kDevicePath = "\\\\.\\qel2vxag.vxd";
constexpr int32_t kWindows9x = 3;
constexpr uint32_t kMaskIoctl = 0x51454CF3;
constexpr uint32_t kRequestTag = 0x54430001;
constexpr uint32_t kReplyValid = 0x54530000;
// CreateFile's access, sharing, disposition and attributes.
constexpr uint32_t kGenericRead = 0x80000000;
constexpr uint32_t kShareReadWrite = 0x3;
constexpr uint32_t kOpenExisting = 3;
constexpr uint32_t kAttributeNormal = 0x80;

struct MaskRequest {
    uint8_t bytes[76] = {};
};
struct MaskReply {
    uint8_t bytes[64] = {};
};

void PutDword(uint8_t* at, uint32_t value) {
    std::memcpy(at, &value, 4);
}
uint32_t GetDword(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

}  // namespace

uint32_t CHardwareCaps::SendDriverIoctl(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize) {
    port::IDeviceIo& io = m_pGBuilder->Platform().DeviceIo();
    port::DeviceHandle device =
        io.OpenDevice(kDevicePath, kGenericRead, kShareReadWrite, kOpenExisting, kAttributeNormal);
    if (device == port::kInvalidDeviceHandle) return io.GetLastError();
    uint32_t returned = 0;
    uint32_t result = io.DeviceIoControl(device, code, in, inSize, out, outSize, &returned) ? 0 : io.GetLastError();
    io.CloseHandle(device);
    return result;
}

int32_t CHardwareCaps::MMMaskTest(const char* testId, int32_t, int32_t) {
    const char* start = "Check if Maskon returns valid mask for varies MMTable.";
    auto logResult = [&](int32_t status, const char* text) {
        if (status == Pass)
            Log(Logger(), kLevelProgress, kGreen, "%s%s", kPrefix, text);
        else
            Log(Logger(), kLevelFailure, kRed, "%s%s", kPrefix, text);
    };
    if (m_pGBuilder->GetOSVersion() != kWindows9x) {
        Report(testId, testId, Pass, start, "Test is executed on Win9X.",
               "[Pass] Win2K detected. This is temporary disabled for Win2K.");
        Log(Logger(), kLevelPassNote, kGreen, "%s[Pass] Win2K detected. This is temporary disabled for Win2K.",
            kPrefix);
        return Pass;
    }
    port::IProfile& profile = m_pGBuilder->Platform().Profile();
    char keys[2048] = {};
    profile.ReadProfileString("MMMask", nullptr, "", keys, sizeof keys, m_databasePath);
    if (!keys[0]) {
        const char* actual = "[Fail]**** Database file is missing or [MMMask] section is missing.";
        Report(testId, testId, Fail, start, "Database file exist.", actual);
        logResult(Fail, actual);
        return Fail;
    }
    int32_t overall = Pass;
    MaskRequest request;
    MaskReply reply;
    PutDword(request.bytes + 4, kRequestTag);
    PutDword(request.bytes + 12, kRequestTag);
    PutDword(request.bytes + 36, 12);
    PutDword(request.bytes + 40, 1);
    request.bytes[44] = 0xFF;
    request.bytes[45] = 0xFF;

    int sequence = 0;
    for (const char* key = keys; key < keys + sizeof keys && *key; key += std::strlen(key) + 1) {
        char step[16];
        FormatInto(step, sizeof step, "%d", ++sequence);
        int32_t status = Fail;
        char description[256];
        char expected[256];
        char actual[256];
        FormatInto(description, sizeof description, "Check if key \"%s\" will return a valid mask.", key);
        char value[255] = {};  // the database's entry buffer, as the MMTable search reads it
        MMEntry entry;
        if (profile.ReadProfileString("MMMask", key, "", value, sizeof value, m_databasePath) == 0) {
            CopyText(expected, sizeof expected, "Database file is valid.");
            FormatInto(actual, sizeof actual, "Fail to read \"%s\" entry from section [MMMask].", key);
        } else {
            const uint32_t expectedMask = ReadHexItem(value);
            value[0] = '\0';
            profile.ReadProfileString("MMTable", key, "", value, sizeof value, m_databasePath);
            if (!value[0] || !ParseMMEntry(value, entry)) {
                CopyText(expected, sizeof expected, "Database file is valid.");
                FormatInto(actual, sizeof actual, "Fail to read \"%s\" entry from section [MMTable].", key);
            } else {
                CopyText(m_configName, sizeof m_configName, entry.name);
                std::memcpy(request.bytes + 16, entry.table, sizeof entry.table);
                if (entry.byteCount != kMMTableBytes) {
                    CopyText(expected, sizeof expected, "MMTable should be 12 bytes in size.");
                    FormatInto(actual, sizeof actual, "The MMTable read from \"%s\" entry has %d bytes.", key,
                               static_cast<int>(entry.byteCount));
                } else {
                    FormatInto(description, sizeof description, "Check if MMTable %s will return a valid mask.",
                               entry.name);
                    uint32_t result = SendDriverIoctl(kMaskIoctl, request.bytes, sizeof request.bytes, reply.bytes,
                                                      sizeof reply.bytes);
                    if (result != 0 || GetDword(reply.bytes + 8) != kReplyValid) {
                        CopyText(expected, sizeof expected, "Able to receive a mask from Maskon.");
                        CopyText(actual, sizeof actual, "Failed to receive a mask from Maskon.");
                    } else {
                        const uint32_t actualMask = GetDword(reply.bytes + 12);
                        const uint32_t mismatch = expectedMask ^ actualMask;
                        char names[256];
                        MismatchNames(mismatch, names, sizeof names);
                        FormatInto(expected, sizeof expected, "Expected Mask=0x%08X", expectedMask);
                        if (mismatch) {
                            FormatInto(actual, sizeof actual,
                                       "[Fail]**** Actual Mask=0x%08X; Error Mask=0x%08X; Mismatch=\"%s\"", actualMask,
                                       mismatch, names);
                        } else {
                            FormatInto(actual, sizeof actual, "[Pass] Actual Mask=0x%08X", actualMask);
                            status = Pass;
                        }
                    }
                }
            }
        }
        if (status != Pass) overall = Fail;
        Report(testId, step, status, description, expected, actual);
        logResult(status, actual);
    }
    const char* summary = overall == Pass ? "[Pass] All MMTables receive valid masks from Maskon."
                                          : "[Fail]**** One or more returned mask is invalid.";
    Report(testId, testId, overall, "Test Summary", "All MMTables receive valid masks from Maskon.", summary);
    logResult(overall, summary);
    return overall;
}

}  // namespace orbex
