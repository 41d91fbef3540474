// The rich text renderers: layout through the boxes for both, Shrink2's blends at 16 and 32
// bits, the colour guard, the reveal on the virtual clock, unsafe inputs, and a golden sheet.
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/video/surface.h"
#include "support/fresh_screen.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace {

using platform::Rect;
using zuDraw::textBoxes;

const char* const paragraph = "日本語の文章を折り返して表示します。句読点、括弧「」と Latin text, 123 が混ざります。";

auto edges(const Rect& r) { return std::tuple(r.left, r.top, r.right, r.bottom); }

// The plain renderer at `size` pixels and the smooth one at twice that, halved.
struct Renderer {
    bool smooth;
    void (*begin)(int32_t size);
    void (*end)();
    void (*prepare)(int32_t, int32_t, int32_t, int32_t, const char*, int32_t);
};
const Renderer renderers[] = {
    {false, [](int32_t size) { zuDraw::BeginText(1, size, 0, 0, 0, 0); }, zuDraw::EndText, zuDraw::PrepareRichText},
    {true, [](int32_t size) { zuDraw::BeginBufferText(1, size); }, zuDraw::EndBufferText, zuDraw::PrepareSmoothText},
};

class RichText : public FreshScreen {
protected:
    // Prepares a text at (10, 20) in white with a blue shadow and returns every box.
    static std::vector<Rect> layOut(const Renderer& r, const char* text, int32_t right, int32_t bottom = 480,
                                    int32_t flags = 0, int32_t size = 16, int32_t x = 10, int32_t y = 20) {
        r.begin(size);
        zuDraw::SetTextColors(RGB(255, 255, 220), RGB(0, 0, 255), 1);
        r.prepare(x, y, right, bottom, text, flags);
        r.end();
        return {textBoxes.boxes, textBoxes.boxes + textBoxes.count};
    }
    static platform::Surface& object(int32_t n) { return *zuDraw::objectTable[n].surface; }
    static uint32_t rawAt(platform::Surface& s, int32_t x, int32_t y) {
        const uint8_t* p = s.memory.data() + size_t(y) * s.pitch + size_t(x) * platform::bytesPerPixel(s.format);
        return s.format == platform::Format::xrgb8888 ? *reinterpret_cast<const uint32_t*>(p) & 0xFFFFFF
                                                      : *reinterpret_cast<const uint16_t*>(p);
    }
};

using RichTextGolden = RichText;

TEST_F(RichText, BothRenderersWrapHangBreakGrowAndStopThroughTheirBoxes) {
    for (const Renderer& r : renderers) {
        SCOPED_TRACE(r.smooth ? "smooth" : "plain");
        std::vector<Rect> empty = layOut(r, "", 600), lines = layOut(r, "AB\nC", 600);  // no box for the line feed
        EXPECT_EQ(std::tuple(empty.size(), edges(empty[0])), std::tuple(1u, std::tuple(10, 20, 10, 20)));
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(std::tuple(lines[2].left, lines[3].left, lines[3].top > lines[1].top),
                  std::tuple(lines[1].right, 10, true));

        int32_t w = layOut(r, "あ", 600)[1].width(), margin = 10 + w + w / 2;
        std::vector<Rect> hanging = layOut(r, "あ。", margin), letter = layOut(r, "あい", margin);
        ASSERT_EQ(std::tuple(hanging.size(), letter.size()), std::tuple(3u, 3u));
        EXPECT_EQ(std::tuple(hanging[2].left, hanging[2].top), std::tuple(hanging[1].right, hanging[1].top));
        EXPECT_EQ(std::tuple(letter[2].left, letter[2].top > letter[1].top), std::tuple(10, true));

        // Growth of width and height per flag: plain pixels, and the smooth renderer's halved doubled pixels.
        const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t> growth[] = {
            {0x100, 1, 1, 1, 1}, {0x200, 1, 0, 0, 0}, {0x400, 0, 1, 0, 0}, {0x70A, 2, 2, 1, 1}};
        Rect plain = layOut(r, "A", 600)[1];
        for (const auto& [flags, w0, h0, w1, h1] : growth) {
            Rect box = layOut(r, "A", 600, 480, flags)[1];
            EXPECT_EQ(std::tuple(box.width() - plain.width(), box.height() - plain.height()),
                      r.smooth ? std::tuple(w1, h1) : std::tuple(w0, h0)) << flags;
        }
        EXPECT_EQ(layOut(r, "A\nB", 600, 480, 10)[2].top - lines[3].top, r.smooth ? 5 : 10);  // extra spacing

        std::vector<Rect> all = layOut(r, paragraph, 200), cut = layOut(r, paragraph, 200, 60);
        Rect drawn = all[0];
        for (const Rect& b : all)
            drawn = {std::min(drawn.left, b.left), std::min(drawn.top, b.top), std::max(drawn.right, b.right),
                     std::max(drawn.bottom, b.bottom)};
        EXPECT_EQ(edges(drawn), std::tuple(10, 20, all[0].right, all[0].bottom));  // entry 0 holds every box
        EXPECT_TRUE(all.size() > 40u && cut.size() < all.size() && cut[0].bottom <= 60) << cut.size() << all.size();
    }
    // 21 1/3 doubled characters fill the font buffer: the 22nd goes whole into the line's next part.
    std::vector<Rect> boxes = layOut(renderers[1], "ああああああああああああああああああああああああああああああ", 630, 480, 0, 15);
    zuDraw::RevealText(0.0f);
    testsupport::Picture back = testsupport::pictureOf(*zuDraw::screenState.back);
    for (size_t i = 2; i < boxes.size(); ++i)
        EXPECT_EQ(testsupport::crop(back, boxes[i]).xrgb, testsupport::crop(back, boxes[1]).xrgb) << i;
}

