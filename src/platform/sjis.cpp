// Shift-JIS scanning and conversion through iconv's CP932 tables.
#include "platform/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

// One converter per direction and call: iconv descriptors keep shift state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd);
    }
    bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at the first character that has no form,
    // leaving in the offset of that character.
    bool run(std::string_view in, std::string& out, size_t& stoppedAt) {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr - buffer);
            if (r == size_t(-1) && errno != E2BIG) {
                stoppedAt = in.size() - inLeft;
                return false;
            }
        }
        stoppedAt = in.size();
        return true;
    }

private:
    iconv_t cd;
};

bool endsInLoneLeadByte(std::string_view s) {
    if (s.empty()) return false;
    size_t i = 0;
    while (i + 1 < s.size()) i += isSjisLeadByte(uint8_t(s[i])) ? 2 : 1;
    return i == s.size() - 1 && isSjisLeadByte(uint8_t(s[i]));
}

}  // namespace

size_t sjisCharLength(const char* p) {
    if (*p == '\0') return 0;
    return isSjisLeadByte(uint8_t(p[0])) && p[1] != '\0' ? 2 : 1;
}

size_t sjisFitLength(std::string_view text, size_t maxBytes) {
    size_t i = 0;
    while (i < text.size()) {
        size_t step = isSjisLeadByte(uint8_t(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + step > maxBytes) break;
        i += step;
    }
    return i;
}

size_t sjisCopy(char* dest, size_t destSize, std::string_view src) {
    if (destSize == 0) return 0;
    size_t n = sjisFitLength(src.substr(0, src.find('\0')), destSize - 1);
    for (size_t i = 0; i < n; ++i) dest[i] = src[i];
    dest[n] = '\0';
    return n;
}

size_t sjisFindLast(std::string_view text, char c) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < text.size();) {
        if (isSjisLeadByte(uint8_t(text[i])) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        if (text[i] == c) found = i;
        ++i;
    }
    return found;
}

std::string sjisUpper(std::string_view text) {
    std::string upper(text);
    for (size_t i = 0; i < upper.size();) {
        if (isSjisLeadByte(uint8_t(upper[i])) && i + 1 < upper.size()) {
            i += 2;
            continue;
        }
        if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = char(upper[i] - 'a' + 'A');
        ++i;
    }
    return upper;
}

std::string sjisToUtf8(std::string_view sjis) {
    if (endsInLoneLeadByte(sjis)) sjis.remove_suffix(1);
    std::string out;
    Converter conv("UTF-8", "CP932");
    if (!conv.ok()) return std::string(sjis);
    while (!sjis.empty()) {
        size_t stoppedAt = 0;
        if (conv.run(sjis, out, stoppedAt)) break;
        out += '?';
        size_t skip = isSjisLeadByte(uint8_t(sjis[stoppedAt])) && stoppedAt + 1 < sjis.size() ? 2 : 1;
        sjis.remove_prefix(stoppedAt + skip);
    }
    return out;
}

bool utf8ToSjis(std::string_view utf8, std::string& out) {
    out.clear();
    Converter conv("CP932", "UTF-8");
    if (!conv.ok()) return false;
    size_t stoppedAt = 0;
    return conv.run(utf8, out, stoppedAt);
}

}  // namespace platform
