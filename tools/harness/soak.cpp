#include "soak.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#if defined(__linux__)
#include <unistd.h>
#endif

#include "catalogue.h"

namespace orbex::harness {
namespace {

// What the soak watches in the event stream.
struct Watch {
    int64_t lastMessage = 0;  // number of the last forwarded "msgN" line
    int64_t gaps = 0;
    int64_t messages = 0;
    int64_t leaks = 0;
    std::string firstProblem;

    void OnEvent(const Event& e) {
        if (e.name == "ResultReport") {
            const std::string* step = e.Text("step");
            const std::string* description = e.Text("description");
            if (!step || !description || *description != "Message Log:" || step->rfind("msg", 0) != 0) return;
            int64_t n = std::strtoll(step->c_str() + 3, nullptr, 10);
            ++messages;
            if (n != lastMessage + 1) {
                ++gaps;
                if (firstProblem.empty())
                    firstProblem = "forwarded message " + *step + " follows msg" + std::to_string(lastMessage);
            }
            lastMessage = n;
        } else if (e.name == "Platform") {
            const std::string* what = e.Text("what");
            if (!what || *what != "Leak") return;
            leaks += e.Number("count").value_or(1);
            if (firstProblem.empty()) {
                const std::string* kind = e.Text("kind");
                const std::string* name = e.Text("name");
                firstProblem = "leak at unload: " + (kind ? *kind : "") + " " + (name ? *name : "") + " x" +
                               std::to_string(e.Number("count").value_or(0));
            }
        }
    }
};

}  // namespace

int64_t ResidentKb() {
#if defined(__linux__)
    std::ifstream in("/proc/self/statm");
    long long size = 0, resident = 0;
    if (!(in >> size >> resident)) return -1;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
#else
    return -1;
#endif
}

int RunSoak(const SoakOptions& options, const SoakHost& host) {
    Watch watch;
    host.tapEvents([&watch](const Event& e) { watch.OnEvent(e); });
    std::string error = host.load();
    if (!error.empty()) {
        host.tapEvents(nullptr);
        std::fprintf(stderr, "orbex-harness: %s\n", error.c_str());
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    int64_t calls = 0, rssFirst = -1, rssPeak = -1;
    long long refsFirst = -1, refsGrowth = 0;
    int failedRound = 0;
    for (int round = 1; round <= options.rounds; ++round) {
        for (const CatalogueEntry& e : Catalogue()) {
            if (std::find(options.exclude.begin(), options.exclude.end(), e.commandLine) != options.exclude.end())
                continue;
            calls += host.run(e.commandLine);
        }
        const int64_t rss = ResidentKb();
        const long long refs = host.openReferences();
        if (round == 1) {
            rssFirst = rss;
            refsFirst = refs;
        }
        rssPeak = std::max(rssPeak, rss);
        if (refs > refsFirst && refsGrowth == 0) {
            refsGrowth = refs - refsFirst;
            if (!failedRound) failedRound = round;
            if (watch.firstProblem.empty())
                watch.firstProblem = "round " + std::to_string(round) + " ends with " + std::to_string(refs) +
                                     " open references, round 1 with " + std::to_string(refsFirst);
        }
        if (watch.gaps && !failedRound) failedRound = round;
    }
    const int64_t rssLast = ResidentKb();
    host.unload();  // the board reports what is still referenced
    host.tapEvents(nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const bool rssKnown = rssFirst >= 0 && rssPeak >= 0;
    const int64_t growth = rssKnown ? rssPeak - rssFirst : 0;
    const bool rssOk = !rssKnown || growth <= options.rssGrowthLimitKb;
    std::printf("soak: %d rounds of %zu command lines, %lld calls in %.1f s (%.0f calls/s)\n", options.rounds,
                Catalogue().size() - options.exclude.size(), static_cast<long long>(calls), seconds,
                seconds > 0 ? calls / seconds : 0.0);
    if (rssKnown)
        std::printf(
            "soak: resident memory %lld KiB after round 1, %lld KiB at the end, peak growth %lld KiB "
            "(limit %lld KiB)\n",
            static_cast<long long>(rssFirst), static_cast<long long>(rssLast), static_cast<long long>(growth),
            static_cast<long long>(options.rssGrowthLimitKb));
    else
        std::printf("soak: resident memory cannot be read on this system: not checked\n");
    if (refsFirst >= 0)
        std::printf(
            "soak: open references on the virtual board after each round: %lld (growth %lld); "
            "left at unload: %lld\n",
            refsFirst, refsGrowth, static_cast<long long>(watch.leaks));
    else
        std::printf("soak: no virtual board: references not counted\n");
    std::printf("soak: %lld forwarded messages, numbering gaps: %lld\n", static_cast<long long>(watch.messages),
                static_cast<long long>(watch.gaps));
    const bool ok = rssOk && refsGrowth == 0 && watch.leaks == 0 && watch.gaps == 0;
    if (!rssOk) std::printf("soak: FAIL: resident memory grew by %lld KiB\n", static_cast<long long>(growth));
    if (!watch.firstProblem.empty()) std::printf("soak: FAIL: %s\n", watch.firstProblem.c_str());
    std::printf("soak: %s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}

}  // namespace orbex::harness
