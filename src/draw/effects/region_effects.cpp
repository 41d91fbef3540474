// Effects on a rectangle of the back buffer itself: fire, softening, noise, the circular mosaic
// and inversion. They ignore the clip rectangle; each cuts its rectangle to the back buffer with
// the margin its neighbour reads need, so every read and write stays inside it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "draw/effects/five_bit_layouts.h"
#include "platform/text/draw_context.h"

namespace zuDraw {

RegionEffectState regionEffectState;

namespace {

using effects::Pixels16;
using effects::Rgb565;
using effects::withLayout;

// Which channels lose 1 (of 31) after averaging.
struct Fades {
    bool red = false, green = false, blue = false;
};

// Five-bit channels held side by side in one word, red | green << 10 | blue << 20, so that four
// neighbours add up in one sum without carries.
struct Spread {
    static constexpr uint32_t fields = 31 | 31 << 10 | 31u << 20, ones = 1 | 1 << 10 | 1u << 20;
    // The average of four spread neighbours, each faded channel lowered by 1 unless 0.
    static uint32_t average(uint32_t sum, uint32_t fadeBits) {
        uint32_t a = sum >> 2 & fields;
        uint32_t nonZero = ((a + fields) >> 5) & ones;
        return a - (nonZero & fadeBits);
    }
    static uint32_t fadeBits(Fades f) {
        return (f.red ? 1u : 0u) | (f.green ? 1u << 10 : 0u) | (f.blue ? 1u << 20 : 0u);
    }
};

// Centre pixels [left, right) × [top, bottom), worked out in 64 bits and cut to keep `margin`
// pixels of room to every edge of the buffer for the neighbours a centre reads or writes.
struct Span {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};
Span cutToBuffer(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t margin,
                 const Pixels16& p) {
    left = std::max<int64_t>(left, margin);
    top = std::max<int64_t>(top, margin);
    right = std::min<int64_t>(right, p.width - margin);
    bottom = std::min<int64_t>(bottom, p.height - margin);
    if (right <= left || bottom <= top) return {};
    return {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

// Locks the back buffer alone (as both halves of the effect lock) and runs body(pixels).
template <class Body>
int32_t onBackBuffer(Body&& body) {
    if (!effects::ready()) return 0;
    effects::EffectLock lock(*screenState.back, *screenState.back);
    if (!lock.ok()) return 0;
    body(lock.dest);
    return 1;
}

// Each centre of [left, right) of one row: its four neighbours averaged into the row above it.
// A column reads only its own pixel of the row above, so the whole row can be done at once.
template <class Five>
void averageIntoAbove(const Five& five, uint16_t* __restrict above,
                      const uint16_t* __restrict centre, const uint16_t* __restrict below,
                      int32_t left, int32_t right, uint32_t fade) {
    for (int32_t column = left; column < right; ++column) {
        uint32_t sum = five.spread(centre[column - 1]) + five.spread(centre[column + 1]) +
                       five.spread(above[column]) + five.spread(below[column]);
        above[column] = uint16_t(five.pack(Spread::average(sum, fade)));
    }
}

// Where the carries fall for a run of the random table read from a carry on: entry k counts
// max(1, table[k]) pixels and carries the last. Laid out once per table as a mask over the
// pixels counted by entries 0 to 9998 (entry 9999 decides where reading goes on), so a row's
// carries become one masked copy instead of a walk from carry to carry.
struct CarryPattern {
    int8_t table[10000] = {};       // the table the pattern was made from
    std::vector<uint16_t> carried;  // per counted pixel: 0xFFFF where it is carried
    std::vector<int32_t> start;     // start[k]: the first pixel entry k counts
    std::vector<int16_t> entryOf;   // the entry counting pixel j; 9999 at the pattern's end

    const CarryPattern& madeFor(const int8_t* now) {
        if (!start.empty() && std::equal(now, now + 10000, table)) return *this;
        std::copy_n(now, 10000, table);
        carried.clear(), start.clear(), entryOf.clear();
        for (int16_t k = 0; k < 9999; ++k) {
            start.push_back(int32_t(carried.size()));
            const int32_t count = std::max<int32_t>(1, table[k]);
            carried.insert(carried.end(), size_t(count - 1), 0);
            carried.push_back(0xFFFF);
            entryOf.insert(entryOf.end(), size_t(count), k);
        }
        start.push_back(int32_t(carried.size()));
        entryOf.push_back(9999);
        return *this;
    }
};

// Every pixel of [left, right) counts up; the one where the count reaches the table's entry is
// carried up unchanged, and the count starts over at the next entry. From a carry on, up to
// entry 9999, the carries are read off the pattern; the rest is walked pixel by pixel.
void carryUp(const CarryPattern& carries, uint16_t* __restrict above,
             const uint16_t* __restrict centre, int32_t left, int32_t right, int64_t& counter,
             effects::RandomReader& random) {
    const int8_t* table = carries.table;
    int64_t count = counter;
    effects::RandomReader reader = random;
    for (int32_t column = left;;) {
        if (count == 0 && reader.position < 9999) {
            const int32_t from = carries.start[size_t(reader.position)];
            const int32_t length = std::min(right - column, carries.start[9999] - from);
            const uint16_t* mask = &carries.carried[size_t(from)];
            for (int32_t i = 0; i < length; ++i)
                above[column + i] =
                    uint16_t((above[column + i] & ~mask[i]) | (centre[column + i] & mask[i]));
            column += length;
            reader.position = carries.entryOf[size_t(from + length)];
            count = from + length - carries.start[size_t(reader.position)];
            if (column == right) break;
        }
        int64_t wait = std::max<int64_t>(1, table[reader.position] - count);
        if (wait > right - column) {
            count += right - column;
            break;
        }
        column += int32_t(wait);
        above[column - 1] = centre[column - 1];
        count = 0;
        reader.next();
    }
    counter = count;
    random = reader;
}

// averageIntoAbove on RGB565, in 16-bit lanes (twice as many to a vector): red and blue 8 bits
// apart in one, green in the other, each with room for a sum of four.
void averageIntoAbove(const Rgb565&, uint16_t* __restrict above, const uint16_t* __restrict centre,
                      const uint16_t* __restrict below, int32_t left, int32_t right,
                      uint32_t fade) {
    const uint16_t fadeRedBlue = uint16_t((fade & 1 ? 0x100 : 0) | (fade >> 20 & 1)),
                   fadeGreen = uint16_t(fade >> 10 & 1);
    auto redBlue = [](uint16_t p) { return uint16_t((p >> 3 & 0x1F00) | (p & 0x1F)); };
    auto green = [](uint16_t p) { return uint16_t(p >> 6 & 31); };
    for (int32_t column = left; column < right; ++column) {
        const uint16_t l = centre[column - 1], r = centre[column + 1], a = above[column],
                       b = below[column];
        uint16_t rb = uint16_t((redBlue(l) + redBlue(r) + redBlue(a) + redBlue(b)) >> 2 & 0x1F1F);
        uint16_t g = uint16_t((green(l) + green(r) + green(a) + green(b)) >> 2 & 31);
        rb = uint16_t(rb - ((rb + 0x1F1F) >> 5 & fadeRedBlue));  // faded channels lose 1 unless 0
        g = uint16_t(g - ((g + 31) >> 5 & fadeGreen));
        above[column] = uint16_t((rb & 0x1F00) << 3 | (rb & 31) | g << 6);
    }
}

int32_t fire(int32_t& step, int32_t& read, Fades fades, int32_t x, int32_t y, int32_t w,
             int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        // Centres: columns x + 1 .. x + w - 2, rows y + 2 .. y + h - 1; each writes the pixel
        // above it and reads the one below, so a centre needs one pixel of room on every side.
        Span s =
            cutToBuffer(int64_t(x) + 1, int64_t(y) + 2, int64_t(x) + w - 1, int64_t(y) + h, 1, p);
        if (s.empty()) return;
        const uint32_t fade = Spread::fadeBits(fades);
        effects::RandomReader random{read};
        int64_t counter = step;
        static CarryPattern pattern;  // checked against the table once a call, not once a row
        const CarryPattern& carries = pattern.madeFor(effectTables.randomTable);
        withLayout([&](const auto& five) {
            for (int32_t row = s.top; row < s.bottom; ++row) {
                uint16_t* above = p.row(row - 1);
                const uint16_t* centre = p.row(row);
                averageIntoAbove(five, above, centre, p.row(row + 1), s.left, s.right, fade);
                carryUp(carries, above, centre, s.left, s.right, counter, random);
            }
        });
        step = int32_t(std::clamp<int64_t>(counter, INT32_MIN, INT32_MAX));
        read = random.position;
    });
}

// A row of pixels spread, in pairs: even[j] from pixel 2j, odd[j] from pixel 2j + 1 (the last
// even one alone when n is odd). Pairs keep the vector loops free of strides.
struct PairRow {
    std::vector<uint32_t> even, odd;
    explicit PairRow(int32_t n) : even(size_t(n / 2 + 1)), odd(size_t(n / 2 + 1)) {}
    template <class Five>
    void spread(const Five& five, const uint16_t* __restrict pixels, int32_t n) {
        uint32_t* __restrict e = even.data();
        uint32_t* __restrict o = odd.data();
        for (int32_t j = 0; j < n / 2; ++j) {  // a pair read as one word, low pixel first
            uint32_t both;
            std::memcpy(&both, pixels + 2 * j, 4);
            e[j] = five.spread(both & 0xFFFF);
            o[j] = five.spread(both >> 16);
        }
        if (n % 2) e[n / 2] = five.spread(pixels[n - 1]);
    }
};

// A softened pixel is the average of its left neighbour (already softened), the softened pixel
// above, the one below and the one to its right. All but the left one are summed for a whole
// row first (sumNeighbours) and the pixels packed last (packRow), both in whole vectors, so only
// add, shift and mask stay in the chain from pixel to pixel.

// into += each pixel's right and lower neighbours; `own` holds the row with its right neighbour.
void sumNeighbours(PairRow& into, const PairRow& own, const PairRow& below, int32_t count) {
    const int32_t pairs = count / 2;
    uint32_t* __restrict e = into.even.data();
    uint32_t* __restrict o = into.odd.data();
    for (int32_t j = 0; j < pairs; ++j) {
        e[j] += own.odd[size_t(j)] + below.even[size_t(j)];
        o[j] += own.even[size_t(j + 1)] + below.odd[size_t(j)];
    }
    if (count % 2) e[pairs] += own.odd[size_t(pairs)] + below.even[size_t(pairs)];
}

template <class Five>
void packRow(const Five& five, const PairRow& row, uint16_t* __restrict line, int32_t count) {
    for (int32_t j = 0; j < count / 2; ++j) {  // a pair written as one word, low pixel first
        const uint32_t both = five.pack(row.even[size_t(j)]) | five.pack(row.odd[size_t(j)]) << 16;
        std::memcpy(line + 2 * j, &both, 4);
    }
    if (count % 2) line[count - 1] = uint16_t(five.pack(row.even[size_t(count / 2)]));
}

// The chain with fades, a pixel a step: `row` holds the sums on entry, the softened pixels after.
void fadingChain(PairRow& row, uint32_t left, uint32_t fade, int32_t count) {
    uint32_t previous = left;
    for (int32_t j = 0; j < count / 2; ++j) {
        uint32_t& e = row.even[size_t(j)];
        e = Spread::average(previous + e, fade);
        previous = row.odd[size_t(j)] = Spread::average(e + row.odd[size_t(j)], fade);
    }
    if (count % 2)
        row.even[size_t(count / 2)] = Spread::average(previous + row.even[size_t(count / 2)], fade);
}

// The chain without fades, a pair a step: floor((floor((x + a) / 4) + b) / 4) =
// floor((x + a + 4b) / 16), and x + a + 4b (at most 496) still fits a field; the first of each
// pair is worked out off the chain. With Two, the lower row's sums still lack the pixels above,
// which its chain takes from the upper row's as soon as they are made, so the two chains run
// side by side. Each row holds its sums on entry and its softened pixels after.
template <bool Two>
void pairChain(PairRow& upper, uint32_t upperLeft, PairRow& lower, uint32_t lowerLeft,
               int32_t count) {
    constexpr uint32_t fields = Spread::fields;
    const int32_t pairs = count / 2;
    uint32_t *ue = upper.even.data(), *uo = upper.odd.data();
    uint32_t *le = lower.even.data(), *lo = lower.odd.data();
    uint32_t up = upperLeft, low = lowerLeft;
    for (int32_t j = 0; j < pairs; ++j) {
        const uint32_t first = (up + ue[j]) >> 2 & fields;
        up = uo[j] = (up + ue[j] + 4 * uo[j]) >> 4 & fields;
        ue[j] = first;
        if constexpr (Two) {
            le[j] += first;
            low = lo[j] = (low + le[j] + 4 * (lo[j] + up)) >> 4 & fields;
        }
    }
    if (count % 2) ue[pairs] = (up + ue[pairs]) >> 2 & fields;
    if constexpr (Two) {
        if (count % 2) le[pairs] = (low + le[pairs] + ue[pairs]) >> 2 & fields;
        if (pairs > 0) le[0] = (lowerLeft + le[0]) >> 2 & fields;
        for (int32_t j = 1; j < pairs; ++j) le[j] = (lo[j - 1] + le[j]) >> 2 & fields;
    }
}

// Rows are softened top to bottom, each row's pixels spread once (the row below one softened
// row is the next row to soften, and the next row's pixels above are the softened ones), and
// without fades two rows at a time.
int32_t soften(Fades fades, int32_t x, int32_t y, int32_t w, int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(int64_t(x) + 1, int64_t(y) + 1, int64_t(x) + w - 1, int64_t(y) + h - 1,
                             1, p);
        if (s.empty()) return;
        const uint32_t fade = Spread::fadeBits(fades);
        const int32_t count = s.right - s.left;
        // Spread rows: the softened row above, and rows row, row + 1, row + 2 as they were, each
        // with its right neighbour.
        PairRow above(count), lower(count), own(count + 1), next(count + 1), after(count + 1);
        withLayout([&](const auto& five) {
            auto line = [&](int32_t row) { return p.row(row) + s.left; };
            auto left = [&](int32_t row) { return five.spread(line(row)[-1]); };
            above.spread(five, line(s.top - 1), count);
            own.spread(five, line(s.top), count + 1);
            for (int32_t row = s.top; row < s.bottom;) {
                next.spread(five, line(row + 1), count + 1);
                sumNeighbours(above, own, next, count);
                if (!fade && row + 1 < s.bottom) {
                    after.spread(five, line(row + 2), count + 1);
                    std::fill(lower.even.begin(), lower.even.end(), 0u);
                    std::fill(lower.odd.begin(), lower.odd.end(), 0u);
                    sumNeighbours(lower, next, after, count);
                    pairChain<true>(above, left(row), lower, left(row + 1), count);
                    packRow(five, above, line(row), count);
                    packRow(five, lower, line(row + 1), count);
                    std::swap(above, lower);
                    std::swap(own, after);
                    row += 2;
                    continue;
                }
                if (fade)
                    fadingChain(above, left(row), fade, count);
                else
                    pairChain<false>(above, left(row), lower, 0, count);
                packRow(five, above, line(row), count);
                std::swap(own, next);
                ++row;
            }
        });
    });
}

