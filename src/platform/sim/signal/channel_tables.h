// The broadcast channel tables by country code (the telephone country codes
// DirectShow uses): the channel numbers a tuner set to that country tunes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orbex::sim {

struct ChannelTable {
    int32_t countryCode;
    const char* country;
    int32_t first;  // lowest channel number
    int32_t last;   // highest channel number

    bool Contains(int32_t channel) const { return channel >= first && channel <= last; }
    int32_t Count() const { return last - first + 1; }
};

// Every table the board knows, in country-code order.
const std::vector<ChannelTable>& ChannelTables();
// The table of a country code; none for 0 or an unknown code.
std::optional<ChannelTable> ChannelTableOf(int32_t countryCode);

}  // namespace orbex::sim
