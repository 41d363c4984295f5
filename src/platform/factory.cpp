#include "platform/factory.h"

#include <unistd.h>

#include <cstdlib>

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
    char cwd[4096];
    options.hostCurrentDirectory = getcwd(cwd, sizeof cwd) ? cwd : ".";
    const char* noVerdict = std::getenv("ORBEX_NO_VERDICT");
    options.noVerdict = noVerdict && std::string(noVerdict) == "1";
    return std::make_unique<sim::SimPlatform>(std::move(profile), std::move(options));
}

}  // namespace orbex::port
