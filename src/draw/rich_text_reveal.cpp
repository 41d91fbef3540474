// RevealText: a prepared text shown as a typewriter, one more character every interval of the
// frame clock, the boxes redrawn every frame, and the whole bounding box at the end.
#include <algorithm>

#include "draw/rich_text.h"
#include "system/zu_system.h"

namespace zuDraw {

int32_t RevealText(float interval) {
    TextBoxes& t = textBoxes;
    if (interval == 0.0f || t.revealed > t.count) {
        richtext::showBox(t.boxes[0]);
        t.revealed = t.count + 1;
    } else {
        int32_t shown = std::min({t.revealed, t.count, textBoxCount});
        for (int32_t i = 1; i < shown;) {
            // Neighbours on a line of one height make one rectangle: one copy instead of many.
            platform::Rect run = t.boxes[i];
            for (++i; i < shown && t.boxes[i].left == run.right && t.boxes[i].top == run.top &&
                      t.boxes[i].bottom == run.bottom;
                 ++i)
                run.right = t.boxes[i].right;
            richtext::showBox(run);
        }
    }
    if (t.revealed > t.count) return 1;
    t.revealTimer += zuSystem::frameClock.seconds;
    if (interval <= t.revealTimer) {
        ++t.revealed;
        t.revealTimer = 0.0f;
    }
    return 0;
}

}  // namespace zuDraw