// Raises the enabled channels of `count` pixels by their random entries shifted, at most to 31.
template <class Five>
void raiseRun(const Five& five, uint16_t* __restrict line, const int8_t* __restrict values,
              int32_t count, int32_t shift, uint32_t on) {
    for (int32_t i = 0; i < count; ++i) {
        uint32_t n = uint32_t(std::min(values[i] << shift, 31));
        uint32_t raised = five.spread(line[i]) + (n * Spread::ones & on);
        // Fields above 31 (bit 5 set) become 31.
        uint32_t over = (raised >> 5) & Spread::ones;
        line[i] = uint16_t(five.pack((raised | over * 31) & Spread::fields));
    }
}

int32_t noise(int32_t& read, bool red, bool green, bool blue, int32_t shift, int32_t x, int32_t y,
              int32_t w, int32_t h) {
    shift = std::clamp(shift, 0, 15);  // a wider shift is undefined; 15 already saturates
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(x, y, int64_t(x) + w, int64_t(y) + h, 0, p);
        const uint32_t on = (red ? 63u : 0u) | (green ? 63u << 10 : 0u) | (blue ? 63u << 20 : 0u);
        const int8_t* table = effectTables.randomTable;
        effects::RandomReader random{read};
        withLayout([&](const auto& five) {
            for (int32_t row = s.top; row < s.bottom; ++row) {
                uint16_t* line = p.row(row);
                // The table is read in runs that stop before entry 9999, whose reader decides
                // where to go on.
                for (int32_t column = s.left; column < s.right;) {
                    int32_t run = std::clamp(9999 - random.position, 0, s.right - column);
                    raiseRun(five, line + column, table + random.position, run, shift, on);
                    random.position += run;
                    column += run;
                    if (column == s.right) break;
                    int8_t value = int8_t(random.next());
                    raiseRun(five, line + column, &value, 1, shift, on);
                    ++column;
                }
            }
        });
        read = random.position;
    });
}

