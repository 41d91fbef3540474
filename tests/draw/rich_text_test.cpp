// The rich text renderers: layout through the boxes for both, Shrink2's blends at 16 and 32
// bits, the colour guard, the reveal on the virtual clock, unsafe inputs, and a golden sheet.
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace platform {
static bool operator==(const Rect& a, const Rect& b) {
    return std::tie(a.left, a.top, a.right, a.bottom) == std::tie(b.left, b.top, b.right, b.bottom);
}
}  // namespace platform

namespace {

using platform::Rect;
using zuDraw::textBoxes;

const char* const paragraph = "日本語の文章を折り返して表示します。句読点、括弧「」と Latin text, 123 が混ざります。";

// The plain renderer at `size` pixels and the smooth one at twice that, halved.
struct Renderer {
    const char* name;
    void (*begin)(int32_t size);
    void (*end)();
    void (*prepare)(int32_t, int32_t, int32_t, int32_t, const char*, int32_t);
    void (*render)(int32_t, int32_t, int32_t, int32_t, const char*, int32_t);
};
const Renderer renderers[] = {
    {"plain", [](int32_t size) { zuDraw::BeginText(1, size, 0, 0, 0, 0); }, zuDraw::EndText,
     zuDraw::PrepareRichText, zuDraw::RichText},
    {"smooth", [](int32_t size) { zuDraw::BeginBufferText(1, size); }, zuDraw::EndBufferText,
     zuDraw::PrepareSmoothText, zuDraw::SmoothText},
};

class RichText : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        zuDraw::SetVBlankWait(0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
    // Prepares a text at (10, 20) in white with a blue shadow and returns every box.
    static std::vector<Rect> layOut(const Renderer& r, const char* text, int32_t right, int32_t bottom = 480,
                                    int32_t flags = 0) {
        r.begin(16);
        zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 255), 1);
        r.prepare(10, 20, right, bottom, text, flags);
        r.end();
        return {textBoxes.boxes, textBoxes.boxes + textBoxes.count};
    }
    static platform::Surface& object(int32_t n) { return *zuDraw::objectTable[n].surface; }
    static uint32_t rawAt(platform::Surface& s, int32_t x, int32_t y) {
        platform::LockedRect r;
        EXPECT_EQ(platform::lock(s, r), platform::Status::ok);
        const uint8_t* p = r.bits + size_t(y) * r.pitch + size_t(x) * platform::bytesPerPixel(s.format);
        uint32_t raw = platform::bytesPerPixel(s.format) == 4 ? *reinterpret_cast<const uint32_t*>(p) & 0xFFFFFF
                                                               : *reinterpret_cast<const uint16_t*>(p);
        platform::unlock(s);
        return raw;
    }
};

using RichTextGolden = RichText;

TEST_F(RichText, BothRenderersWrapHangBreakGrowAndStopThroughTheirBoxes) {
    for (const Renderer& r : renderers) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(layOut(r, "", 600), (std::vector<Rect>{{10, 20, 10, 20}}));
        std::vector<Rect> lines = layOut(r, "AB\nC", 600);  // the line feed has no box
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(std::tuple(lines[2].left, lines[3].left, lines[3].top > lines[1].top),
                  std::tuple(lines[1].right, 10, true));

        int32_t w = layOut(r, "あ", 600)[1].width(), margin = 10 + w + w / 2;
        std::vector<Rect> hanging = layOut(r, "あ。", margin), letter = layOut(r, "あい", margin);
        ASSERT_EQ(std::tuple(hanging.size(), letter.size()), std::tuple(3u, 3u));
        EXPECT_EQ(std::tuple(hanging[2].left, hanging[2].top), std::tuple(hanging[1].right, hanging[1].top));
        EXPECT_EQ(std::tuple(letter[2].left, letter[2].top > letter[1].top), std::tuple(10, true));

        // Growth of a box per flag: the plain renderer's pixels, the smooth one's halved doubled pixels.
        const std::tuple<int32_t, Rect, Rect> growth[] = {
            {0x100, {0, 0, 1, 1}, {0, 0, 1, 1}}, {0x200, {0, 0, 1, 0}, {0, 0, 0, 0}},
            {0x400, {0, 0, 0, 1}, {0, 0, 0, 0}}, {0x70A, {0, 0, 2, 2}, {0, 0, 1, 1}},
        };
        Rect plainBox = layOut(r, "A", 600)[1];
        for (const auto& [flags, plainGrowth, smoothGrowth] : growth) {
            const Rect& g = r.render == zuDraw::RichText ? plainGrowth : smoothGrowth;
            Rect box = layOut(r, "A", 600, 480, flags)[1];
            EXPECT_EQ(std::tuple(box.width() - plainBox.width(), box.height() - plainBox.height()),
                      std::tuple(g.right, g.bottom)) << flags;
        }
        int32_t spaced = layOut(r, "A\nB", 600, 480, 10)[2].top - lines[3].top;  // doubled pixels when smooth
        EXPECT_EQ(spaced, r.render == zuDraw::RichText ? 10 : 5);

        std::vector<Rect> all = layOut(r, paragraph, 200), cut = layOut(r, paragraph, 200, 60);
        Rect drawn = all[0];
        for (size_t i = 1; i < all.size(); ++i)
            drawn = {std::min(drawn.left, all[i].left), std::min(drawn.top, all[i].top),
                     std::max(drawn.right, all[i].right), std::max(drawn.bottom, all[i].bottom)};
        EXPECT_EQ(std::tuple(drawn.left, drawn.top, drawn.right), std::tuple(10, 20, all[0].right));
        EXPECT_GE(all[0].bottom, drawn.bottom);
        EXPECT_GT(all.size(), 40u);
        EXPECT_LT(cut.size(), all.size());
        EXPECT_LE(cut[0].bottom, 60);
    }
}

