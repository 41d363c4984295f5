#include "platform/sim/machine/desktop_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(DesktopConfig& c, const ProfileEntry& e) {
    if (e.Is("hostwindow")) {
        // "none", or the client area as WIDTHxHEIGHT
        std::string v = Lower(e.value);
        if (v == "none") {
            c.hostWindow = false;
            return;
        }
        size_t x = v.find('x');
        if (x == std::string::npos) e.Refuse("HostWindow is none or the client size WIDTHxHEIGHT: 640x480");
        int64_t w = ParseNumber(Trim(v.substr(0, x)), e.line);
        int64_t h = ParseNumber(Trim(v.substr(x + 1)), e.line);
        if (w < 1 || h < 1 || w > 8192 || h > 8192) e.Refuse("a client size is 1 to 8192 in each dimension");
        c.hostWindow = true;
        c.clientWidth = static_cast<int32_t>(w);
        c.clientHeight = static_cast<int32_t>(h);
    } else if (e.Is("borderheight")) {
        int64_t v = ParseNumber(e.value, e.line);
        if (v < 0 || v > 100) e.Refuse("BorderHeight is 0 to 100 pixels");
        c.borderHeight = static_cast<int32_t>(v);
    } else if (e.Is("cursor")) {
        std::vector<std::string> xy = Split(e.value, ',');
        if (xy.size() != 2) e.Refuse("Cursor is the screen position X,Y: 320,240");
        int64_t x = ParseNumber(xy[0], e.line);
        int64_t y = ParseNumber(xy[1], e.line);
        if (x < -32768 || x > 32767 || y < -32768 || y > 32767) e.Refuse("a cursor coordinate is -32768 to 32767");
        c.cursorX = static_cast<int32_t>(x);
        c.cursorY = static_cast<int32_t>(y);
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