// The offsets [start, end) around a centre at `centre` that stay on a line of `length` pixels.
std::pair<int64_t, int64_t> offsetsOnScreen(int64_t centre, int64_t radius, int64_t length) {
    return {std::max(-radius, -centre), std::min(radius, length - centre)};
}

}  // namespace

int32_t Fire(int32_t x, int32_t y, int32_t w, int32_t h) {
    RegionEffectState& s = regionEffectState;
    return fire(s.fireStep, s.fireRead, {}, x, y, w, h);
}

int32_t FireRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y,
                int32_t w, int32_t h) {
    RegionEffectState& s = regionEffectState;
    return fire(s.fireRgbStep, s.fireRgbRead, {redFade != 0, greenFade != 0, blueFade != 0}, x, y,
                w, h);
}

int32_t Soften(int32_t x, int32_t y, int32_t w, int32_t h) {
    return soften({}, x, y, w, h);
}

int32_t SoftenRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y,
                  int32_t w, int32_t h) {
    return soften({redFade != 0, greenFade != 0, blueFade != 0}, x, y, w, h);
}

int32_t Noise(int32_t shift, int32_t x, int32_t y, int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRead, true, true, true, shift, x, y, w, h);
}

int32_t NoiseRGB(int32_t redOn, int32_t greenOn, int32_t blueOn, int32_t shift, int32_t x,
                 int32_t y, int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRgbRead, redOn != 0, greenOn != 0, blueOn != 0, shift, x, y,
                 w, h);
}

