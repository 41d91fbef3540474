// The key poll (an edge detector over the key state) and the trigger reader over the latches.
#include <cstdarg>

#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "system/key_edge.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

bool inputBlocked() {
    return zuDraw::transitionState.step != 0 || zuDraw::scrollView.visible ||
           inputState.captureMode;
}

bool isButton(int32_t code) { return code == 1 || code == 2; }

// Phases run in turn within one call, so a press already released is reported at once.
// Phase 2: a different press cancels the candidate; its release completes it.
int32_t checkCandidate() {
    TriggerState& t = triggerState;
    const InputState& in = inputState;
    bool button = isButton(t.candidate);
    if ((button && in.lastButton != t.candidate) || (!button && in.lastKey != t.candidate))
        t.phase = 0;
    bool released = button ? in.buttonHeld == 0 : in.keyHeld == 0;
    if (!released) return 0;
    t.phase = 0;
    inputState.lastKey = 0;
    inputState.lastButton = 0;
    return t.candidate;
}

}  // namespace

int32_t NextKeyEdge(int32_t state, bool down) {
    if (inputBlocked()) return KeyEdge::Up;
    if (down) return state == KeyEdge::Up ? KeyEdge::Pressed : KeyEdge::Held;
    return (state == KeyEdge::Pressed || state == KeyEdge::Held) ? KeyEdge::Released : KeyEdge::Up;
}

void PollKey(int32_t virtualKey, int32_t& state) {
    // A press that came and went since the last poll counts as down once; the release then
    // shows on the poll after.
    bool pressSeen = platform::takeKeyPress(virtualKey);
    bool down = (platform::getKeyState(virtualKey) & 0x80) != 0 || pressSeen;
    state = NextKeyEdge(state, down);
}

int32_t GetTrigger(int32_t code, ...) {
    TriggerState& t = triggerState;
    if (t.phase == 0 && inputState.keyHeld == 0 && inputState.buttonHeld == 0) t.phase = 1;
    if (t.phase == 1) {
        va_list codes;
        va_start(codes, code);
        for (int32_t c = code; c != 0; c = va_arg(codes, int32_t)) {
            if (c == inputState.lastKey || c == inputState.lastButton) {
                t.candidate = c;
                t.phase = 2;
                break;
            }
        }
        va_end(codes);
    }
    return t.phase == 2 ? checkCandidate() : 0;
}

}  // namespace zuSystem
