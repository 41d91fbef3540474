// Sized fonts on FreeType: the LOGFONT height rule, grey-level glyphs with light hinting,
// synthesised bold and italic, the escapement, the gothic face for missing characters, and the
// caches.
#include "platform/text/glyph_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <numbers>
#include <map>
#include <string>
#include <tuple>

#include "platform/text/fonts.h"

namespace platform {
namespace {

constexpr int32_t maxPixelHeight = 1024;
constexpr int32_t defaultCellHeight = 16;
constexpr size_t keptFonts = 32;
// Light hinting snaps only vertically (through the auto-hinter for these faces): it keeps the
// shapes where full hinting of the Japanese faces' Latin letters distorts them at small sizes.
constexpr FT_Int32 glyphLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;
// Synthesised bold thickens stems by this fraction of the em (at least a quarter pixel).
constexpr int32_t boldenPerEm = 16;

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return lib;
}

// Faces stay open for the life of the process; each sized font has its own FT_Size on them.
FT_Face openFace(const FaceFile& file) {
    static std::map<std::pair<std::string, int32_t>, FT_Face> faces;
    if (file.path.empty() || !library()) return nullptr;
    auto key = std::make_pair(file.path, file.index);
    if (auto hit = faces.find(key); hit != faces.end()) return hit->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library(), file.path.c_str(), file.index, &face) != 0 || !FT_IS_SCALABLE(face)) {
        if (face) FT_Done_Face(face);
        face = nullptr;
    }
    faces.emplace(key, face);
    return face;
}

// The face's cell in font units: the OS/2 table's usWinAscent and usWinDescent where the file
// has them.
void cellUnits(FT_Face face, int32_t& ascent, int32_t& descent) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent, descent = os2->usWinDescent;
    } else {
        ascent = face->ascender, descent = -face->descender;
    }
    if (ascent + descent <= 0) ascent = face->units_per_EM, descent = 0;
}

struct SizeRequest {
    int32_t ppem = 12, xppem = 0;  // pixels per em, upright and across (0: same)
    int32_t cellHeight = 16, ascent = 12;
};

// Positive heights are cell heights, negative ones character (em) heights.
SizeRequest sizeFor(FT_Face face, const LogFont& lf) {
    int64_t height = lf.lfHeight == 0 ? defaultCellHeight : lf.lfHeight;
    height = std::clamp<int64_t>(height, -maxPixelHeight, maxPixelHeight);
    int32_t asc = 0, desc = 0;
    cellUnits(face, asc, desc);
    double upem = face->units_per_EM, cellUnits = asc + desc;
    SizeRequest r;
    double ppem = height > 0 ? double(height) * upem / cellUnits : double(-height);
    r.ppem = std::max(1, int32_t(std::lround(ppem)));
    r.cellHeight = height > 0 ? int32_t(height) : int32_t(std::lround(cellUnits * r.ppem / upem));
    r.ascent = int32_t(std::lround(asc * r.ppem / upem));
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (lf.lfWidth > 0 && os2 && os2->xAvgCharWidth > 0) {
        double natural = os2->xAvgCharWidth * double(r.ppem) / upem;
        r.xppem = std::clamp(int32_t(std::lround(r.ppem * lf.lfWidth / natural)), 1, maxPixelHeight);
    }
    return r;
}

// Shear for italic, then the turn by the escapement (FreeType's y axis points up).
FT_Matrix glyphMatrix(double degrees, bool italic) {
    double c = std::cos(degrees * std::numbers::pi / 180), s = std::sin(degrees * std::numbers::pi / 180);
    double shear = italic ? 0.21 : 0;
    auto fixed = [](double v) { return FT_Fixed(std::lround(v * 65536)); };
    return {fixed(c), fixed(c * shear - s), fixed(s), fixed(s * shear + c)};
}

struct SizedFace {
    FT_Face face = nullptr;
    FT_Size size = nullptr;

    SizedFace() = default;
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    bool open(const FaceFile& file, const SizeRequest& r) {
        face = openFace(file);
        if (!face || FT_New_Size(face, &size) != 0) return false;
        FT_Activate_Size(size);
        return FT_Set_Pixel_Sizes(face, FT_UInt(r.xppem ? r.xppem : r.ppem), FT_UInt(r.ppem)) == 0;
    }
    ~SizedFace() {
        if (size) FT_Done_Size(size);
    }
};

