// The drawing context: colour conversion, taking and releasing contexts, font heights and
// extents, opaque cells, turned text, wrapped Japanese boxes, the font list and the shapes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/headless.h"
#include "platform/text/draw_context.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

using namespace platform;

// fontconfig keeps a little of its parsed configuration unreachable for the life of the process;
// the leak checker of the sanitizer builds is told so, for every test of this binary.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// A surface with a drawing context and the font last selected: white text, transparent background.
struct Canvas {
    Surface* surface;
    DrawContext* dc;
    Font* font = nullptr;
    explicit Canvas(int32_t w = 200, int32_t h = 100, Format f = Format::rgb565)
        : surface(createSurface(w, h, f)), dc(getDC(*surface)) {
        setTextColor(dc, RGB(255, 255, 255));
        setBkMode(dc, TRANSPARENT);
    }
    ~Canvas() {
        releaseDC(dc);
        deleteFont(font);
        destroySurface(surface);
    }
    void select(const LogFont& lf) {  // the font selected before is deleted
        Font* last = font;
        selectFont(dc, font = createFont(lf));
        deleteFont(last);
    }
    // Paints the canvas black, runs `draw`, and returns the box around every pixel it inked.
    template <class Draw> Rect inked(Draw draw) const {
        for (int32_t y = 0; y < surface->height; ++y)
            for (int32_t x = 0; x < surface->width; ++x) setPixel(dc, x, y, 0);
        draw();
        Rect r{surface->width, surface->height, 0, 0};
        for (int32_t y = 0; y < surface->height; ++y)
            for (int32_t x = 0; x < surface->width; ++x)
                if (getPixel(dc, x, y) != 0)
                    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                         std::max(r.bottom, y + 1)};
        return r;
    }
};

LogFont gothic(int32_t height, int32_t weight = FW_NORMAL) {
    LogFont lf;
    lf.lfHeight = height, lf.lfWeight = weight, lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(lf.lfFaceName, "標準ゴシック");
    return lf;
}

}  // namespace

TEST(TextColours, PixelsConvertByTruncationAndReadBackReplicated) {
    Canvas c16(4, 4, Format::rgb565), c15(4, 4, Format::rgb555), c32(4, 4, Format::xrgb8888);
    const COLORREF white = RGB(255, 255, 255), odd = RGB(0x87, 0x87, 0x40);
    EXPECT_EQ(getPixel(c15.dc, 1, 1), 0u);
    // setPixel answers the colour the pixel became; outside the surface, CLR_INVALID.
    EXPECT_EQ((std::vector{setPixel(c16.dc, 0, 0, white), getPixel(c16.dc, 0, 0),
                           setPixel(c15.dc, 1, 1, white)}),
              std::vector(3, white));
    EXPECT_EQ((std::vector{setPixel(c16.dc, 1, 0, odd), setPixel(c15.dc, 1, 0, odd),
                           setPixel(c32.dc, 1, 0, odd)}),
              (std::vector{RGB(0x84, 0x86, 0x42), RGB(0x84, 0x84, 0x42), odd}));
    EXPECT_EQ(pixelFromColor(Format::rgb565, RGB(255, 0, 0)), 0xF800u);
    EXPECT_EQ(std::pair(getPixel(c16.dc, 4, 0), setPixel(c16.dc, -1, 0, 0)), std::pair(CLR_INVALID, CLR_INVALID));
}

TEST(TextContext, ContextsAreRefusedWhileTheSurfaceIsBusyAndObjectsAreCounted) {
    GdiCounts before = gdiCounts();
    Surface* s = createSurface(8, 8, Format::rgb565);
    Surface* other = createSurface(8, 8, Format::rgb565);
    DrawContext* dc = getDC(*s);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(getDC(*s), nullptr);  // already held
    EXPECT_EQ(bltFast(*s, 0, 0, *other, {0, 0, 8, 8}, false), Status::failed);
    Font* f = createFont(gothic(12));
    Pen* p = createPen(PS_SOLID, 1, RGB(1, 2, 3));
    Brush* b = createSolidBrush(0);
    selectFont(dc, f), selectPen(dc, p), selectBrush(dc, b);
    EXPECT_EQ(std::pair(gdiCounts().contexts, gdiCounts().fonts), std::pair(before.contexts + 1, before.fonts + 1));
    EXPECT_FALSE(deleteFont(f) || deletePen(p));  // still selected
    releaseDC(dc);                                // gives the objects back
    EXPECT_TRUE(deleteFont(f) && deletePen(p) && deleteBrush(b));
    EXPECT_EQ(bltFast(*s, 0, 0, *other, {0, 0, 8, 8}, false), Status::ok);

    LockedRect r;
    ASSERT_EQ(lock(*s, r), Status::ok);
    EXPECT_EQ(getDC(*s), nullptr);
    unlock(*s);
    headless::loseSurface(s);
    EXPECT_EQ(getDC(*s), nullptr);
    restore(*s);
    headless::failNextContexts(1);
    EXPECT_EQ(getDC(*s), nullptr);
    EXPECT_NE(dc = getDC(*s), nullptr);
    releaseDC(dc);
    GdiCounts after = gdiCounts();
    EXPECT_EQ(std::tuple(after.contexts, after.fonts, after.pens, after.brushes),
              std::tuple(before.contexts, before.fonts, before.pens, before.brushes));
    destroySurface(s);
    destroySurface(other);
}