// Screen formats differ in their shifts: 5-6-5, 5-5-5 and bytes. White reads back as 255 on each.
TEST_F(RichText, OnEveryScreenFormatShrink2BlendsCoverageWithTheBackBufferExactlyAndWhiteReadsAs255) {
    // What is drawn (only source column 1 for an edge: output column 1 sees three samples), over
    // what, and the result at 16 and at 32 bits; the font sprite starts at 5.
    const std::tuple<const char*, bool, std::array<int32_t, 6>> cases[] = {
        {"full coverage", false, {31, 0, 31, 255, 0, 255}},
        {"guarded black inside a glyph", false, {2, 0, 6, 16, 0, 49}},
        {"three samples over the background", true, {20, 10, (31 + 60 + 50) >> 3, 200, 100, (255 + 600 + 500) >> 3}},
        {"three samples saturate", true, {31, 31, 31, 255, 255, 255}},
        {"no glyph pixel leaves the sprite", true, {0, 7, 5, 0, 7, 5}}};
    for (auto [depth, rgb555] : {std::tuple(16, false), std::tuple(16, true), std::tuple(32, false)}) {
        platform::headless::useRgb555For16(rgb555);
        zuDraw::Release();
        zuDraw::SetColorDepth(depth, 0, 0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
        zuDraw::WhiteScreen();
        int32_t r = 0, g = 0, b = 0;
        zuDraw::GetPixel(5, 7, &r, &g, &b);
        EXPECT_EQ(std::tuple(r, g, b), std::tuple(255, 255, 255)) << depth << rgb555;
        const zuDraw::PixelFormat& f = zuDraw::pixelFormat;
        auto grey = [&](int32_t v) { return uint32_t(v << f.red5Shift | v << f.green5Shift | v << f.blue5Shift); };
        for (const auto& [what, edge, values] : cases) {
            SCOPED_TRACE(std::to_string(depth) + (rgb555 ? " bits 555: " : " bits: ") + what);
            const int32_t* v = values.data() + (depth == 16 ? 0 : 3);
            platform::fill(object(3), {0, 0, 640, 480}, 0);
            platform::fill(object(3), edge ? Rect{1, 0, 2, 16} : Rect{0, 0, 16, 16}, grey(v[0]));
            platform::fill(*zuDraw::screenState.back, {0, 0, 640, 480}, grey(v[1]));
            platform::fill(object(2), {0, 0, 640, 480}, grey(5));
            EXPECT_EQ(zuDraw::Shrink2(100, 100, 0, 0, 16, 16), 1);
            EXPECT_EQ(rawAt(object(2), edge ? 101 : 103, 103), grey(v[2]));
        }
    }
}

TEST_F(RichText, TheColourGuardLiftsNearBlackTextAndShadowColoursAndKeepsThem) {
    const std::tuple<COLORREF, COLORREF> cases[] = {{RGB(0, 0, 0), RGB(16, 16, 16)}, {RGB(15, 15, 15), RGB(16, 16, 16)},
                                                    {RGB(0, 0, 16), RGB(0, 0, 16)}, {RGB(200, 10, 10), RGB(200, 10, 10)}};
    for (const auto& [given, kept] : cases) {
        zuDraw::WhiteScreen();
        zuDraw::BeginText(1, 16, 0, 0, 0, 0);
        zuDraw::SetTextColors(given, given, 1);
        zuDraw::RichText(10, 10, 600, 400, "■", 0x100);
        zuDraw::EndText();
        EXPECT_EQ(std::tuple(zuDraw::textState.textColor, zuDraw::textState.backColor), std::tuple(kept, kept));
        const Rect& box = textBoxes.boxes[1];  // the guarded colour is not see-through: it is shown
        EXPECT_EQ(rawAt(*zuDraw::screenState.back, (box.left + box.right) / 2, (box.top + box.bottom) / 2),
                  platform::pixelFromColor(zuDraw::screenState.back->format, kept));
    }
}

TEST_F(RichText, RevealShowsOneMoreCharacterEachIntervalThenTheWholeBoxOnTheVirtualClock) {
    const uint32_t blue = platform::pixelFromColor(zuDraw::screenState.back->format, RGB(0, 0, 200));
    const int32_t n = 5;
    auto shown = [&] {  // characters with any pixel on the back buffer
        testsupport::Picture back = testsupport::pictureOf(*zuDraw::screenState.back);
        return std::count_if(textBoxes.boxes + 1, textBoxes.boxes + n + 1, [&](const Rect& b) {
            return std::ranges::any_of(testsupport::crop(back, b).xrgb, [&](uint32_t p) { return p != back.at(639, 479); });
        });
    };
    for (const Renderer& r : renderers) {
        zuDraw::FillRect(0, 0, 640, 480, int32_t(blue));
        ASSERT_EQ(layOut(r, "あいうえお", 600, 480, 0x100).size(), size_t(n + 1));
        EXPECT_EQ(shown(), 0) << r.smooth;  // preparing puts nothing on the back buffer
        platform::headless::setClock(5000);
        zuSystem::ResetClock();
        for (int32_t call = 1; call <= n + 3; ++call) {
            platform::headless::setClock(5000 + 100 * call);
            zuSystem::UpdateClock();
            EXPECT_EQ(zuDraw::RevealText(0.1f), call == n + 3 ? 1 : 0) << call;
            EXPECT_EQ(shown(), std::clamp(call - 2, 0, n)) << call;
        }
        zuDraw::FillRect(0, 0, 640, 480, int32_t(blue));
        EXPECT_EQ(zuDraw::RevealText(0.0f), 1);  // an interval of 0 shows the whole text at once
        EXPECT_EQ(shown(), n);
    }
}

TEST_F(RichText, UnsafeInputsStayInsideTheBoxesTheStringAndTheSurfacesAndLeaveNothingBehind) {
    auto live = [] { auto c = platform::gdiCounts(); return std::tuple(c.contexts, c.fonts, c.pens, c.brushes); };
    const auto before = live();
    const auto loneLead = std::make_unique<char[]>(3);  // "A", a lead byte, the NUL: nothing after it
    std::memcpy(loneLead.get(), "A\x82", 3);
    for (const Renderer& r : renderers) {
        SCOPED_TRACE(r.smooth ? "smooth" : "plain");
        EXPECT_EQ(layOut(r, std::string(4000, 'A').c_str(), INT_MAX, INT_MAX).size(), size_t(zuDraw::textBoxCount));
        EXPECT_EQ(layOut(r, loneLead.get(), 600).size(), 2u);  // the lone byte is dropped
        EXPECT_EQ(layOut(r, "ABC", 5, INT_MAX, 0, 0).size(), 1u);  // line height 0, no room: ends at once
        EXPECT_EQ(layOut(r, nullptr, 600).size(), 1u);
        layOut(r, "あい", 640, 480, 0x7FF, 400, -30, -30);  // 800 pixels tall when doubled: over the font buffer
    }
    EXPECT_EQ(zuDraw::Shrink2(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 1);
    EXPECT_EQ(zuDraw::Shrink2(-7, 300, -100, -100, 2000, 2000), 1);
    platform::headless::loseSurface(&object(2));  // the font sprite cannot be locked: the buffer is given back
    EXPECT_EQ(zuDraw::Shrink2(0, 0, 0, 0, 64, 64), 0);
    EXPECT_EQ(object(3).lockCount, 0);
    platform::restore(object(2));
    EXPECT_EQ(live(), before);  // every context, font, pen and brush freed
}

// Prepared, then shown at once: the same pixels as a render that shows its own box.
TEST_F(RichTextGolden, PlainAndSmoothParagraphsWithEachFlagOverAColouredBackground) {
    zuDraw::FillRect(0, 0, 640, 240, int32_t(platform::pixelFromColor(zuDraw::screenState.back->format, RGB(40, 90, 140))));
    zuDraw::FillRect(0, 240, 640, 480, int32_t(platform::pixelFromColor(zuDraw::screenState.back->format, RGB(230, 200, 120))));
    const int32_t flags[] = {0, 0x100, 0x200, 0x400, 0x704};
    for (int32_t i = 0; i < 5; ++i)
        for (const Renderer& r : renderers) {
            int32_t left = r.smooth ? 328 : 8, top = 6 + i * 94;
            layOut(r, paragraph, left + 300, top + 90, flags[i], 14, left, top);
            zuDraw::RevealText(0.0f);
        }
    EXPECT_TRUE(testsupport::matchesGolden("rich_text_flags", testsupport::pictureOf(*zuDraw::screenState.back)));
}

}  // namespace
