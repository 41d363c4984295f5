// The graph definition file: include merge into "~temp.gf" and the reading of
// the connection map into the filter table.
#include <cstring>
#include <string>
#include <vector>

#include "graph/graph_values.h"
#include "graph/orb_gbuilder.h"
#include "ini/ini_document.h"
#include "report/test_status.h"

namespace orbex {
namespace {

constexpr const char* kMergePrefix = "COrbGBuilder::MergeIncludeFiles()>  ";
constexpr const char* kReadPrefix = "COrbGBuilder::ReadDataFile()>  ";

// Walks a double-NUL list held in a buffer of `size` bytes, never past it.
template <class F>
void ForEachListed(const char* list, size_t size, F&& f) {
    size_t i = 0;
    while (i < size && list[i]) {
        size_t len = strnlen(list + i, size - i);
        std::string item(list + i, len);
        i += len + 1;
        if (!f(item)) return;
    }
}

}  // namespace

int32_t COrbGBuilder::MergeIncludeFiles(const char* path) {
    std::vector<std::string> includePath;
    return MergeFile(path, includePath);
}

int32_t COrbGBuilder::MergeFile(const char* path, std::vector<std::string>& includePath) {
    port::IProfile& profile = m_platform.Profile();
    char actual[256];

    // A file already on the include path would include itself without end.
    std::string folded = ini::Folded(path);
    for (const std::string& open : includePath) {
        if (open != folded) continue;
        FormatInto(actual, sizeof actual, "[NoRun]**** Include file \"%s\" includes itself.", path);
        char description[256];
        FormatInto(description, sizeof description, "Compiling graph file \"%s\".", m_testId.graphFilePath);
        Report(m_testId.testIdText, NoRun, description, "Successfully merge include files.", actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kMergePrefix, actual);
        return 1;
    }
    includePath.push_back(folded);

    char currentDirectory[261] = "";
    uint32_t n = m_platform.System().CurrentDirectoryPath(sizeof currentDirectory - 1, currentDirectory);
    if (n == 0 || n >= sizeof currentDirectory - 1) currentDirectory[0] = '\0';

    char includes[1024];
    profile.ReadProfileString("IncludeFile", nullptr, "", includes, sizeof includes, path);
    int32_t failed = 0;
    ForEachListed(includes, sizeof includes, [&](const std::string& key) {
        if (profile.ReadProfileInt("IncludeFile", key.c_str(), 0, path) == 0) return true;
        char includePathText[600];
        FormatInto(includePathText, sizeof includePathText, "%s\\%s", currentDirectory, key.c_str());
        if (MergeFile(includePathText, includePath) != 0) failed = 1;
        return failed == 0;
    });
    if (failed) return 1;

    char sections[1024];
    profile.ReadProfileString(nullptr, nullptr, "", sections, sizeof sections, path);
    ForEachListed(sections, sizeof sections, [&](const std::string& section) {
        char keys[1024];
        profile.ReadProfileString(section.c_str(), nullptr, "", keys, sizeof keys, path);
        ForEachListed(keys, sizeof keys, [&](const std::string& key) {
            char value[260];
            profile.ReadProfileString(section.c_str(), key.c_str(), "", value, sizeof value, path);
            if (profile.WriteProfileValue(section.c_str(), key.c_str(), value, m_mergedFilePath)) return true;
            char description[256];
            FormatInto(description, sizeof description, "Compiling graph file \"%s\".", m_testId.graphFilePath);
            FormatInto(actual, sizeof actual,
                       "[NoRun]**** Error merging include file \"%s\", section [%s], key \"%s\".", path,
                       section.c_str(), key.c_str());
            Report(m_testId.testIdText, NoRun, description, "Successfully merge include files.", actual);
            Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kMergePrefix, actual);
            failed = 1;
            return false;
        });
        return failed == 0;
    });
    includePath.pop_back();
    return failed;
}

