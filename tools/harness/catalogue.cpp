#include "catalogue.h"

#include <algorithm>

namespace orbex::harness {

const std::vector<CatalogueEntry>& Catalogue() {
    static const std::vector<CatalogueEntry> kEntries = {
        {"tc0000", "Self-setup: copy and register the test filters, declare the UYVY codec", "setup"},
        {"tc1100", "Tuner: available TV formats", "tuner"},
        {"tc1101", "Tuner: available modes", "tuner"},
        {"tc1102", "Tuner: country code", "tuner"},
        {"tc2110", "Tuner: linear channel scan", "tuner"},
        {"tc1200", "Decoder: supported standards", "decoder"},
        {"tc2200", "Decoder: output enable", "decoder"},
        {"tc2201", "Decoder: set supported standards", "decoder"},
        {"tc2202", "Decoder: line detection", "decoder"},
        {"tc2203", "Decoder: horizontal lock", "decoder"},
        {"tc2204", "Decoder: video sizes from the predefined table", "decoder"},
        {"tc2205", "Decoder: all reported video sizes", "decoder"},
        {"tc2210", "Decoder: video memory leak", "decoder"},
        {"tc3200", "Decoder: frame rates", "decoder"},
        {"tc1400", "Crossbar: number of input connectors", "crossbar"},
        {"tc1401", "Crossbar: number of output connectors", "crossbar"},
        {"tc1402", "Crossbar: signal lock on every route", "crossbar"},
        {"-g 2 -d 10 -t 1", "Stream: video stream test 1", "stream"},
        {"-g 2 -d 10 -t 2", "Stream: video stream test 2", "stream"},
        {"-g 2 -d 10 -t 3", "Stream: video stream test 3", "stream"},
        {"-g 2 -d 10 -t 4", "Stream: video stream test 4", "stream"},
        {"-g 2 -d 11 -t 1", "VBI: closed captions on line 21", "vbi"},
        {"tc5000", "Board tables: MMTable accessible", "hwcaps"},
        {"tc5001", "Board tables: MMTable matches a known configuration", "hwcaps"},
        {"tc5002", "Board tables: HWTable accessible", "hwcaps"},
        {"tc5005", "Board tables: tuner type valid", "hwcaps"},
        {"tc5006", "Board tables: decoder type valid", "hwcaps"},
        {"tc5007", "Board tables: audio chip type valid", "hwcaps"},
        {"tc5008", "Board tables: number of video inputs valid", "hwcaps"},
        {"tc5009", "Board tables: MMTable reserved fields zero", "hwcaps"},
        {"tc5010", "Board tables: feature masks (MMMask)", "hwcaps"},
        {"tc5011", "Board tables: I2C type valid", "hwcaps"},
        {"tc5012", "Board tables: VIP type valid", "hwcaps"},
        {"tc5013", "Board tables: HWTable reserved fields zero", "hwcaps"},
        {"tc5014", "Board tables: MMTable consistent with HWTable", "hwcaps"},
        {"tc6900", "Components: file versions", "comchk"},
        {"tc6901", "Components: driver information entries", "comchk"},
        {"tc6902", "Components: devices enumerated", "comchk"},
        {"tc6903", "Components: devices loaded", "comchk"},
        {"tc6904", "Components: filters registered with DirectShow", "comchk"},
        {"tc6905", "Components: DirectShow runtime files", "comchk"},
    };
    return kEntries;
}

std::string ListLine(const std::string& commandLine, const std::string& group, const std::string& name) {
    std::string line = commandLine;
    line.resize(std::max<size_t>(line.size(), 18), ' ');
    line += ' ' + group;
    line.resize(std::max<size_t>(line.size(), 18 + 1 + 9), ' ');
    return line + ' ' + name;
}

std::vector<std::string> CatalogueGroups() {
    std::vector<std::string> groups;
    for (const CatalogueEntry& e : Catalogue()) {
        bool seen = false;
        for (const std::string& g : groups) seen = seen || g == e.group;
        if (!seen) groups.push_back(e.group);
    }
    return groups;
}

}  // namespace orbex::harness
