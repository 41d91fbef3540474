// Font faces through fontconfig, each lookup made once: the standard Japanese faces, Arial and
// other names by family, and the installed families with their character sets.
#include "platform/text/fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <set>
#include <strings.h>
#include <tuple>

#include "platform/sjis.h"

namespace platform {
namespace {


const std::vector<std::string> gothicFamilies{"IPAGothic", "Noto Sans CJK JP"};
const std::vector<std::string> minchoFamilies{"IPAMincho", "Noto Serif CJK JP"};

FcConfig* config() {
    static FcConfig* c = FcInitLoadConfigAndFonts();
    return c;
}

bool hasFamily(FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
    return false;
}

// The installed font of that family nearest the style, or false when the family is missing
// (unless any family will do).
bool matchFamily(const std::string& family, bool bold, bool italic, FaceFile& out, bool anyFamily = false) {
    if (!config()) return false;
    FcPattern* want = FcPatternCreate();
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(want, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(want, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config(), want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result;
    FcPattern* font = FcFontMatch(config(), want, &result);
    FcPatternDestroy(want);
    bool found = false;
    FcChar8* file = nullptr;
    if (font && (anyFamily || hasFamily(font, family)) && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcBool embolden = FcFalse;
        FcMatrix* slanting = nullptr;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
        // The configuration marks styles it would synthesise: embolden, or a slanting matrix.
        bool slanted = FcPatternGetMatrix(font, FC_MATRIX, 0, &slanting) == FcResultMatch;
        out = {reinterpret_cast<const char*>(file), index, bold && (embolden || weight < FC_WEIGHT_DEMIBOLD),
               italic && (slanted || slant == FC_SLANT_ROMAN)};
        found = true;
    }
    if (font) FcPatternDestroy(font);
    return found;
}

std::vector<std::string> candidatesFor(const char* faceSjis) {
    std::string face = faceSjis ? faceSjis : "";
    if (face.empty() || face == gothicFaceSjis) return gothicFamilies;
    if (face == minchoFaceSjis) return minchoFamilies;
    if (strcasecmp(face.c_str(), "Arial") == 0) return {"Liberation Sans"};
    return {sjisToUtf8(face)};
}

uint8_t charSetOf(FcPattern* font) {
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual)
        return 128;
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch && !FcCharSetHasChar(chars, 'A'))
        return 2;  // no letters: a symbol font
    return 0;
}

std::vector<InstalledFamily> listInstalled() {
    std::map<std::string, uint8_t> families;
    if (!config()) return {};
    FcPattern* all = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, FC_LANG, FC_CHARSET, nullptr);
    FcFontSet* fonts = FcFontList(config(), all, fields);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) != FcResultMatch) continue;
        uint8_t charSet = charSetOf(fonts->fonts[i]);
        auto [at, added] = families.emplace(reinterpret_cast<const char*>(name), charSet);
        if (!added && charSet == 128) at->second = 128;  // one Japanese member makes the family so
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(fields);
    FcPatternDestroy(all);
    std::vector<InstalledFamily> out;
    for (auto& [name, charSet] : families) out.push_back({name, charSet});
    return out;
}

}  // namespace

FaceFile findFace(const char* faceSjis, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, FaceFile> cache;
    auto key = std::make_tuple(std::string(faceSjis ? faceSjis : ""), bold, italic);
    if (auto hit = cache.find(key); hit != cache.end()) return hit->second;
    FaceFile face;
    std::vector<std::string> candidates = candidatesFor(faceSjis);
    candidates.insert(candidates.end(), gothicFamilies.begin(), gothicFamilies.end());
    bool found = std::ranges::any_of(candidates, [&](const std::string& family) {
        return matchFamily(family, bold, italic, face);
    });
    if (!found) matchFamily("sans-serif", bold, italic, face, true);  // no Japanese face installed
    cache.emplace(key, face);
    return face;
}

const FaceFile& fallbackFace() {
    static const FaceFile face = findFace(gothicFaceSjis, false, false);
    return face;
}

const std::vector<InstalledFamily>& installedFamilies() {
    static const std::vector<InstalledFamily> families = listInstalled();
    return families;
}

std::string standardFaceReport() {
    return "gothic " + findFace(gothicFaceSjis, false, false).path + ", mincho " +
           findFace(minchoFaceSjis, false, false).path + ", Arial " + findFace("Arial", false, false).path;
}

}  // namespace platform
