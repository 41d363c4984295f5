// Checks that a file is JSON Lines: every line (a CR before the LF allowed)
// one JSON object. Prints the first bad line and exits 1; exits 2 when the
// file cannot be read or holds no line. Used on the harness's "--json -"
// stream under Wine.
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: json_lines_check FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "json_lines_check: cannot read %s\n", argv[1]);
        return 2;
    }
    size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto value = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
        if (value.is_discarded() || !value.is_object()) {
            std::fprintf(stderr, "%s:%zu: not a JSON object: %s\n", argv[1], number, line.c_str());
            return 1;
        }
    }
    if (number == 0) {
        std::fprintf(stderr, "json_lines_check: %s holds no line\n", argv[1]);
        return 2;
    }
    std::printf("%zu JSON line(s)\n", number);
    return 0;
}
