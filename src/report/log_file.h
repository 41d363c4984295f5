// The log-file object handed to the test objects. Nothing opens a file for it:
// its one operation accepts a line and writes it nowhere.
#pragma once

#include <cstdint>

namespace orbex {

class CLogFile {
public:
    CLogFile() = default;
    virtual ~CLogFile() = default;
    int32_t WriteLine(int32_t /*level*/, const char* /*text*/) { return 1; }

private:
    void* m_pFile = nullptr;  // never opened
    int32_t m_level = 0;
};

}  // namespace orbex
