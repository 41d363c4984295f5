#include "platform/factory.h"

#include <cstdlib>
#include <filesystem>

#include "platform/host/host.h"
#include "platform/sim/virtual_board.h"
#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#endif

namespace orbex::port {

std::unique_ptr<IPlatform> CreatePlatform(std::string& error) {
    // The profile's path is host text (UTF-8 on Windows).
    const std::string board = host::EnvironmentValue("ORBEX_BOARD").value_or("");
#if defined(_WIN32)
    // On Windows the real platform, unless a board profile or the virtual board is asked for.
    const char* choice = std::getenv("ORBEX_PLATFORM");
    bool virtualBoard = !board.empty() || (choice && std::string(choice) == "virtual");
    if (!virtualBoard) return win32::CreateWin32Platform();
#endif
    sim::BoardProfile profile = sim::ReferenceBoard();
    if (!board.empty()) {
        auto loaded = sim::LoadBoardProfile(board, error);
        if (!loaded) return nullptr;
        profile = std::move(*loaded);
    }
    // Faults added for one run (a fault sweep's point) on top of the profile's own.
    if (const char* faults = std::getenv("ORBEX_FAULTS"); faults && *faults)
        if (!sim::AddFaults(profile.faults, faults, error)) {
            error = "ORBEX_FAULTS: " + error;
            return nullptr;
        }
    sim::SimOptions options;
    std::error_code ec;
    options.hostCurrentDirectory = host::TextOf(std::filesystem::current_path(ec));
    if (ec) options.hostCurrentDirectory = ".";
    const char* noVerdict = std::getenv("ORBEX_NO_VERDICT");
    options.noVerdict = noVerdict && std::string(noVerdict) == "1";
    const char* faultCalls = std::getenv("ORBEX_FAULT_CALLS");
    options.reportFaultCalls = faultCalls && std::string(faultCalls) == "1";
    return std::make_unique<sim::VirtualBoard>(std::move(profile), std::move(options));
}

}  // namespace orbex::port
