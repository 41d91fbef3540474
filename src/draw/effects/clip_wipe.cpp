// Clip wipes: the clip rectangle opened from a line, band or point to its saved size, or closed
// to nothing, by n + 1 pixels per side and frame. Each shape is a row of a table: which sides of
// which axis move, and whether the two axes move together or one after the other.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "draw/zu_draw.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

enum class Sides { low, high, both };  // left/top, right/bottom, or the pair

struct AxisMove {
    bool vertical = false;
    Sides sides = Sides::both;
};

// An axis move alone (shapes 1 to 6), or two: together (7), or the first, then the second when
// opening and in the opposite order when closing (8, 9). The second axis of 8 and 9 rests on a
// band of `size` pixels around the centre while the first one moves.
struct WipeShape {
    AxisMove first;
    bool twoAxes = false;
    bool together = false;
    AxisMove second = {};
};

constexpr AxisMove top{true, Sides::low}, bottom{true, Sides::high}, left{false, Sides::low},
    right{false, Sides::high}, rows{true, Sides::both}, columns{false, Sides::both};

constexpr WipeShape shapes[9] = {
    {top},
    {bottom},
    {left},
    {right},
    {rows},
    {columns},
    {columns, true, true, rows},
    {rows, true, false, columns},
    {columns, true, false, rows},
};

// One axis of the clip rectangle with its saved sides, centre and band, in 64 bits so that no
// move wraps.
struct Axis {
    int32_t& low;
    int32_t& high;
    int64_t savedLow, savedHigh, centre, bandLow, bandHigh;

    bool atSaved() const { return low == savedLow && high == savedHigh; }
    bool atBand() const { return low == bandLow && high == bandHigh; }
    bool met() const { return low == high; }
    void set(int64_t newLow, int64_t newHigh) {
        constexpr int64_t lo = std::numeric_limits<int32_t>::min(),
                          hi = std::numeric_limits<int32_t>::max();
        low = int32_t(std::clamp(newLow, lo, hi));
        high = int32_t(std::clamp(newHigh, lo, hi));
    }
};

Axis axisOf(bool vertical) {
    ScreenState& s = screenState;
    const ClipWipe& w = clipWipe;
    int64_t savedLow = vertical ? w.savedClip.top : w.savedClip.left;
    int64_t savedHigh = vertical ? w.savedClip.bottom : w.savedClip.right;
    int64_t centre = savedLow + (savedHigh - savedLow) / 2;
    return {vertical ? s.clipTop : s.clipLeft,
            vertical ? s.clipBottom : s.clipRight,
            savedLow,
            savedHigh,
            centre,
            centre + w.size / -2,
            centre + w.size / 2};
}

// Where an opening wipe starts on an axis: collapsed onto the far side, or onto the centre.
void collapse(Axis a, Sides sides) {
    if (sides == Sides::low)
        a.set(a.savedHigh, a.high);
    else if (sides == Sides::high)
        a.set(a.low, a.savedLow);
    else
        a.set(a.centre, a.centre);
}

// Outward by `move`; the moving sides snap to their saved places once one reaches or passes.
void open(Axis a, Sides sides, int64_t move) {
    int64_t low = sides == Sides::high ? a.low : a.low - move;
    int64_t high = sides == Sides::low ? a.high : a.high + move;
    if ((sides != Sides::high && low <= a.savedLow) || (sides != Sides::low && high >= a.savedHigh))
        a.set(sides == Sides::high ? low : a.savedLow, sides == Sides::low ? high : a.savedHigh);
    else
        a.set(low, high);
}

// Inward by `move`; true once the moving sides have closed the axis. They stay where the move
// left them, which may be past one another.
bool close(Axis a, Sides sides, int64_t move) {
    int64_t low = sides == Sides::high ? a.low : a.low + move;
    int64_t high = sides == Sides::low ? a.high : a.high - move;
    a.set(low, high);
    if (sides == Sides::low) return low >= a.savedHigh;
    if (sides == Sides::high) return high <= a.savedLow;
    return low >= high;
}

// Inward by `move` onto the band, both sides snapping to it once one reaches or passes it.
void closeOntoBand(Axis a, int64_t move) {
    int64_t low = a.low + move, high = a.high - move;
    if (low >= a.bandLow || high <= a.bandHigh)
        a.set(a.bandLow, a.bandHigh);
    else
        a.set(low, high);
}

