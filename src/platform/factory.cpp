#include "platform/factory.h"

#include <cstdlib>
#include <filesystem>

#include "platform/sim/sim_platform.h"

namespace orbex::port {

std::unique_ptr<IPlatform> CreatePlatform(std::string& error) {
    sim::BoardProfile profile = sim::ReferenceBoard();
    if (const char* board = std::getenv("ORBEX_BOARD"); board && *board) {
        auto loaded = sim::LoadBoardProfile(board, error);
        if (!loaded) return nullptr;
        profile = std::move(*loaded);
    }
    sim::SimOptions options;
    std::error_code ec;
    options.hostCurrentDirectory = std::filesystem::current_path(ec).string();
    if (ec) options.hostCurrentDirectory = ".";
    const char* noVerdict = std::getenv("ORBEX_NO_VERDICT");
    options.noVerdict = noVerdict && std::string(noVerdict) == "1";
    return std::make_unique<sim::SimPlatform>(std::move(profile), std::move(options));
}

}  // namespace orbex::port
