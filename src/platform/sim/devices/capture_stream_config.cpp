#include "platform/sim/devices/capture_stream_config.h"

#include "platform/guids.h"
#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

constexpr int64_t kMaxRecords = 16;
constexpr int64_t kMaxDimension = 4096;

// "WxH", each 0 to 4096.
port::SizeRecord ParseSize(const ProfileEntry& e) {
    size_t x = Lower(e.value).find('x');
    if (x == std::string::npos) e.Refuse("a size is WIDTHxHEIGHT: 720x480");
    int64_t w = ParseNumber(Trim(e.value.substr(0, x)), e.line);
    int64_t h = ParseNumber(Trim(e.value.substr(x + 1)), e.line);
    if (w < 0 || h < 0 || w > kMaxDimension || h > kMaxDimension) e.Refuse("a size is 0 to 4096 in each dimension");
    return {static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

Guid ParseSubtype(const ProfileEntry& e) {
    std::string v = Lower(e.value);
    if (v == "uyvy") return guids::kMediaSubtypeUyvy;
    if (v == "yuy2") return guids::kMediaSubtypeYuy2;
    if (v == "rgb24") return guids::kMediaSubtypeRgb24;
    if (auto g = ParseGuidText(e.value)) return *g;
    e.Refuse("\"" + e.value + "\" is not UYVY, YUY2, RGB24 or a GUID");
}

// A frame interval in 100 ns units: 1 to 100 seconds.
int64_t ParseInterval(const ProfileEntry& e, const std::string& text) {
    int64_t v = ParseNumber(Trim(text), e.line);
    if (v < 1 || v > 1000000000) e.Refuse("a frame interval is 1 to 1000000000 (100 ns units)");
    return v;
}

size_t RecordIndex(const std::string& section, int line) {
    size_t dot = section.find('.');
    std::string number = dot == std::string::npos ? std::string() : Trim(section.substr(dot + 1));
    int64_t n = -1;
    bool digits = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
    if (digits && number.size() <= 2) n = ParseNumber(number, line);
    if (n < 1 || n > kMaxRecords)
        throw ProfileError{line, "a [CaptureFormat] section is named by its record number, 1 to 16: [CaptureFormat.1]"};
    return static_cast<size_t>(n - 1);
}

}  // namespace

CaptureFormatRecord& CaptureFormatOf(CaptureStreamConfig& c, const std::string& section, int line) {
    size_t index = RecordIndex(section, line);
    if (index > c.records.size())
        throw ProfileError{line, "[CaptureFormat." + std::to_string(index + 1) + "] comes after [CaptureFormat." +
                                     std::to_string(c.records.size() + 1) + "]"};
    if (index == c.records.size()) c.records.push_back(CaptureFormatRecord{guids::kMediaSubtypeUyvy});
    return c.records[index];
}

void ReadCaptureFormatKey(CaptureStreamConfig& c, const ProfileEntry& e) {
    CaptureFormatRecord& r = CaptureFormatOf(c, e.section, e.line);
    if (e.Is("subtype")) {
        r.subtype = ParseSubtype(e);
    } else if (e.Is("minoutputsize")) {
        r.minSize = ParseSize(e);
    } else if (e.Is("maxoutputsize")) {
        r.maxSize = ParseSize(e);
    } else if (e.Is("granularity")) {
        r.granularity = ParseSize(e);
    } else if (e.Is("frameinterval")) {
        std::vector<std::string> parts = Split(e.value, '-');
        if (parts.size() != 2) e.Refuse("a frame interval range is MIN-MAX in 100 ns units: 333667-10000000");
        r.minInterval = ParseInterval(e, parts[0]);
        r.maxInterval = ParseInterval(e, parts[1]);
        if (r.minInterval > r.maxInterval) e.Refuse("the shortest frame interval comes first");
    } else if (e.Is("fills")) {
        r.fills = ParseSize(e);
    } else {
        e.RefuseKey();
    }
}

void ReadKey(CaptureStreamConfig& c, const ProfileEntry& e) {
    if (e.Is("recordsize")) {
        int64_t size = ParseNumber(e.value, e.line);
        if (size < 0 || size > 4096) e.Refuse("a record size is 0 to 4096 bytes");
        c.recordSize = static_cast<int32_t>(size);
    } else if (e.Is("refusalresult")) {
        c.refusal = static_cast<HResult>(ParseU32(e.value, e.line));
        if (c.refusal >= 0) e.Refuse("a refusal is an error code (0x80000000 and up)");
    } else if (e.Is("startrecord")) {
        int64_t n = ParseNumber(e.value, e.line);
        if (n < 1 || n > kMaxRecords) e.Refuse("a start record is 1 to 16");
        c.startRecord = static_cast<int32_t>(n - 1);
    } else if (e.Is("startsize")) {
        c.startSize = ParseSize(e);
    } else if (e.Is("startframeinterval")) {
        c.startInterval = ParseInterval(e, e.value);
    } else if (e.Is("dropeverynth")) {
        int64_t n = ParseNumber(e.value, e.line);
        if (n != 0 && (n < 2 || n > 1000000)) e.Refuse("DropEveryNth is 0 (none) or 2 to 1000000");
        c.delivery.dropEvery = static_cast<uint32_t>(n);
    } else if (e.Is("stallafter")) {
        double seconds = ParseDecimal(e.value, e.line);
        if (seconds < 0 || seconds > 86400) e.Refuse("StallAfter is 0 (never) to 86400 seconds");
        c.delivery.stallAfterMs = static_cast<uint32_t>(seconds * 1000 + 0.5);
    } else if (e.Is("maxframerate")) {
        double rate = ParseDecimal(e.value, e.line);
        if (rate != 0 && (rate < 0.01 || rate > 1000))
            e.Refuse("MaxFrameRate is 0 (no cap) or 0.01 to 1000 frames per second");
        c.delivery.minPeriodUs = rate > 0 ? static_cast<uint64_t>(1e6 / rate + 0.5) : 0;
    } else {
        e.RefuseKey();
    }
}

void CheckCaptureStream(const CaptureStreamConfig& c, int lastLine) {
    for (size_t i = 0; i < c.records.size(); ++i) {
        const CaptureFormatRecord& r = c.records[i];
        if (r.minSize.cx > r.maxSize.cx || r.minSize.cy > r.maxSize.cy)
            throw ProfileError{
                lastLine, "[CaptureFormat." + std::to_string(i + 1) + "] has a minimum output size above its maximum"};
    }
    if (!c.records.empty() && static_cast<size_t>(c.startRecord) >= c.records.size())
        throw ProfileError{lastLine, "[CaptureStream] StartRecord names a record the profile does not describe"};
}

}  // namespace orbex::sim
