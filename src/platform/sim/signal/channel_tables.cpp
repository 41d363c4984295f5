#include "platform/sim/signal/channel_tables.h"

namespace orbex::sim {

// Broadcast (antenna) channels; cable channels are not modelled.
const std::vector<ChannelTable>& ChannelTables() {
    static const std::vector<ChannelTable> kTables = {
        {1, "USA", 2, 69},      {2, "Canada", 2, 69},  {7, "Russia", 1, 69},  {31, "Netherlands", 2, 69},
        {33, "France", 2, 69},  {34, "Spain", 2, 69},  {39, "Italy", 2, 69},  {44, "United Kingdom", 21, 69},
        {49, "Germany", 2, 69}, {52, "Mexico", 2, 69}, {55, "Brazil", 2, 69}, {61, "Australia", 1, 69},
        {81, "Japan", 1, 62},   {82, "Korea", 2, 69},  {86, "China", 1, 57},
    };
    return kTables;
}

std::optional<ChannelTable> ChannelTableOf(int32_t countryCode) {
    for (const ChannelTable& t : ChannelTables())
        if (t.countryCode == countryCode) return t;
    return std::nullopt;
}

}  // namespace orbex::sim
