// The font list made at set-up: up to 200 installed faces with their character sets, so that a
// face asked for by name gets its own set. Also the shared font record's life; listing arms the
// rich text renderers' final copy.
#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/sjis.h"
#include "platform/win32.h"

namespace zuDraw {

namespace {

int32_t typeOfCharSet(uint8_t charSet) {
    if (charSet == SHIFTJIS_CHARSET) return 1;
    if (charSet == SYMBOL_CHARSET) return 3;
    return 2;
}

}  // namespace

void ListFonts() {
    if (!textState.logFont) textState.logFont = new platform::LogFont{};
    fontList = FontList{};
    for (const platform::FontFace& face : platform::listFonts()) {
        if (fontList.count >= fontListSize) break;
        FontEntry& entry = fontList.entries[fontList.count++];
        platform::sjisCopy(entry.faceName, sizeof entry.faceName, face.name);
        entry.type = typeOfCharSet(face.charSet);
        entry.charSet = face.charSet;
    }
    textBoxes.showAtEnd = 1;
}

void ReleaseFonts() {
    delete textState.logFont;
    textState.logFont = nullptr;
}

}  // namespace zuDraw
