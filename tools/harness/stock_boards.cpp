#include "stock_boards.h"

#include <algorithm>
#include <filesystem>

#include "platform/host/host.h"
#include "platform/sim/profile/board_profile.h"

namespace orbex::harness {

std::string StockBoardsDirectory() {
    std::error_code ec;
    const std::string self = host::ExecutablePath();
    if (!self.empty()) {
        auto beside = host::PathOf(self).parent_path() / "boards";
        if (std::filesystem::is_directory(beside, ec)) return host::TextOf(beside);
    }
#if defined(ORBEX_BOARDS_DIR)
    return ORBEX_BOARDS_DIR;
#else
    return {};
#endif
}

std::vector<StockBoard> StockBoards() {
    std::vector<StockBoard> boards;
    const std::string dir = StockBoardsDirectory();
    if (dir.empty()) return boards;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(host::PathOf(dir), ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".ini") continue;
        StockBoard b;
        b.name = host::TextOf(it->path().stem());
        b.path = host::TextOf(it->path());
        if (auto profile = sim::LoadBoardProfile(b.path, b.error)) {
            b.purpose = profile->purpose;
            b.meantToFail = profile->meantToFail;
        }
        boards.push_back(std::move(b));
    }
    std::sort(boards.begin(), boards.end(), [](const StockBoard& a, const StockBoard& b) { return a.name < b.name; });
    return boards;
}

std::string StockBoardPath(const std::string& name) {
    if (name.empty() || name.find_first_of("/\\.") != std::string::npos) return {};
    const std::string dir = StockBoardsDirectory();
    if (dir.empty()) return {};
    std::error_code ec;
    auto path = host::PathOf(dir) / (name + ".ini");
    return std::filesystem::is_regular_file(path, ec) ? host::TextOf(path) : std::string();
}

std::string BoardsListing(const std::vector<StockBoard>& boards) {
    size_t width = 0;
    for (const StockBoard& b : boards) width = std::max(width, b.name.size());
    std::string out;
    for (const StockBoard& b : boards) {
        std::string line = b.name;
        line.resize(width + 2, ' ');
        if (!b.error.empty()) {
            out += line + "does not load: " + b.error + "\n";
            continue;
        }
        line += b.purpose.empty() ? "(no purpose given)" : b.purpose;
        if (b.meantToFail.empty()) {
            line += " Meant to fail: nothing.";
        } else {
            line += " Meant to fail:";
            for (size_t i = 0; i < b.meantToFail.size(); ++i) line += (i ? ", " : " ") + b.meantToFail[i];
            line += ".";
        }
        out += line + "\n";
    }
    return out;
}

}  // namespace orbex::harness
