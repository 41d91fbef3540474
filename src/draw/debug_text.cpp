// Text aids for development: the frame-rate line and plain or formatted lines, all in the debug
// style (12-pixel "標準ゴシック", white on navy, opaque).
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "draw/zu_draw.h"
#include "platform/sjis.h"

namespace zuDraw {

FpsCounters fpsCounters;

void DebugText(int32_t x, int32_t y, const char* text) {
    BeginText(1, 12, 0, 0, 0, 0);
    SetTextColors(RGB(255, 255, 255), RGB(0, 0, 128), 0);
    PutText(x, y, text);
    EndText();
}

void DebugPrintf(int32_t x, int32_t y, const char* format, ...) {
    if (!format) return;
    char line[257];  // one byte more than is kept, to see whether the cut splits a character
    va_list args;
    va_start(args, format);
    int32_t length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0) return;
    if (length > 255) line[platform::sjisFitLength(std::string_view(line, 256), 255)] = '\0';
    DebugText(x, y, line);
}

// Samples every two seconds; the tick comparison survives the clock's wrap.
void DrawFps() {
    FpsCounters& f = fpsCounters;
    uint32_t now = platform::ticks();
    if (int32_t(now - f.nextSample) >= 0) {
        f.rate = float(f.frames) / 2.0f;
        if (f.rate > f.maxRate) f.maxRate = f.rate;
        if (f.rate > 0.0f && f.rate < f.minRate) f.minRate = f.rate;
        f.nextSample = platform::ticks() + 2000;
        f.frames = 0;
    }
    if (++f.frames >= 1000) f.frames = 999;
    std::snprintf(f.text, sizeof f.text, "%3.1f fps ( max %3.1f / min %3.1f )", double(f.rate),
                  double(f.maxRate), double(f.minRate));
    DebugText(0, 0, f.text);
}

}  // namespace zuDraw