TEST_F(RichText, Shrink2BlendsCoverageWithTheBackBufferExactlyAt16And32Bits) {
    struct Case {
        const char* what;
        bool edge;  // only source column 1 set: output column 1 sees three samples
        int32_t glyph16, under16, expected16, glyph32, under32, expected32;
    };
    const Case cases[] = {
        {"full coverage", false, 31, 0, 31, 255, 0, 255},
        {"guarded black inside a glyph", false, 2, 0, 6, 16, 0, 49},
        {"three samples over the background", true, 20, 10, (31 + 60 + 50) >> 3, 200, 100, (255 + 600 + 500) >> 3},
        {"three samples saturate", true, 31, 31, 31, 255, 255, 255},
        {"no glyph pixel leaves the sprite", true, 0, 7, 5, 0, 7, 5},
    };
    for (int32_t depth : {16, 32}) {
        zuDraw::Release();
        zuDraw::SetColorDepth(depth, 0, 0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
        const zuDraw::PixelFormat& f = zuDraw::pixelFormat;
        auto grey = [&](int32_t v) {
            return depth == 16 ? uint32_t(v << f.red5Shift | v << f.green5Shift | v << f.blue5Shift)
                               : uint32_t(v << 16 | v << 8 | v);
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(depth) + " bits: " + c.what);
            int32_t glyph = depth == 16 ? c.glyph16 : c.glyph32, under = depth == 16 ? c.under16 : c.under32;
            platform::fill(object(3), {0, 0, 640, 480}, 0);
            platform::fill(object(3), c.edge ? Rect{1, 0, 2, 16} : Rect{0, 0, 16, 16}, grey(glyph));
            platform::fill(*zuDraw::screenState.back, {0, 0, 640, 480}, grey(under));
            platform::fill(object(2), {0, 0, 640, 480}, grey(5));
            EXPECT_EQ(zuDraw::Shrink2(100, 100, 0, 0, 16, 16), 1);
            EXPECT_EQ(rawAt(object(2), c.edge ? 101 : 103, 103), grey(depth == 16 ? c.expected16 : c.expected32));
        }
    }
}

TEST_F(RichText, TheColourGuardLiftsNearBlackTextAndShadowColoursAndKeepsThem) {
    const std::tuple<COLORREF, COLORREF> cases[] = {
        {RGB(0, 0, 0), RGB(16, 16, 16)}, {RGB(15, 15, 15), RGB(16, 16, 16)},
        {RGB(0, 0, 16), RGB(0, 0, 16)}, {RGB(200, 10, 10), RGB(200, 10, 10)},
    };
    for (const auto& [given, kept] : cases) {
        zuDraw::BeginText(1, 16, 0, 0, 0, 0);
        zuDraw::SetTextColors(given, given, 1);
        zuDraw::RichText(10, 10, 600, 400, "あ", 0x100);
        zuDraw::EndText();
        EXPECT_EQ(std::tuple(zuDraw::textState.textColor, zuDraw::textState.backColor), std::tuple(kept, kept));
    }
    // Black text is not see-through in the font sprite: it lands on the back buffer.
    zuDraw::WhiteScreen();
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(0, 0, 0), RGB(0, 0, 0), 1);
    zuDraw::RichText(10, 10, 600, 400, "■", 0);
    zuDraw::EndText();
    const Rect& box = textBoxes.boxes[1];
    EXPECT_EQ(rawAt(*zuDraw::screenState.back, (box.left + box.right) / 2, (box.top + box.bottom) / 2),
              platform::pixelFromColor(zuDraw::screenState.back->format, RGB(16, 16, 16)));
}