int32_t COrbGBuilder::ReadDataFile() {
    port::IProfile& profile = m_platform.Profile();
    char actual[256];
    char expected[256];
    auto refuse = [&]() {
        Report("0", NoRun, "Reading filter graph definition file.", expected, actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kReadPrefix, actual);
        return 1;
    };

    char keys[1024];
    profile.ReadProfileString("ConnectionMap", nullptr, "", keys, sizeof keys, m_mergedFilePath);
    if (!keys[0]) {
        FormatInto(expected, sizeof expected, "Successfully open filter graph definition file \"%s\".",
                   m_testId.graphFilePath);
        FormatInto(actual, sizeof actual,
                   "[NoRun]**** Filter graph definition file \"%s\" missing or does not contain a [ConnectionMap] "
                   "section.",
                   m_testId.graphFilePath);
        return refuse();
    }

    m_filterCount = 0;
    int32_t result = 0;
    ForEachListed(keys, sizeof keys, [&](const std::string& key) {
        char value[256];
        profile.ReadProfileString("ConnectionMap", key.c_str(), "", value, sizeof value, m_mergedFilePath);
        if (!value[0]) return false;  // an empty value ends the map

        // The table has 32 rows of names up to 31 characters and 10 labels per list.
        if (m_filterCount >= kMaxFilters) {
            FormatInto(expected, sizeof expected, "At most %d entries in the [ConnectionMap] section.", kMaxFilters);
            FormatInto(actual, sizeof actual,
                       "[NoRun]**** Too many entries in the [ConnectionMap] section of \"%s\": \"%s\" is entry %d.",
                       m_testId.graphFilePath, key.c_str(), m_filterCount + 1);
            result = refuse();
            return false;
        }
        if (key.size() > sizeof(FilterEntry::name) - 1) {
            FormatInto(expected, sizeof expected, "[ConnectionMap] entry names of at most %d characters.",
                       static_cast<int>(sizeof(FilterEntry::name) - 1));
            FormatInto(actual, sizeof actual, "[NoRun]**** [ConnectionMap] entry name \"%s\" is too long.",
                       key.c_str());
            result = refuse();
            return false;
        }
        std::string_view text(value);
        size_t semicolon = text.find(';');
        std::string_view inputs = text.substr(0, semicolon);
        std::string_view outputs =
            semicolon == std::string_view::npos ? std::string_view() : text.substr(semicolon + 1);
        FilterEntry& entry = m_filters[m_filterCount];
        int inputCount = ParseLabels(inputs, entry.inputLabels, kMaxLabels);
        int outputCount = ParseLabels(outputs, entry.outputLabels, kMaxLabels);
        if (inputCount > kMaxLabels || outputCount > kMaxLabels) {
            FormatInto(expected, sizeof expected, "At most %d input and %d output labels per [ConnectionMap] entry.",
                       kMaxLabels, kMaxLabels);
            FormatInto(actual, sizeof actual, "[NoRun]**** [ConnectionMap] entry \"%s\" lists more than %d labels.",
                       key.c_str(), kMaxLabels);
            result = refuse();
            return false;
        }
        ++m_filterCount;
        CopyText(entry.name, sizeof entry.name, key.c_str());
        entry.inputCount = static_cast<uint8_t>(inputCount);
        entry.outputCount = static_cast<uint8_t>(outputCount);

        char clsid[256];
        profile.ReadProfileString(key.c_str(), "CLSID", "", clsid, sizeof clsid, m_mergedFilePath);
        if (!clsid[0]) {
            FormatInto(expected, sizeof expected, "\"CLSID\" entry exists in [%s] section.", key.c_str());
            FormatInto(actual, sizeof actual, "[NoRun]**** \"CLSID\" entry is missing in [%s] section.", key.c_str());
            result = refuse();
            return false;
        }
        ParseGuidValue(clsid, entry.clsid);
        profile.ReadProfileString(key.c_str(), "FriendlyName", "", entry.friendlyName, sizeof entry.friendlyName,
                                  m_mergedFilePath);
        if (!entry.friendlyName[0]) CopyText(entry.friendlyName, sizeof entry.friendlyName, "Qel ");
        entry.filterType = static_cast<int32_t>(profile.ReadProfileInt(key.c_str(), "FilterType", 0, m_mergedFilePath));
        return true;
    });
    return result;
}

}  // namespace orbex
