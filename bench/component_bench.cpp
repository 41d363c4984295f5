// The board-table and component groups of the catalogue, with a board
// database of 64 [MMTable]/[MMMask] entries, a component database of 64
// records and 500 driver information files (250 under inf\, 250 under
// inf\other\), as one suite run takes them: each group on a fresh process
// object. Argument 0: the reference board (Windows 2000, where the mask test
// needs no driver); 1: boards/windows98.ini, where tc5010 asks the kernel
// driver for all 64 masks.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "entry/orbex_process.h"
#include "platform/sim/profile/board_profile.h"
#include "platform/sim/virtual_board.h"

namespace {

std::string ComponentDir() {
    std::string dir =
        std::filesystem::temp_directory_path().string() + "/orbex-bench-components-" + std::to_string(getpid());
    std::filesystem::create_directories(dir + "/inf/other");
    std::filesystem::copy_file(ORBEX_SOURCE_DIR "/examples/default.gf", dir + "/default.gf",
                               std::filesystem::copy_options::overwrite_existing);
    // The shipped database with 64 records: its own, then records of this
    // machine that look for devices the inf files name.
    std::ifstream shipped(ORBEX_SOURCE_DIR "/examples/orbex.ini");
    std::string text((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    std::string records, details;
    for (int i = 0; i < 59; ++i) {
        const std::string name = "dev" + std::to_string(i);
        records += name + "=2,1,1,0,0\n";
        details += "[" + name + "]\nPath=system32\\drivers\\qelcap.sys\nVersion=5.0.2195.1\nDisplayName=DEV" +
                   std::to_string(i) +
                   "\nDeviceDesc=Qel Video Capture\nGUID=65E8773D,8F56,11D0,A3,B9,00,A0,C9,22,"
                   "31,96\nFriendlyName=Qel Video Capture\n";
    }
    const std::string marker = "paltunerold=2,1,0,4,3\n";
    text.replace(text.find(marker), marker.size(), marker + records);
    // 58 more board configurations: the shipped six again under new keys.
    std::string tables, masks;
    for (int i = 7; i <= 64; ++i) {
        const std::string from = "Config" + std::to_string((i - 1) % 6 + 1) + "=";
        const size_t table = text.find(from, text.find("[MMTable]"));
        const size_t mask = text.find(from, text.find("[MMMask]"));
        const std::string key = "Config" + std::to_string(i) + "=";
        tables += key + text.substr(table + from.size(), text.find('\n', table) - table - from.size()) + "\n";
        masks += key + text.substr(mask + from.size(), text.find('\n', mask) - mask - from.size()) + "\n";
    }
    text.insert(text.find('\n', text.find("Config6=", text.find("[MMMask]"))) + 1, masks);
    text.insert(text.find('\n', text.find("Config6=", text.find("[MMTable]"))) + 1, tables);
    std::ofstream(dir + "/orbex.ini") << text << details;
    for (int i = 0; i < 500; ++i) {
        std::ofstream inf(dir + (i % 2 ? "/inf/other/oem" : "/inf/drv") + std::to_string(i) + ".inf");
        inf << "; driver information file " << i << "\r\n[Devices]\r\n";
        for (int l = 0; l < 20; ++l) inf << "%Dev" << l << "%=Install" << l << ",PCI\\VEN_1234&DEV_" << l << "\r\n";
        if (i < 59) inf << "%Dev%=Install,DISPLAY\\DEV" << i << "00 ; display-class device\r\n";
    }
    return dir;
}

void BM_BoardTableAndComponentGroups(benchmark::State& state) {
    const std::vector<std::vector<const char*>> groups = {
        {"tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008", "tc5009", "tc5010", "tc5011", "tc5012",
         "tc5013", "tc5014"},
        {"tc6900", "tc6901", "tc6902", "tc6903", "tc6904", "tc6905"}};
    const std::string dir = ComponentDir();
    orbex::sim::BoardProfile board = orbex::sim::ReferenceBoard();
    if (state.range(0) == 1) {
        std::ifstream file(ORBEX_SOURCE_DIR "/boards/windows98.ini");
        const std::string profile((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::string error;
        auto parsed = orbex::sim::ParseBoardProfile(profile, "windows98.ini", error);
        if (!parsed) {
            state.SkipWithError(error.c_str());
            return;
        }
        board = std::move(*parsed);
    }
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = dir;
    options.events = [](const orbex::sim::PlatformEvent&) {};
    for (auto _ : state) {
        for (const auto& group : groups) {
            orbex::sim::VirtualBoard platform(board, options);
            orbex::COrbexProcess process(platform);
            for (const char* line : group) benchmark::DoNotOptimize(process.OrbexEntry(line, 0));
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BoardTableAndComponentGroups)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
