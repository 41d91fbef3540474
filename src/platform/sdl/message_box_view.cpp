// The self-drawn message box: layout in points times the scale, painted with the platform's own
// text and shapes, so the gothic face draws every Japanese character.
#include "platform/sdl/message_box_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/sjis.h"
#include "platform/text/draw_context.h"
#include "platform/text/fonts.h"
#include "platform/win32.h"

namespace platform {
namespace {

// Points, multiplied by the scale.
constexpr int32_t textHeight = 16, captionHeight = 28, padding = 16, iconSize = 32, iconGap = 12,
                  maxTextWidth = 480, minBoxWidth = 240, buttonWidth = 96, buttonHeight = 28, buttonGap = 8,
                  stripPadding = 10;

constexpr COLORREF borderColour = RGB(60, 60, 60), captionColour = RGB(43, 74, 122),
                   captionTextColour = RGB(255, 255, 255), bodyColour = RGB(240, 240, 240),
                   stripColour = RGB(226, 226, 226), textColour = RGB(0, 0, 0), buttonFace = RGB(253, 253, 253),
                   buttonEdge = RGB(160, 160, 160), focusEdge = RGB(0, 120, 215);

// The texts came from Shift-JIS, so every character converts back.
std::string sjisOf(std::string_view utf8) {
    std::string out;
    utf8ToSjis(utf8, out);
    return out;
}

void fillRect(Surface& s, Rect r, COLORREF c) { fill(s, r, pixelFromColor(s.format, c)); }

void frameRect(Surface& s, Rect r, int32_t width, COLORREF c) {
    fillRect(s, {r.left, r.top, r.right, r.top + width}, c);
    fillRect(s, {r.left, r.bottom - width, r.right, r.bottom}, c);
    fillRect(s, {r.left, r.top, r.left + width, r.bottom}, c);
    fillRect(s, {r.right - width, r.top, r.right, r.bottom}, c);
}

// The gothic face at a pixel height, regular.
Font* gothic(int32_t pixels) {
    LogFont lf;
    lf.lfHeight = -pixels;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(lf.lfFaceName, gothicFaceSjis, sizeof gothicFaceSjis);
    return createFont(lf);
}

// One drawing context and font on a surface for as long as it lives.
class Painter {
public:
    Painter(Surface& s, int32_t fontPixels) : dc(getDC(s)), font(gothic(fontPixels)) {
        if (dc) {
            selectFont(dc, font);
            setBkMode(dc, TRANSPARENT);
        }
    }
    ~Painter() {
        if (dc) {
            selectFont(dc, nullptr);
            releaseDC(dc);
        }
        deleteFont(font);
    }
    Size measure(const std::string& sjis, int32_t maxWidth, uint32_t flags) {
        Rect r{0, 0, maxWidth, 0};
        drawText(dc, sjis.c_str(), int32_t(sjis.size()), r, flags | DT_CALCRECT | DT_NOPREFIX);
        return {r.width(), r.height()};
    }
    void text(const std::string& sjis, Rect r, COLORREF c, uint32_t flags) {
        setTextColor(dc, c);
        drawText(dc, sjis.c_str(), int32_t(sjis.size()), r, flags | DT_NOPREFIX);
    }
    void shape(const std::vector<Point>& points, COLORREF inside, COLORREF edge) {
        Brush* brush = createSolidBrush(inside);
        Pen* pen = createPen(PS_SOLID, 1, edge);
        Brush* oldBrush = selectBrush(dc, brush);
        Pen* oldPen = selectPen(dc, pen);
        polygon(dc, points.data(), int32_t(points.size()));
        selectBrush(dc, oldBrush);
        selectPen(dc, oldPen);
        deleteBrush(brush);
        deletePen(pen);
    }
    DrawContext* const dc;

private:
    Font* const font;
};

// A warning triangle, an error, information or question disc, with its mark.
void paintIcon(Painter& pen, uint32_t icon, Rect a) {
    int32_t s = a.width(), cx = a.left + s / 2, cy = a.top + s / 2;
    const char* mark = icon == MB_ICONWARNING ? "!" : icon == MB_ICONHAND ? "x" : icon == MB_ICONQUESTION ? "?" : "i";
    if (icon == MB_ICONWARNING) {
        pen.shape({{cx, a.top + 1}, {a.right - 1, a.bottom - 2}, {a.left, a.bottom - 2}}, RGB(255, 200, 61),
                  RGB(120, 90, 0));
        pen.text(mark, {a.left, a.top + s / 5, a.right, a.bottom}, RGB(0, 0, 0), DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        return;
    }
    std::vector<Point> disc;
    for (int i = 0; i < 32; ++i) {
        double angle = i * 2 * 3.14159265358979 / 32;
        disc.push_back({cx + int32_t(std::lround(std::cos(angle) * (s / 2 - 1))),
                        cy + int32_t(std::lround(std::sin(angle) * (s / 2 - 1)))});
    }
    COLORREF colour = icon == MB_ICONHAND ? RGB(200, 40, 40) : RGB(30, 100, 200);
    pen.shape(disc, colour, colour);
    pen.text(mark, a, RGB(255, 255, 255), DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace

MessageBoxView::MessageBoxView(std::string_view textUtf8, std::string_view captionUtf8, uint32_t type,
                               int32_t scale, int32_t maxWidth)
    : textSjis_(sjisOf(textUtf8)), captionSjis_(sjisOf(captionUtf8)), icon_(type & 0xF0), scale_(std::max(1, scale)) {
    switch (type & 0xF) {
    case MB_YESNO:
        buttons_ = {{IDYES, sjisOf("はい(Y)"), {}}, {IDNO, sjisOf("いいえ(N)"), {}}};
        cancel_ = 1;
        break;
    case MB_OKCANCEL:
        buttons_ = {{IDOK, "OK", {}}, {IDCANCEL, sjisOf("キャンセル"), {}}};
        cancel_ = 1;
        break;
    default: buttons_ = {{IDOK, "OK", {}}}; break;
    }
    if (icon_ > MB_ICONINFORMATION) icon_ = 0;

    // Measure on a scratch surface, then lay out: caption bar, icon and text, button strip.
    const int32_t s = scale_;
    Surface scratch;
    scratch.width = scratch.height = 1, scratch.pitch = 4, scratch.format = Format::xrgb8888;
    scratch.memory.resize(4);
    Size text, caption;
    {
        Painter pen(scratch, textHeight * s);
        if (!pen.dc) return;
        int32_t chrome = 2 * padding + (icon_ ? iconSize + iconGap : 0);
        int32_t wrapAt = std::max(textHeight, std::min(maxTextWidth * s, maxWidth - chrome * s - 2));
        text = pen.measure(textSjis_, wrapAt, DT_WORDBREAK);
        caption = pen.measure(captionSjis_, 1 << 20, DT_SINGLELINE);
    }
    int32_t n = int32_t(buttons_.size());
    int32_t bodyWidth = (2 * padding + (icon_ ? iconSize + iconGap : 0)) * s + text.cx;
    int32_t stripWidth = (n * buttonWidth + (n - 1) * buttonGap + 2 * padding) * s;
    int32_t width = std::max({minBoxWidth * s, bodyWidth, stripWidth, caption.cx + 2 * padding * s}) + 2;
    int32_t bodyHeight = std::max(text.cy, icon_ ? iconSize * s : 0) + 2 * padding * s;
    int32_t top = 1 + captionHeight * s, stripTop = top + bodyHeight;
    int32_t height = stripTop + (buttonHeight + 2 * stripPadding) * s + 1;

    captionBar_ = {1, 1, width - 1, top};
    buttonStrip_ = {1, stripTop, width - 1, height - 1};
    int32_t x = 1 + padding * s, bodyMiddle = top + bodyHeight / 2;
    if (icon_) {
        iconArea_ = {x, bodyMiddle - iconSize * s / 2, x + iconSize * s, bodyMiddle + iconSize * s / 2};
        x += (iconSize + iconGap) * s;
    }
    textArea_ = {x, bodyMiddle - text.cy / 2, x + text.cx, bodyMiddle - text.cy / 2 + text.cy};
    int32_t right = width - 1 - padding * s, buttonTop = stripTop + stripPadding * s;
    for (int32_t i = n - 1; i >= 0; --i) {
        buttons_[size_t(i)].area = {right - buttonWidth * s, buttonTop, right, buttonTop + buttonHeight * s};
        right -= (buttonWidth + buttonGap) * s;
    }

    picture_.width = width, picture_.height = height, picture_.pitch = width * 4;
    picture_.format = Format::xrgb8888;
    picture_.memory.assign(size_t(picture_.pitch) * size_t(height), 0);
    paint();
}

void MessageBoxView::paint() {
    const int32_t s = scale_;
    Rect whole{0, 0, picture_.width, picture_.height};
    frameRect(picture_, whole, 1, borderColour);
    fillRect(picture_, captionBar_, captionColour);
    fillRect(picture_, {1, captionBar_.bottom, whole.right - 1, buttonStrip_.top}, bodyColour);
    fillRect(picture_, buttonStrip_, stripColour);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        fillRect(picture_, buttons_[i].area, buttonFace);
        frameRect(picture_, buttons_[i].area, i == focus_ ? 2 * s : s, i == focus_ ? focusEdge : buttonEdge);
    }
    // Copies and fills wait while a drawing context holds the surface: text and shapes last.
    Painter pen(picture_, textHeight * s);
    if (!pen.dc) return;
    Rect captionText{captionBar_.left + padding * s, captionBar_.top, captionBar_.right - padding * s, captionBar_.bottom};
    pen.text(captionSjis_, captionText, captionTextColour, DT_SINGLELINE | DT_VCENTER);
    if (icon_) paintIcon(pen, icon_, iconArea_);
    pen.text(textSjis_, textArea_, textColour, DT_WORDBREAK);
    for (const Button& b : buttons_) pen.text(b.labelSjis, b.area, textColour, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    drawn_ = true;
}

int32_t MessageBoxView::key(int32_t virtualKey) {
    if (buttons_.empty()) return 0;
    size_t n = buttons_.size();
    switch (virtualKey) {
    case VK_RETURN: case VK_SPACE: return buttons_[focus_].answer;
    case VK_ESCAPE: return buttons_[cancel_].answer;
    case VK_TAB: case VK_RIGHT: focus_ = (focus_ + 1) % n; break;
    case VK_LEFT: focus_ = (focus_ + n - 1) % n; break;
    case 'Y': case 'N': {
        int32_t wanted = virtualKey == 'Y' ? IDYES : IDNO;
        for (const Button& b : buttons_)
            if (b.answer == wanted) return wanted;
        return 0;
    }
    default: return 0;
    }
    if (drawn_) paint();
    return 0;
}

int32_t MessageBoxView::buttonAt(Point p) const {
    for (const Button& b : buttons_)
        if (p.x >= b.area.left && p.x < b.area.right && p.y >= b.area.top && p.y < b.area.bottom) return b.answer;
    return 0;
}

Rect MessageBoxView::buttonArea(int32_t answer) const {
    for (const Button& b : buttons_)
        if (b.answer == answer) return b.area;
    return {};
}

}  // namespace platform