TEST(TextFonts, HeightsExtentsSynthesisedBoldOpaqueCellsTurnedGlyphsAndTheListWithJapaneseFacesFirst) {
    Canvas c;
    c.select(gothic(20));  // positive: the cell height
    EXPECT_EQ(textExtent(c.dc, "ABC", 3).cy, 20);
    c.select(gothic(-16));  // negative: the character height
    Size kanji = textExtent(c.dc, "日本語", 6);
    EXPECT_GT(kanji.cy, 16);
    // Full-width characters are one em; a lone final lead byte is dropped.
    EXPECT_EQ((std::array{kanji.cx, textExtent(c.dc, "ABCD", 4).cx, textExtent(c.dc, "日本\x93", 5).cx}),
              (std::array{48, 32, 32}));
    c.select(gothic(-16, FW_BOLD));
    EXPECT_EQ(textExtent(c.dc, "ABCD", 4).cx, 36);  // one pixel more per character
    LogFont arial = gothic(-16);
    std::strcpy(arial.lfFaceName, "Arial");
    c.select(arial);
    EXPECT_LT(textExtent(c.dc, "iiii", 4).cx, textExtent(c.dc, "WWWW", 4).cx);
    c.select(gothic(-16));
    const Size ext = textExtent(c.dc, "漢字", 4);
    const Rect ink = c.inked([&] { textOut(c.dc, 10, 20, "漢字", 4); });
    setBkColor(c.dc, RGB(0, 0, 255));
    setBkMode(c.dc, OPAQUE);
    const Rect cell = c.inked([&] { ASSERT_TRUE(textOut(c.dc, 10, 20, "漢字", 4)); });
    EXPECT_EQ(getPixel(c.dc, 10, 20), RGB(0, 0, 255));
    setBkMode(c.dc, TRANSPARENT);
    LogFont up = gothic(-16);
    up.lfEscapement = 900;  // reads upwards: the cell's top edge lies along x = 40
    c.select(up);
    const Rect turned = c.inked([&] { textOut(c.dc, 40, 80, "漢字", 4); });
    // Opaque: exactly the cell. Transparent: only glyph pixels, inside the cell.
    EXPECT_EQ((std::array{cell.left, cell.top, cell.right, cell.bottom}),
              (std::array{10, 20, 10 + ext.cx, 20 + ext.cy}));
    EXPECT_TRUE(ink.left >= 10 && ink.top >= 20 && ink.right <= 10 + ext.cx);
    EXPECT_LT(ink.width() * ink.height(), ext.cx * ext.cy);
    EXPECT_TRUE(turned.left >= 40 && turned.right <= 40 + ext.cy) << turned.left << " " << turned.right;
    EXPECT_TRUE(turned.top >= 80 - ext.cx && turned.bottom <= 80) << turned.top << " " << turned.bottom;
    EXPECT_GT(turned.height(), turned.width());
    // The list: the standard Japanese faces first, then the installed families.
    const std::vector<FontFace>& faces = listFonts();
    ASSERT_GE(faces.size(), 3u);
    EXPECT_EQ((std::vector{faces[0].name, faces[1].name}), (std::vector<std::string>{"標準ゴシック", "標準明朝"}));
    std::map<std::string, int32_t> charSets;
    for (const FontFace& f : faces) charSets.emplace(f.name, f.charSet);
    EXPECT_EQ(std::tuple(charSets.at("標準ゴシック"), charSets.at("標準明朝"), charSets.at("IPAGothic")),
              std::tuple(SHIFTJIS_CHARSET, SHIFTJIS_CHARSET, SHIFTJIS_CHARSET));
    EXPECT_EQ(charSets.at("Liberation Sans"), ANSI_CHARSET);
}

