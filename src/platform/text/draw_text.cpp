// Text on a drawing context: Shift-JIS decoded character by character, runs of glyphs with their
// cells, extents, and boxes wrapped at spaces and between double-byte characters.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text/draw_context_internal.h"
#include "platform/sjis.h"

namespace platform {
namespace {

struct TextChar {
    char32_t code = 0;
    bool wide = false;  // written with two bytes
    uint8_t byte = 0;   // the byte of a one-byte character
};

char32_t firstCodepoint(const std::string& utf8) {
    if (utf8.empty()) return 0xFFFD;
    auto b = [&](size_t i) { return i < utf8.size() ? char32_t(uint8_t(utf8[i]) & 0x3F) : 0; };
    uint8_t lead = uint8_t(utf8[0]);
    if (lead < 0x80) return lead;
    if (lead < 0xE0) return char32_t(lead & 0x1F) << 6 | b(1);
    if (lead < 0xF0) return char32_t(lead & 0x0F) << 12 | b(1) << 6 | b(2);
    return char32_t(lead & 0x07) << 18 | b(1) << 12 | b(2) << 6 | b(3);
}

// Code page 932 through the host's tables, each character converted once.
char32_t codepointOf(const char* bytes, size_t n) {
    static std::unordered_map<uint32_t, char32_t> known;
    uint32_t key = n == 2 ? uint32_t(uint8_t(bytes[0])) << 8 | uint8_t(bytes[1]) : uint8_t(bytes[0]);
    if (auto hit = known.find(key); hit != known.end()) return hit->second;
    char32_t code = firstCodepoint(sjisToUtf8(std::string_view(bytes, n)));
    known.emplace(key, code);
    return code;
}

// A lone final lead byte is dropped.
std::vector<TextChar> decode(const char* text, int32_t length) {
    std::vector<TextChar> out;
    if (!text || length <= 0) return out;
    for (int32_t i = 0; i < length;) {
        uint8_t b = uint8_t(text[i]);
        if (isSjisLeadByte(b)) {
            if (i + 1 >= length) break;
            out.push_back({codepointOf(text + i, 2), true, 0});
            i += 2;
        } else {
            out.push_back({b < 0x80 ? char32_t(b) : codepointOf(text + i, 1), false, b});
            i += 1;
        }
    }
    return out;
}

using Run = std::vector<TextChar>;

// Whole pixels along the baseline.
int32_t runWidth(SizedFont& font, const TextChar* chars, size_t n) {
    double x = 0, y = 0;
    for (size_t i = 0; i < n; ++i) {
        const Glyph& g = font.glyph(chars[i].code);
        x += g.advanceX, y += g.advanceY;
    }
    return int32_t(std::lround(std::hypot(x, y) / 64));
}

int32_t cellHeight(SizedFont& font) { return font.metrics().ascent + font.metrics().descent; }

// Maps a point of the unturned cell (x right, y down from its top-left) onto the surface.
struct Frame {
    double originX, originY, c, s;
    PointF at(double x, double y) const { return {originX + x * c + y * s, originY - x * s + y * c}; }
};

void fillCellBox(DrawContext& dc, const Frame& f, double x0, double y0, double x1, double y1, uint32_t raw) {
    PointF box[4] = {f.at(x0, y0), f.at(x1, y0), f.at(x1, y1), f.at(x0, y1)};
    fillPolygon(dc, box, 4, raw);
}

// Full coverage writes the text colour; partial coverage mixes it with what the surface holds
// (the cell's background in opaque mode), each channel rounded to the nearest step.
void drawGlyph(DrawContext& dc, const Glyph& g, int32_t penX, int32_t penY, COLORREF color, uint32_t raw) {
    const Rect& clip = dc.clip;
    Format format = dc.surface->format;
    for (int32_t y = 0; y < g.height; ++y) {
        int32_t sy = penY - g.top + y;
        if (sy < clip.top || sy >= clip.bottom) continue;
        const uint8_t* row = g.ink.data() + size_t(y) * g.width;
        for (int32_t x = 0; x < g.width; ++x) {
            uint32_t a = row[x];
            int32_t sx = penX + g.left + x;
            if (a == 0 || sx < clip.left || sx >= clip.right) continue;
            if (a == 255) {
                plot(dc, sx, sy, raw);
                continue;
            }
            COLORREF under = colorFromPixel(format, readPixel(dc, sx, sy));
            auto mix = [a](uint32_t from, uint32_t to) { return uint8_t((from * (255 - a) + to * a + 127) / 255); };
            COLORREF mixed = RGB(mix(GetRValue(under), GetRValue(color)), mix(GetGValue(under), GetGValue(color)),
                                 mix(GetBValue(under), GetBValue(color)));
            plot(dc, sx, sy, pixelFromColor(format, mixed));
        }
    }
}

void drawRun(DrawContext& dc, int32_t x, int32_t y, const TextChar* chars, size_t n) {
    SizedFont& font = currentFont(dc);
    const FontMetrics& m = font.metrics();
    double angle = m.escapement / 10.0 * std::numbers::pi / 180;
    Frame frame{double(x), double(y), std::cos(angle), std::sin(angle)};
    int32_t width = runWidth(font, chars, n), height = cellHeight(font);
    if (dc.bkMode == OPAQUE) fillCellBox(dc, frame, 0, 0, width, height, rawColor(dc, dc.bkColor));
    uint32_t ink = rawColor(dc, dc.textColor);
    PointF base = frame.at(0, m.ascent);
    double penX = base.x * 64, penY = base.y * 64;
    for (size_t i = 0; i < n; ++i) {
        const Glyph& g = font.glyph(chars[i].code);
        drawGlyph(dc, g, int32_t(std::lround(penX / 64)), int32_t(std::lround(penY / 64)), dc.textColor, ink);
        penX += g.advanceX, penY += g.advanceY;
    }
    const LogFont* lf = dc.font ? &dc.font->record : nullptr;
    if (lf && lf->lfUnderline) {
        double top = m.ascent + m.underlineOffset;
        fillCellBox(dc, frame, 0, top, width, top + m.underlineThickness, ink);
    }
    if (lf && lf->lfStrikeOut) {
        double top = m.ascent - m.ascent / 3.0;
        fillCellBox(dc, frame, 0, std::round(top), width, std::round(top) + m.underlineThickness, ink);
    }
}

// "&x" draws x, "&&" draws "&".
Run withoutPrefixes(const Run& in) {
    Run out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (!in[i].wide && in[i].byte == '&' && i + 1 < in.size()) ++i;
        out.push_back(in[i]);
    }
    return out;
}

std::vector<Run> paragraphs(const Run& text, bool singleLine) {
    std::vector<Run> out(1);
    for (size_t i = 0; i < text.size(); ++i) {
        bool newline = !text[i].wide && (text[i].byte == '\n' || text[i].byte == '\r');
        if (!newline || singleLine) {
            if (!newline) out.back().push_back(text[i]);
            continue;
        }
        if (text[i].byte == '\r' && i + 1 < text.size() && text[i + 1].byte == '\n' && !text[i + 1].wide) ++i;
        out.emplace_back();
    }
    if (out.size() > 1 && out.back().empty()) out.pop_back();
    return out;
}

bool isSpace(const TextChar& c) { return !c.wide && c.byte == ' '; }

// Breaks after spaces (which then vanish from the line's end) and between two characters when
// either is double-byte. A word wider than the box stays whole.
void wrap(SizedFont& font, const Run& text, int32_t maxWidth, std::vector<Run>& lines) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start, lastBreak = start;
        int32_t width = 0;
        for (; end < text.size(); ++end) {
            bool canBreak = end > start && (isSpace(text[end - 1]) || text[end].wide || text[end - 1].wide);
            if (canBreak && !isSpace(text[end])) lastBreak = end;
            width += int32_t(std::lround(std::hypot(font.glyph(text[end].code).advanceX,
                                                    font.glyph(text[end].code).advanceY) / 64));
            if (width > maxWidth && !isSpace(text[end]) && lastBreak > start) break;
        }
        size_t cut = end < text.size() ? lastBreak : end;
        size_t trimmed = cut;
        while (trimmed > start && isSpace(text[trimmed - 1])) --trimmed;
        lines.emplace_back(text.begin() + long(start), text.begin() + long(trimmed));
        start = cut;
        while (start < text.size() && isSpace(text[start])) ++start;
    }
}

}  // namespace

