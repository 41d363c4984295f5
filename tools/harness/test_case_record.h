// What the harness keeps of each test case of a run: its results, its
// verdict, its log lines, how long it took and the pictures made from what the
// platform delivered while it ran. The summary, the JUnit file and the HTML
// report are written from these records.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orbex::harness {

// The statuses of the system's reports, and the verdicts of test cases.
inline constexpr int64_t kStatusFail = 0;
inline constexpr int64_t kStatusNotApplicable = 1;
inline constexpr int64_t kStatusNoRun = 2;
inline constexpr int64_t kStatusPass = 4;
inline constexpr int64_t kNoVerdict = -1;  // the test case neither reported nor returned

struct ResultRecord {
    std::string step;
    int64_t status = 0;
    std::string description;
    std::string expected;
    std::string actual;
    // A log line the system forwarded as a result (step "msg<N>", description
    // "Message Log:"): shown with the results, never counted as one.
    bool forwarded = false;
};

// Whether a report is a forwarded log line rather than a result of a test.
bool IsForwardedLogLine(const std::string& step, const std::string& description);

struct LogLine {
    int64_t level = 0;
    std::string text;
};

// An overlay surface as the system read it: one letter a row (P picture,
// E empty: all zero, N noise), and its luma sampled at `columns` evenly
// spaced pixels of every row (columns x height bytes, row after row).
struct OverlayPicture {
    int64_t surface = 0;
    int64_t width = 0;
    int64_t height = 0;
    std::string rows;
    int64_t columns = 0;
    std::vector<uint8_t> luma;
};

// One sampled line-21 VBI line and the format of its samples.
struct VbiLinePicture {
    int64_t line = 0;
    int64_t rateHz = 0;
    int64_t startNs = 0;  // time of sample 0 after the leading edge of sync
    int64_t blankLevel = 0;
    int64_t level50Ire = 0;
    std::vector<uint8_t> samples;
};

// The frame intervals of one analyzer measurement window, in microseconds,
// and the interval the capture stream was set to (0 when not known).
struct FrameIntervals {
    int64_t setIntervalUs = 0;
    std::vector<int64_t> intervalsUs;
};

// A channel scan: each channel tuned, in order, and whether it locked.
struct ChannelScanPicture {
    struct Channel {
        int64_t number = 0;
        bool locked = false;
    };
    std::vector<Channel> channels;
};

using PictureData = std::variant<OverlayPicture, VbiLinePicture, FrameIntervals, ChannelScanPicture>;

struct Picture {
    // The results of the test case the platform had reported before this
    // picture's data arrived: the picture belongs to result `beforeResult`
    // (the next one), or to the test case as a whole when none follows.
    size_t beforeResult = 0;
    PictureData data;
};

struct TestCaseRecord {
    std::string commandLine;
    std::string name;   // the catalogue's name; empty for a command line it does not hold
    std::string group;  // the catalogue's group; empty likewise
    int64_t returnValue = 0;
    bool returned = false;   // OrbexEntry returned (a Return event arrived)
    int64_t calls = 0;       // OrbexEntry calls: more than one for a stream run
    int64_t wallUs = 0;      // wall time of its calls
    int64_t virtualUs = -1;  // virtual time of its calls on the virtual board; -1 on a real platform
    std::vector<ResultRecord> results;
    // The results of the final call (a stream run's final step); the same as
    // results for a test case of one call. Index of its first result.
    size_t finalCallFirstResult = 0;
    std::vector<std::string> notes;  // message boxes and other remarks
    std::vector<LogLine> log;
    std::vector<Picture> pictures;
    size_t overlayRequests = 0;  // failed buffer checks whose buffers were asked for
};

// A test case's verdict, forwarded log lines left aside: Fail when any of its results failed; otherwise
// what its closing report says (the last result of its final call); with no
// report of its final call, what OrbexEntry returned; kNoVerdict when it did
// not return. Tests that return NoRun by definition (line detection, lock,
// video sizes, the crossbar's route test) carry their outcome in that
// closing report.
int64_t VerdictOf(const TestCaseRecord& testCase);

// "PASS", "FAIL", "NA", "NORUN"; "STATUS?" for any other status, "NONE" for kNoVerdict.
const char* StatusName(int64_t status);

}  // namespace orbex::harness
