// The rich text renderers against DrawTextBox of the same 400-character paragraph of Japanese
// and Latin text in the same box, and one reveal frame of all its boxes against a full-screen
// keyed copy.
#include <benchmark/benchmark.h>

#include <string>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "platform/sjis.h"
#include "ratio.h"

namespace {

// 400 characters: Japanese sentences with Latin words and digits.
const std::string& paragraph() {
    static const std::string text = [] {
        const std::string sentence = "今日は晴れ。The quick brown fox が 3 回跳びました、そして静かな森へ帰ります。";
        std::string out;
        for (int32_t characters = 0; characters < 400;) {
            for (const char* p = sentence.c_str(); *p && characters < 400; ++characters) {
                size_t n = platform::sjisCharLength(p);
                out.append(p, n);
                p += n;
            }
        }
        return out;
    }();
    return text;
}

constexpr int32_t left = 10, top = 10, right = 630, bottom = 470;

template <class Draw>
void inRun(benchmark::State& state, bool buffer, Draw draw) {
    drawbench::scene();
    if (buffer)
        zuDraw::BeginBufferText(1, 16);
    else
        zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
    zuDraw::EndText();
}

void BM_DrawTextBoxParagraph(benchmark::State& state) {
    inRun(state, false, [] { zuDraw::DrawTextBox(left, top, right, bottom, paragraph().c_str(), 0); });
}
BENCHMARK(BM_DrawTextBoxParagraph);

void BM_RichTextParagraph(benchmark::State& state) {
    inRun(state, false, [] { zuDraw::RichText(left, top, right, bottom, paragraph().c_str(), 0); });
}
BENCHMARK(BM_RichTextParagraph);

void BM_SmoothTextParagraph(benchmark::State& state) {
    inRun(state, true, [] { zuDraw::SmoothText(left, top, right, bottom, paragraph().c_str(), 0); });
}
BENCHMARK(BM_SmoothTextParagraph);

void BM_BlitFullScreen(benchmark::State& state) {
    int32_t background = drawbench::scene().background;
    for (auto _ : state) {
        zuDraw::Blit(0, 0, background, 0, 0, 640, 480);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitFullScreen);

// Every character revealed and copied box by box; the interval never ends the reveal.
void BM_RevealTextAllBoxes(benchmark::State& state) {
    drawbench::scene();
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
    zuDraw::PrepareRichText(left, top, right, bottom, paragraph().c_str(), 0);
    zuDraw::EndText();
    for (auto _ : state) {
        zuDraw::textBoxes.revealed = zuDraw::textBoxes.count;
        benchmark::DoNotOptimize(zuDraw::RevealText(1000.0f));
        benchmark::ClobberMemory();
    }
    state.counters["boxes"] = zuDraw::textBoxes.count - 1;
}
BENCHMARK(BM_RevealTextAllBoxes);

}  // namespace

ZU_RATIO(BM_RichTextParagraph, BM_DrawTextBoxParagraph, 1.0 / 3.0, "rich text within 3x DrawTextBox");
ZU_RATIO(BM_SmoothTextParagraph, BM_DrawTextBoxParagraph, 1.0 / 8.0, "smooth text within 8x DrawTextBox");
ZU_RATIO(BM_RevealTextAllBoxes, BM_BlitFullScreen, 1.0, "reveal of 400 boxes within a full-screen blit");