TEST_F(RichText, RevealShowsOneMoreCharacterEachIntervalThenTheWholeBoxOnTheVirtualClock) {
    const uint32_t blue = platform::pixelFromColor(zuDraw::screenState.back->format, RGB(0, 0, 200));
    const int32_t n = 5;
    auto shown = [&] {  // characters with any pixel on the back buffer
        int32_t count = 0;
        for (int32_t i = 1; i <= n; ++i) {
            const Rect& b = textBoxes.boxes[i];
            bool inked = false;
            for (int32_t y = b.top; y < b.bottom; ++y)
                for (int32_t x = b.left; x < b.right; ++x) inked |= rawAt(*zuDraw::screenState.back, x, y) != blue;
            count += inked;
        }
        return count;
    };
    for (const Renderer& r : renderers) {
        SCOPED_TRACE(r.name);
        zuDraw::FillRect(0, 0, 640, 480, int32_t(blue));
        r.begin(16);
        zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
        r.prepare(10, 10, 600, 400, "あいうえお", 0x100);
        r.end();
        ASSERT_EQ(textBoxes.count, n + 1);
        EXPECT_EQ(shown(), 0);  // preparing puts nothing on the back buffer
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
    const platform::GdiCounts before = platform::gdiCounts();
    const auto loneLead = std::make_unique<char[]>(3);  // "A", a lead byte, the NUL: nothing after it
    std::memcpy(loneLead.get(), "A\x82", 3);
    for (const Renderer& r : renderers) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(layOut(r, std::string(4000, 'A').c_str(), INT_MAX, INT_MAX).size(), size_t(zuDraw::textBoxCount));
        EXPECT_EQ(layOut(r, loneLead.get(), 600).size(), 2u);  // the lone byte is dropped
        EXPECT_EQ(layOut(r, "ABC", 5, INT_MAX).size(), 1u);    // fits on no line: ends at once
        EXPECT_EQ(layOut(r, "A\n\n\nB", 600, INT_MAX, 0x700).size(), 3u);
        EXPECT_EQ(layOut(r, nullptr, 600).size(), 1u);
        r.begin(400);  // 800 pixels tall when doubled: more than the font buffer
        r.render(-30, -30, 640, 480, "あい", 0x7FF);
        r.end();
    }
    EXPECT_EQ(zuDraw::Shrink2(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 1);
    EXPECT_EQ(zuDraw::Shrink2(-7, 300, -100, -100, 2000, 2000), 1);
    platform::headless::loseSurface(&object(2));  // the font sprite cannot be locked: the buffer is given back
    EXPECT_EQ(zuDraw::Shrink2(0, 0, 0, 0, 64, 64), 0);
    EXPECT_EQ(object(3).lockCount, 0);
    platform::restore(object(2));
    platform::headless::failNextLocks(1);
    EXPECT_EQ(zuDraw::Shrink2(0, 0, 0, 0, 64, 64), 0);
    const platform::GdiCounts after = platform::gdiCounts();
    EXPECT_EQ(std::tie(after.contexts, after.fonts, after.pens, after.brushes),
              std::tie(before.contexts, before.fonts, before.pens, before.brushes));
}

TEST_F(RichTextGolden, PlainAndSmoothParagraphsWithEachFlagOverAColouredBackground) {
    zuDraw::FillRect(0, 0, 640, 480, int32_t(platform::pixelFromColor(zuDraw::screenState.back->format, RGB(40, 90, 140))));
    zuDraw::FillRect(0, 240, 640, 480, int32_t(platform::pixelFromColor(zuDraw::screenState.back->format, RGB(230, 200, 120))));
    const int32_t flags[] = {0, 0x100, 0x200, 0x400, 0x704};
    for (int32_t i = 0; i < 5; ++i) {
        int32_t top = 6 + i * 94;
        for (const Renderer& r : renderers) {
            int32_t left = r.render == zuDraw::RichText ? 8 : 328;
            r.begin(14);
            zuDraw::SetTextColors(RGB(255, 255, 220), RGB(0, 0, 0), 1);
            r.render(left, top, left + 300, top + 90, paragraph, flags[i]);
            r.end();
        }
    }
    EXPECT_TRUE(testsupport::matchesGolden("rich_text_flags", testsupport::pictureOf(*zuDraw::screenState.back)));
}

}  // namespace
