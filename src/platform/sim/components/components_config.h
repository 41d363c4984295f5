// The [Components] section of a board profile: which outside components the
// machine has installed.
#pragma once

#include <string>
#include <vector>

namespace orbex::sim {

struct ProfileEntry;

struct ComponentsConfig {
    bool loggingComponent = true;
    bool resultLibrary = true;
    std::vector<std::string> resultLibraryExports{"TestBegin", "TestEnd", "ResultReport"};
};

void ReadKey(ComponentsConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