bool textOut(DrawContext* dc, int32_t x, int32_t y, const char* sjis, int32_t length) {
    if (!dc) return false;
    Run text = decode(sjis, length);
    drawRun(*dc, x, y, text.data(), text.size());
    return true;
}

Size textExtent(DrawContext* dc, const char* sjis, int32_t length) {
    if (!dc) return {};
    SizedFont& font = currentFont(*dc);
    Run text = decode(sjis, length);
    return {runWidth(font, text.data(), text.size()), cellHeight(font)};
}

int32_t drawText(DrawContext* dc, const char* sjis, int32_t length, Rect& rect, uint32_t flags) {
    if (!dc || !sjis) return 0;
    if (length < 0) length = int32_t(std::strlen(sjis));
    SizedFont& font = currentFont(*dc);
    Run text = decode(sjis, length);
    if (!(flags & DT_NOPREFIX)) text = withoutPrefixes(text);
    bool singleLine = flags & DT_SINGLELINE;
    std::vector<Run> lines;
    for (const Run& p : paragraphs(text, singleLine)) {
        if ((flags & DT_WORDBREAK) && !singleLine && !p.empty())
            wrap(font, p, rect.width(), lines);
        else
            lines.push_back(p);
    }
    if (text.empty()) lines.clear();
    int32_t lineHeight = cellHeight(font), total = lineHeight * int32_t(lines.size());
    if (flags & DT_CALCRECT) {
        int32_t widest = 0;
        for (const Run& l : lines) widest = std::max(widest, runWidth(font, l.data(), l.size()));
        rect.right = rect.left + widest;
        rect.bottom = rect.top + total;
        return total;
    }
    int32_t y = rect.top;
    if (singleLine && (flags & DT_VCENTER)) y = rect.top + (rect.height() - lineHeight) / 2;
    if (singleLine && (flags & DT_BOTTOM)) y = rect.bottom - lineHeight;
    Rect saved = dc->clip;
    if (!(flags & DT_NOCLIP))
        dc->clip = {std::max(saved.left, rect.left), std::max(saved.top, rect.top), std::min(saved.right, rect.right),
                    std::min(saved.bottom, rect.bottom)};
    for (const Run& l : lines) {
        int32_t w = runWidth(font, l.data(), l.size());
        int32_t x = flags & DT_CENTER ? rect.left + (rect.width() - w) / 2
                    : flags & DT_RIGHT ? rect.right - w
                                       : rect.left;
        if (!dc->clip.empty()) drawRun(*dc, x, y, l.data(), l.size());
        y += lineHeight;
    }
    dc->clip = saved;
    return total;
}

}  // namespace platform