// The pixels a side moves this frame: n + 1 with n = trunc(seconds × speed), kept from 1 (any
// speed at or below 0) to a size no clip rectangle needs.
int64_t stepSize() {
    double n = double(zuSystem::frameClock.seconds) * double(clipWipe.speed);
    if (!(n > 0)) return 1;
    return int64_t(std::min(n, 1e12)) + 1;
}

void finishOpening() {
    clipWipe.state = 0;
    clipWipe.opened = 1;
}

void finishClosing() {
    clipWipe.state = -1;
    clipWipe.closed = 1;
}

void stepOpening(const WipeShape& shape, int64_t move) {
    Axis first = axisOf(shape.first.vertical);
    if (!shape.twoAxes) {
        open(first, shape.first.sides, move);
    } else {
        Axis second = axisOf(shape.second.vertical);
        bool firstDone = first.atSaved();
        if (!firstDone) open(first, shape.first.sides, move);
        if ((shape.together || firstDone) && !second.atSaved())
            open(second, shape.second.sides, move);
    }
    const platform::Rect& saved = clipWipe.savedClip;
    const ScreenState& s = screenState;
    if (s.clipLeft == saved.left && s.clipTop == saved.top && s.clipRight == saved.right &&
        s.clipBottom == saved.bottom)
        finishOpening();
}

void stepClosing(const WipeShape& shape, int64_t move) {
    Axis first = axisOf(shape.first.vertical);
    if (!shape.twoAxes) {
        if (close(first, shape.first.sides, move)) finishClosing();
        return;
    }
    Axis second = axisOf(shape.second.vertical);
    if (shape.together) {  // a pair that meets or crosses is put on the centre
        for (Axis a : {first, second})
            if (close(a, Sides::both, move)) a.set(a.centre, a.centre);
        if (first.met() && second.met()) finishClosing();
        return;
    }
    if (!second.atBand())  // the band first, then the first axis shuts
        closeOntoBand(second, move);
    else if (close(first, Sides::both, move))
        finishClosing();
}

}  // namespace

int32_t StartWipe(int32_t closing, int32_t shape, float speed, int32_t size) {
    ClipWipe& w = clipWipe;
    ScreenState& s = screenState;
    if (w.state > 0 || shape < 0 || shape > 9) return 0;
    if (w.state == -1)
        SetClip(w.savedClip.left, w.savedClip.top, w.savedClip.right, w.savedClip.bottom);
    w.savedClip = {s.clipLeft, s.clipTop, s.clipRight, s.clipBottom};
    if (shape == 0) shape = std::rand() % 9 + 1;
    w.opened = 0;
    w.closed = 0;
    w.closing = closing;
    w.shape = shape;
    w.speed = speed > 0 ? speed : 0.0f;  // a negative speed would never end (and NaN is 0)
    w.size = size;
    if (closing) {
        w.state = 2;
        return 1;
    }
    w.state = 1;
    const WipeShape& rule = shapes[shape - 1];
    collapse(axisOf(rule.first.vertical),
             rule.twoAxes && !rule.together ? Sides::both : rule.first.sides);
    if (rule.twoAxes) {
        Axis second = axisOf(rule.second.vertical);
        if (rule.together)
            collapse(second, Sides::both);
        else
            second.set(second.bandLow, second.bandHigh);
    }
    return 1;
}

void HideAll() {
    ClipWipe& w = clipWipe;
    ScreenState& s = screenState;
    if (w.state == 0) w.savedClip = {s.clipLeft, s.clipTop, s.clipRight, s.clipBottom};
    s.clipRight = s.clipLeft;
    s.clipBottom = s.clipTop;
    w.state = -1;
}

int32_t StepWipe() {
    ClipWipe& w = clipWipe;
    if (w.state <= 0 || w.shape < 1 || w.shape > 9) return 0;
    const WipeShape& shape = shapes[w.shape - 1];
    if (w.state == 1)
        stepOpening(shape, stepSize());
    else
        stepClosing(shape, stepSize());
    return 1;
}

}  // namespace zuDraw
