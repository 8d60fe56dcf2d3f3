// libFuzzer target: the smoothing engine driven by arbitrary sequences of pointer moves, button
// changes, level changes and ticks, as the mouse filter and the glide timer drive it. Every
// shown point must lie among the history samples it was built from, and the step counter must
// stay inside the segment.
#include "cursor/Smoother.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace
{
struct Check {
    Smoother *s;
};

void placed(void *context, float left, float top)
{
    const Smoother &s = *static_cast<Check *>(context)->s;
    const int x = int(left) - 2, y = int(top) + 1 - s.PageTop;
    const auto [minX, maxX] = std::minmax({s.HistX[0], s.HistX[1], s.HistX[2]});
    const auto [minY, maxY] = std::minmax({s.HistY[0], s.HistY[1], s.HistY[2]});
    if (x < minX || x > maxX || y < minY || y > maxY) {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Smoother s;
    Check check{&s};
    s.setPlaceCallback(placed, &check);
    s.PageTop = 65;
    // As the level box starts smoothing: on the pointer, at the end of a segment.
    s.SmoothLevel = 1;
    s.StepCounter = 2;
    s.CurX = 0;
    s.CurY = 0;
    s.SnapCursor();
    bool buttonDown = false;
    int x = 0, y = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t op = data[i];
        switch (op % 5) {
        case 0: { // a real pointer move, then the filter's smoothing update
            const int dx = i + 1 < size ? int(std::int8_t(data[++i])) * 3 : 0;
            const int dy = i + 1 < size ? int(std::int8_t(data[++i])) * 3 : 0;
            x = std::clamp(x + dx, -20000, 20000);
            y = std::clamp(y + dy, -20000, 20000);
            s.CurX = x;
            s.CurY = y;
            s.FollowPointer(buttonDown);
            break;
        }
        case 1: // left button down
            buttonDown = true;
            break;
        case 2: // left button up
            s.BuildStepTable();
            buttonDown = false;
            s.SnapCursor();
            break;
        case 3: // a level picked in the level box (out-of-range values included)
            s.SmoothLevel = (op / 5) % 12;
            s.StepCounter = 2 * std::clamp(s.SmoothLevel, 1, Smoother::MaxLevel);
            s.SnapCursor();
            break;
        default: // a glide tick
            s.GlideStep();
            break;
        }
        const int steps = 2 * std::clamp(s.SmoothLevel, 1, Smoother::MaxLevel);
        if (s.StepCounter < 0 || s.StepCounter > steps) {
            std::abort();
        }
    }
    return 0;
}
