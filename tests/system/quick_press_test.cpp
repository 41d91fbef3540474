// The key poll sees presses shorter than a frame: a press and its release that both left the
// queue before a poll read Pressed, then Released on the poll after, for buttons and keys alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;

class QuickPress : public FreshProgram {
protected:
    // Before each poll delivers the step's presses ('D') and releases ('U') of the key.
    std::vector<int32_t> polls(int32_t vk, const std::vector<std::string>& steps, bool inTransition = false) {
        std::vector<int32_t> seen;
        int32_t state = KeyEdge::Up;
        for (const std::string& step : steps) {
            for (char c : step) deliverKey(vk, c == 'D');
            zuDraw::transitionState.step = inTransition && seen.empty() ? 5 : 0;
            PollKey(vk, state);
            seen.push_back(state);
        }
        zuDraw::transitionState.step = 0;
        return seen;
    }
    void deliverKey(int32_t vk, bool down) {
        if (vk == VK_LBUTTON) deliver(down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        else if (vk == VK_RBUTTON) deliver(down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
        else deliver(down ? WM_KEYDOWN : WM_KEYUP, uintptr_t(vk));
    }
};

TEST_F(QuickPress, APressReleasedWithinAFrameReadsPressedThenReleased) {
    using K = std::vector<int32_t>;
    const K clicked{KeyEdge::Pressed, KeyEdge::Released, KeyEdge::Up};
    EXPECT_EQ(polls(VK_LBUTTON, {"DU", "", ""}), clicked);
    EXPECT_EQ(polls(VK_RBUTTON, {"DU", "", ""}), clicked);
    EXPECT_EQ(polls(VK_SPACE, {"DU", "", ""}), clicked);
    // Pressed again before the poll: still down, so the usual rules go on from Pressed.
    EXPECT_EQ(polls(VK_LBUTTON, {"DUD", "", "U"}), (K{KeyEdge::Pressed, KeyEdge::Held, KeyEdge::Released}));
    // Each press is reported once: a held key's press is not seen again after its release.
    EXPECT_EQ(polls(VK_SPACE, {"D", "", "U", ""}), (K{KeyEdge::Pressed, KeyEdge::Held, KeyEdge::Released, KeyEdge::Up}));
}

TEST_F(QuickPress, AQuickPressDuringATransitionIsDroppedNotReportedLater) {
    EXPECT_EQ(polls(VK_LBUTTON, {"DU", "", ""}, true), (std::vector<int32_t>{KeyEdge::Up, KeyEdge::Up, KeyEdge::Up}));
}

}  // namespace