class FreeTypeFont final : public SizedFont {
public:
    FreeTypeFont(const LogFont& lf, const FaceFile& file) {
        synthBold = file.synthBold;
        matrix = glyphMatrix(lf.lfEscapement / 10.0, file.synthItalic);
        transformOutline = lf.lfEscapement % 3600 != 0 || file.synthItalic;
        metrics_.escapement = lf.lfEscapement;
        FT_Face face = openFace(file);
        if (!face) {
            int32_t h = lf.lfHeight == 0 ? defaultCellHeight : std::abs(std::clamp(lf.lfHeight, -maxPixelHeight, maxPixelHeight));
            metrics_.ascent = h - h / 5, metrics_.descent = h / 5;
            return;
        }
        SizeRequest r = sizeFor(face, lf);
        metrics_.ascent = r.ascent;
        metrics_.descent = r.cellHeight - r.ascent;
        double scale = double(r.ppem) / face->units_per_EM;
        metrics_.underlineOffset = std::max(1, int32_t(std::lround(-face->underline_position * scale)));
        metrics_.underlineThickness = std::max(1, int32_t(std::lround(face->underline_thickness * scale)));
        bolden = std::max<FT_Pos>(16, FT_Pos(r.ppem) * 64 / boldenPerEm);
        if (!main.open(file, r)) return;
        const FaceFile& stand = fallbackFace();
        if (stand.path != file.path || stand.index != file.index) {
            fallback.open(stand, r);
        }
    }

    const FontMetrics& metrics() const override { return metrics_; }

    const Glyph& glyph(char32_t codepoint) override {
        auto hit = glyphs.find(codepoint);
        if (hit != glyphs.end()) return hit->second;
        return glyphs.emplace(codepoint, render(codepoint)).first->second;
    }

private:
    Glyph render(char32_t codepoint) {
        SizedFace* from = &main;
        FT_UInt index = main.face ? FT_Get_Char_Index(main.face, codepoint) : 0;
        if (index == 0 && fallback.face) {
            if (FT_UInt other = FT_Get_Char_Index(fallback.face, codepoint)) from = &fallback, index = other;
        }
        Glyph g;
        if (!from->face || !from->size) {
            g.advanceX = (metrics_.ascent + metrics_.descent) * 32;
            return g;
        }
        FT_Activate_Size(from->size);
        if (FT_Load_Glyph(from->face, index, glyphLoadFlags) != 0) return g;
        FT_GlyphSlot slot = from->face->glyph;
        // Synthesised bold: stems grow by `bolden`, horizontal strokes by half of it so small
        // counters stay open; the advance grows by it in whole pixels, keeping the pen on the grid.
        FT_Vector advance{slot->advance.x + (synthBold ? (bolden + 32) & ~63 : 0), 0};
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (synthBold) FT_Outline_EmboldenXY(&slot->outline, bolden, bolden / 2);
            if (transformOutline) FT_Outline_Transform(&slot->outline, &matrix);
        }
        if (metrics_.escapement % 3600 != 0) FT_Vector_Transform(&advance, &matrix);
        g.advanceX = int32_t(advance.x);
        g.advanceY = int32_t(-advance.y);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
        copyCoverage(slot, g);
        return g;
    }

    static void copyCoverage(FT_GlyphSlot slot, Glyph& g) {
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = int32_t(bm.width);
        g.height = int32_t(bm.rows);
        g.ink.resize(size_t(g.width) * g.height);
        for (int32_t y = 0; y < g.height; ++y) {
            const uint8_t* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
            std::copy(row, row + g.width, g.ink.begin() + std::ptrdiff_t(y) * g.width);
        }
    }

    FontMetrics metrics_;
    SizedFace main, fallback;
    FT_Matrix matrix{};
    FT_Pos bolden = 0;  // 26.6 pixels of synthesised stem thickness
    bool synthBold = false, transformOutline = false;
    std::unordered_map<char32_t, Glyph> glyphs;
};

using FontKey = std::tuple<std::string, int32_t, int32_t, int32_t, bool, bool>;

}  // namespace

std::shared_ptr<SizedFont> sizedFont(const LogFont& lf) {
    static std::map<FontKey, std::shared_ptr<SizedFont>> kept;
    char face[sizeof lf.lfFaceName + 1] = {};
    std::copy(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), face);
    FaceFile file = findFace(face, lf.lfWeight >= 600, lf.lfItalic != 0);
    FontKey key{file.path + '#' + std::to_string(file.index), lf.lfHeight, lf.lfWidth,
                lf.lfEscapement % 3600, file.synthBold, file.synthItalic};
    if (auto hit = kept.find(key); hit != kept.end()) return hit->second;
    if (kept.size() >= keptFonts) std::erase_if(kept, [](const auto& e) { return e.second.use_count() == 1; });
    auto font = std::make_shared<FreeTypeFont>(lf, file);
    kept.emplace(key, font);
    return font;
}

}  // namespace platform
