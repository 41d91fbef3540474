// Drawing the game's pictures. Everything keyed is drawn with hard edges, so no pixel near
// black appears where the key would not remove it.
#include "assets/pictures.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/letters.h"

namespace assets {

namespace {

constexpr Rgb kWhite{255, 255, 255};

double luma(Rgb c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

// Marks in tile units (0..1), so cells and icons share them.
bool insideRing(double u, double v) {
    double d = std::hypot(u - 0.5, v - 0.5);
    return d <= 0.24 && d >= 0.13;
}

bool insideCross(double u, double v) {
    double a = std::abs((u - 0.5) - (v - 0.5)), b = std::abs((u - 0.5) + (v - 0.5));
    bool inBox = std::abs(u - 0.5) <= 0.21 && std::abs(v - 0.5) <= 0.21;
    return inBox && (a <= 0.085 || b <= 0.085);
}

bool insideTriangle(double u, double v) {
    // Apex up at (0.5, 0.27), base from (0.25, 0.72) to (0.75, 0.72).
    if (v > 0.72 || v < 0.27) return false;
    double halfWidth = (v - 0.27) / 0.45 * 0.25;
    return std::abs(u - 0.5) <= halfWidth;
}

using MarkTest = bool (*)(double, double);
constexpr MarkTest kMarks[3] = {insideRing, insideCross, insideTriangle};

Rgb markColour(Rgb face) { return luma(face) > 150 ? scale(face, 0.32) : mix(face, kWhite, 0.8); }

void drawMark(Canvas& c, int x, int y, int size, int colour, Rgb face, double strength) {
    Rgb mark = mix(face, markColour(face), strength);
    MarkTest test = kMarks[colour];
    paintShape(c, x, y, x + size, y + size, mark, 4,
               [&](double px, double py) { return test((px - x) / size, (py - y) / size); });
}

struct CellLook {
    Rgb face;
    Rgb topLeft, bottomRight;  // the edges inside the outline
    int edge;
    double markStrength;
};

// Free cells are muted and flat, filled cells darker and sunk in, piece cells bright and raised.
CellLook lookOf(Rgb base, CellKind kind, int size) {
    int edge = size >= 24 ? 3 : 2;
    switch (kind) {
    case CellKind::free: {
        // Muted towards a grey of its own lightness, so the colours keep their lightness gaps.
        int grey = int(luma(base));
        Rgb face = scale(mix(base, {grey, grey, grey}, 0.6), 0.88);
        return {face, mix(face, kWhite, 0.12), scale(face, 0.85), 1, 0.45};
    }
    case CellKind::filled: {
        Rgb face = scale(base, 0.62);
        return {face, scale(face, 0.55), mix(face, kWhite, 0.25), edge - 1, 0.8};
    }
    case CellKind::piece:
    default:
        return {base, mix(base, kWhite, 0.55), scale(base, 0.58), edge, 1.0};
    }
}

// Pointer outline, one pixel in from the sheet's edge so the outline fits around it.
bool insideArrow(double x, double y) {
    static const double xs[] = {1, 1, 7.5, 12, 16.5, 12.5, 21};
    static const double ys[] = {0, 31, 25, 36, 34, 23, 23};
    bool in = false;
    for (int i = 0, j = 6; i < 7; j = i++)
        if ((ys[i] > y) != (ys[j] > y) && x < (xs[j] - xs[i]) * (y - ys[i]) / (ys[j] - ys[i]) + xs[i])
            in = !in;
    return in;
}

Rgb cycleColour(int letter, int) { return kCellColours[letter % 3]; }
Rgb promptColour(int, int row) { return mix({255, 255, 255}, {190, 214, 240}, row / 6.0); }
Rgb stageColour(int, int row) { return mix({250, 246, 232}, {240, 228, 66}, row / 6.0); }
Rgb digitColour(int, int row) { return mix({255, 244, 150}, {240, 190, 40}, row / 6.0); }

// A row of piece tiles in the three colours, as a flourish under a word.
void tileRow(Canvas& c, int centreX, int y, int size, int count) {
    int x = centreX - count * size / 2;
    for (int i = 0; i < count; ++i) drawCell(c, x + i * size, y, size, i % 3, CellKind::piece);
    c.frame(x - 1, y - 1, count * size + 2, size + 2, kOutline);
}

Canvas wordPicture(int w, int h, std::string_view text, const LetterStyle& style, int y) {
    Canvas c(w, h);
    drawText(c, (w - textWidth(text, style)) / 2, y, text, style);
    return c;
}

}  // namespace

void drawCell(Canvas& c, int x, int y, int size, int colour, CellKind kind) {
    CellLook look = lookOf(kCellColours[colour], kind, size);
    c.fillRect(x, y, size, size, look.face);
    c.bevel(x + 1, y + 1, size - 2, size - 2, look.topLeft, look.bottomRight, look.edge);
    c.frame(x, y, size, size, kOutline);
    drawMark(c, x, y, size, colour, look.face, look.markStrength);
}

Canvas cellSheet() {
    Canvas c(96, 96);
    const CellKind kinds[] = {CellKind::free, CellKind::filled, CellKind::piece};
    for (int row = 0; row < 3; ++row)
        for (int colour = 0; colour < 3; ++colour) drawCell(c, colour * 32, row * 32, 32, colour, kinds[row]);
    return c;
}

Canvas background() {
    Canvas c(640, 480);
    const Rgb top{34, 52, 82}, bottom{18, 30, 50};
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            Rgb shade = mix(top, bottom, y / 479.0);
            shade = mix(shade, {40, 70, 90}, 0.25 * x / 639.0);  // a little teal to the right
            bool grid = x % 32 == 0 || y % 32 == 0;
            c.set(x, y, grid ? mix(shade, kWhite, 0.06) : shade);
        }
    return c;
}

Canvas pointer() {
    Canvas c(25, 40);
    auto inside = [](int x, int y) { return insideArrow(x + 0.5, y + 0.5); };
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 25; ++x) {
            if (inside(x, y)) {
                c.set(x, y, kWhite);
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near = near || inside(x + dx, y + dy);
            if (near) c.set(x, y, kOutline);
        }
    return c;
}

Canvas titlePicture() {
    LetterStyle style{9, 9, 2, cycleColour};
    Canvas c = wordPicture(400, 150, "TESSORA", style, 22);
    tileRow(c, 200, 106, 18, 9);
    return c;
}

Canvas clickPrompt() {
    LetterStyle style{3, 4, 1, promptColour};
    return wordPicture(252, 40, "CLICK TO START", style, 6);
}

Canvas stageLabel() {
    Canvas c(338, 100);
    LetterStyle word{6, 11, 1, stageColour};
    drawText(c, (186 - textWidth("STAGE", word)) / 2, 11, "STAGE", word);
    LetterStyle digits{6, 11, 1, digitColour};
    for (int s = 0; s < 4; ++s) {
        std::string digit(1, char('1' + s));
        drawText(c, 186 + 38 * s + (38 - textWidth(digit, digits)) / 2, 11, digit, digits);
    }
    return c;
}

Canvas theEnd() {
    LetterStyle style{7, 7, 1, cycleColour};
    Canvas c = wordPicture(290, 112, "THE END", style, 18);
    tileRow(c, 145, 82, 14, 11);
    return c;
}

Canvas icon(int size) {
    Canvas c(size, size, 0);  // transparent
    double radius = size * 0.18;
    auto rounded = [&](double x, double y) {
        double cx = std::clamp(x, radius, size - radius), cy = std::clamp(y, radius, size - radius);
        return std::hypot(x - cx, y - cy) <= radius;
    };
    paintShape(c, 0, 0, size, size, kOutline, 4, rounded);
    paintShape(c, 0, 0, size, size, {34, 52, 82}, 4, [&](double x, double y) {
        return rounded(x, y) && x > size * 0.04 && y > size * 0.04 && x < size * 0.96 && y < size * 0.96;
    });
    // Two-by-two tiles; the last one lifted out a little, as a piece about to be dropped.
    int tile = size * 13 / 32, origin = (size - 2 * tile) / 2;
    drawCell(c, origin, origin, tile, 0, CellKind::piece);
    drawCell(c, origin + tile, origin, tile, 1, CellKind::piece);
    drawCell(c, origin, origin + tile, tile, 2, CellKind::piece);
    drawCell(c, origin + tile, origin + tile, tile, 0, CellKind::filled);
    return c;
}

}  // namespace assets
