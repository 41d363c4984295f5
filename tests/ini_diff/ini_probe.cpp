// Runs a corpus of profile-function cases and prints every result byte by
// byte. Built twice: against the Windows profile API (under Wine) and against
// the project's INI engine; the two outputs must be identical.
//
// Corpus lines (fields separated by one blank; \s blank, \t, \r, \n, \\, \xHH
// escapes; @null a null pointer, @empty an empty text):
//   case NAME | file TEXT | nofile | end
//   read SECTION KEY DEFAULT SIZE | readint SECTION KEY DEFAULT | write SECTION KEY VALUE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif
#if defined(ORBEX_PROBE_ENGINE)
#include "ini/ini_engine.h"
#endif
#if defined(ORBEX_PROBE_ADAPTER)
#include "platform/win32/win32_platform.h"
#endif

namespace {

std::optional<std::string> Unescape(const std::string& field) {
    if (field == "@null") return std::nullopt;
    if (field == "@empty") return std::string();
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 >= field.size()) {
            out += field[i];
            continue;
        }
        char c = field[++i];
        switch (c) {
            case 's': out += ' '; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case 'x':
                out += static_cast<char>(std::strtol(field.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
                break;
            default: out += c;
        }
    }
    return out;
}

std::string Hex(const char* data, size_t n) {
    std::string out;
    char b[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02X", static_cast<unsigned char>(data[i]));
        out += b;
    }
    return out;
}

const char* Ptr(const std::optional<std::string>& s) {
    return s ? s->c_str() : nullptr;
}

// The profile functions under test, chosen on the command line:
// "api" (Windows), "engine" (the project's INI engine) or "adapter" (the
// Win32 adapter's profile port).
struct Profile {
    virtual ~Profile() = default;
    virtual unsigned GetString(const char* s, const char* k, const char* d, char* b, unsigned n,
                               const std::string& f) = 0;
    virtual unsigned GetInt(const char* s, const char* k, int d, const std::string& f) = 0;
    virtual bool Write(const char* s, const char* k, const char* v, const std::string& f) = 0;
    virtual void Flush(const std::string& f) = 0;
};

#ifdef _WIN32
struct ApiProfile : Profile {
    unsigned GetString(const char* s, const char* k, const char* d, char* b, unsigned n,
                       const std::string& f) override {
        return GetPrivateProfileStringA(s, k, d, b, n, f.c_str());
    }
    unsigned GetInt(const char* s, const char* k, int d, const std::string& f) override {
        return GetPrivateProfileIntA(s, k, d, f.c_str());
    }
    bool Write(const char* s, const char* k, const char* v, const std::string& f) override {
        return WritePrivateProfileStringA(s, k, v, f.c_str()) != 0;
    }
    void Flush(const std::string& f) override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, f.c_str()); }
};
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

#if defined(ORBEX_PROBE_ENGINE)
struct EngineProfile : Profile {
    orbex::ini::Engine engine;
    unsigned GetString(const char* s, const char* k, const char* d, char* b, unsigned n,
                       const std::string& f) override {
        return engine.GetString(s, k, d, b, n, f);
    }
    unsigned GetInt(const char* s, const char* k, int d, const std::string& f) override {
        return engine.GetInt(s, k, d, f);
    }
    bool Write(const char* s, const char* k, const char* v, const std::string& f) override {
        return engine.WriteString(s, k, v, f);
    }
    void Flush(const std::string&) override { engine.Flush(); }
};
#endif

#if defined(ORBEX_PROBE_ADAPTER)
struct AdapterProfile : Profile {
    std::unique_ptr<orbex::port::IPlatform> platform = orbex::win32::CreateWin32Platform();
    orbex::port::IProfile& p = platform->Profile();
    unsigned GetString(const char* s, const char* k, const char* d, char* b, unsigned n,
                       const std::string& f) override {
        return p.ReadProfileString(s, k, d, b, n, f.c_str());
    }
    unsigned GetInt(const char* s, const char* k, int d, const std::string& f) override {
        return p.ReadProfileInt(s, k, d, f.c_str());
    }
    bool Write(const char* s, const char* k, const char* v, const std::string& f) override {
        return p.WriteProfileValue(s, k, v, f.c_str());
    }
    void Flush(const std::string&) override { p.FlushProfiles(); }
};
#endif