// Alignment in a box is held to the draw_text_boxes golden picture.
TEST(TextBoxes, JapaneseLinesWrapBetweenCharactersAndTheBoxClips) {
    Canvas c(240, 120);
    c.select(gothic(-16));
    const int32_t line = textExtent(c.dc, "字", 2).cy;
    const char* text = "日本語の文章を折り返して表示する";  // 16 characters
    Rect box{0, 0, 80, 0};                             // five characters a line
    EXPECT_EQ(drawText(c.dc, text, -1, box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX), 4 * line);
    EXPECT_EQ(std::pair(box.right, box.bottom), std::pair(80, 4 * line));
    // Words break at spaces, a word wider than the box stays whole, \n breaks unless single-line.
    struct Row { const char* text; int32_t width; uint32_t flags; int32_t lines; };
    for (const Row& r : {Row{"one two three", 50, DT_WORDBREAK, 3}, Row{"abcdefgh", 20, DT_WORDBREAK, 1},
                         Row{"a b\nc", 20, 0, 2}, Row{"a b\nc", 20, DT_SINGLELINE, 1}}) {
        Rect calc{0, 0, r.width, 0};
        EXPECT_EQ(drawText(c.dc, r.text, -1, calc, DT_CALCRECT | r.flags), r.lines * line) << r.text;
    }
    Rect prefix{0, 0, 200, 0};
    drawText(c.dc, "&&A&B", -1, prefix, DT_CALCRECT);
    EXPECT_EQ(prefix.right, textExtent(c.dc, "&AB", 3).cx);
    Rect clipped = c.inked([&] {
        Rect narrow{0, 0, 40, 8};
        drawText(c.dc, text, -1, narrow, DT_WORDBREAK);
    });
    EXPECT_TRUE(clipped.right <= 40 && clipped.bottom <= 8) << clipped.right << " " << clipped.bottom;
}

TEST(TextShapes, PensBrushesAndCopies) {
    Canvas c(40, 40, Format::xrgb8888);
    Pen* red = createPen(PS_SOLID, 1, RGB(255, 0, 0));
    Brush* blue = createSolidBrush(RGB(0, 0, 255));
    selectPen(c.dc, red), selectBrush(c.dc, blue);
    auto colours = [&](DrawContext* dc, std::vector<Point> points) {
        std::vector<COLORREF> out;
        for (Point p : points) out.push_back(getPixel(dc, p.x, p.y));
        return out;
    };
    const COLORREF r = RGB(255, 0, 0), b = RGB(0, 0, 255);
    rectangle(c.dc, 2, 2, 8, 6);  // outlined by the pen, filled by the brush, right and bottom out
    EXPECT_EQ(colours(c.dc, {{2, 2}, {7, 5}, {4, 3}, {8, 6}}), (std::vector<COLORREF>{r, r, b, 0}));
    moveTo(c.dc, 10, 10);
    lineTo(c.dc, 20, 10);  // the end point is left out
    EXPECT_EQ(colours(c.dc, {{19, 10}, {20, 10}}), (std::vector<COLORREF>{r, 0}));
    Point triangle[3] = {{20, 20}, {36, 20}, {20, 36}};
    polygon(c.dc, triangle, 3);
    EXPECT_EQ(colours(c.dc, {{23, 23}, {34, 34}}), (std::vector<COLORREF>{b, 0}));
    invertRect(c.dc, {0, 0, 40, 40});
    EXPECT_EQ(getPixel(c.dc, 0, 0), RGB(255, 255, 255));
    invertRect(c.dc, {0, 0, 40, 40});
    EXPECT_EQ(getPixel(c.dc, 4, 3), b);

    Canvas big(80, 80, Format::rgb565);
    ASSERT_TRUE(stretchBlt(big.dc, {0, 0, 80, 80}, c.dc, {0, 0, 40, 40}));
    EXPECT_EQ(colours(big.dc, {{8, 6}, {4, 4}}), (std::vector<COLORREF>{b, r}));
    EXPECT_FALSE(polyBezier(c.dc, triangle, 3));
    selectPen(c.dc, nullptr), selectBrush(c.dc, nullptr);
    EXPECT_TRUE(deletePen(red) && deleteBrush(blue));
}