int32_t CircleMosaic(int32_t cx, int32_t cy, int32_t radius, int32_t cell) {
    return onBackBuffer([&](const Pixels16& p) {
        if (cell < 1 || radius < 1) return;  // a cell below 1 would never step on
        auto [startX, endX] = offsetsOnScreen(cx, radius, p.width);
        auto [startY, endY] = offsetsOnScreen(cy, radius, p.height);
        for (int64_t oy = startY; oy < endY; oy += cell)
            for (int64_t ox = startX; ox < endX; ox += cell) {
                uint16_t colour = p.row(int32_t(cy + oy))[cx + ox];
                for (int64_t dy = oy; dy < std::min(oy + cell, int64_t(p.height) - cy); ++dy)
                    for (int64_t dx = ox; dx < std::min(ox + cell, int64_t(p.width) - cx); ++dx)
                        if (int64_t(std::sqrt(double(dx * dx + dy * dy))) < radius)
                            p.row(int32_t(cy + dy))[cx + dx] = colour;
            }
    });
}

int32_t Invert(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!screenState.back) return 0;
    platform::DrawContext* dc = platform::getDC(*screenState.back);
    if (!dc) return 0;
    platform::invertRect(dc, {left, top, right, bottom});
    platform::releaseDC(dc);
    return 1;
}

}  // namespace zuDraw