std::unique_ptr<Profile> Choose(const std::string& mode) {
#ifdef _WIN32
    if (mode == "api") return std::make_unique<ApiProfile>();
#endif
#if defined(ORBEX_PROBE_ENGINE)
    if (mode == "engine") return std::make_unique<EngineProfile>();
#endif
#if defined(ORBEX_PROBE_ADAPTER)
    if (mode == "adapter") return std::make_unique<AdapterProfile>();
#endif
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ini_probe api|engine|adapter CORPUS DIRECTORY\n");
        return 2;
    }
    std::unique_ptr<Profile> chosen = Choose(argv[1]);
    if (!chosen) {
        std::fprintf(stderr, "ini_probe: \"%s\" is not built into this probe\n", argv[1]);
        return 2;
    }
    Profile& profile = *chosen;
    ++argv;
    std::ifstream corpus(argv[1]);
    if (!corpus) {
        std::fprintf(stderr, "ini_probe: cannot read %s\n", argv[1]);
        return 2;
    }
    std::string line, path;
    int caseNumber = 0;
    while (std::getline(corpus, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::vector<std::string> f;
        std::string w;
        while (in >> w) f.push_back(w);
        const std::string& op = f[0];
        if (op == "case") {
            ++caseNumber;
            char name[32];
            std::snprintf(name, sizeof name, "case%03d.ini", caseNumber);
            path = std::string(argv[2]) + kSeparator + name;
            std::remove(path.c_str());
            std::printf("case %s\n", f.size() > 1 ? f[1].c_str() : "?");
        } else if (op == "file") {
            std::ofstream out(path, std::ios::binary);
            std::string text = f.size() > 1 ? *Unescape(f[1]) : std::string();
            out << text;
        } else if (op == "nofile") {
            std::remove(path.c_str());
        } else if (op == "read" && f.size() == 5) {
            unsigned size = static_cast<unsigned>(std::atoi(f[4].c_str()));
            std::vector<char> buffer(size + 4, static_cast<char>(0xCC));
            auto s = Unescape(f[1]), k = Unescape(f[2]), d = Unescape(f[3]);
            unsigned ret = profile.GetString(Ptr(s), Ptr(k), Ptr(d), buffer.data(), size, path);
            std::printf("  read ret=%u buf=%s\n", ret, Hex(buffer.data(), buffer.size()).c_str());
        } else if (op == "readint" && f.size() == 4) {
            auto s = Unescape(f[1]), k = Unescape(f[2]);
            unsigned ret = profile.GetInt(Ptr(s), Ptr(k), std::atoi(f[3].c_str()), path);
            std::printf("  readint ret=%u\n", ret);
        } else if (op == "write" && f.size() == 4) {
            auto s = Unescape(f[1]), k = Unescape(f[2]), v = Unescape(f[3]);
            std::printf("  write ret=%d\n", profile.Write(Ptr(s), Ptr(k), Ptr(v), path) ? 1 : 0);
        } else if (op == "end") {
            profile.Flush(path);
            std::ifstream in2(path, std::ios::binary);
            if (!in2) {
                std::printf("  file MISSING\n");
            } else {
                std::ostringstream bytes;
                bytes << in2.rdbuf();
                std::string b = bytes.str();
                std::printf("  file %s\n", Hex(b.data(), b.size()).c_str());
            }
        } else {
            std::fprintf(stderr, "ini_probe: bad corpus line: %s\n", line.c_str());
            return 2;
        }
    }
    return 0;
}
