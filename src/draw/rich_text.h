// What the two rich text renderers share: reading characters, the hanging characters, the
// colour guard, drawing a character with its shadow and bold copies, and the open text run lent
// to a render and given back as it was.
#pragma once
#include <cstdint>

#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"

namespace zuDraw::richtext {

constexpr int32_t fontSprite = 2;
constexpr int32_t fontBuffer = 3;

// Bytes of the character at p: 1 or 2, 0 at the end. A lead byte whose trail would be the
// terminating NUL ends the text: the lone byte is dropped.
int32_t characterLength(const char* p);
bool isLineFeed(const char* p, int32_t length);
bool isHanging(const char* p, int32_t length);

// Text and background colours with every channel below 16 become RGB(16, 16, 16) in textState:
// black is the font sprite's see-through key.
void guardColours();

// A character at (x, y): the shadow `shadowStep` pixels down and right (one more on a bold
// axis) in the background colour, then the text colour, then the bold copies one pixel off.
void drawCharacter(platform::DrawContext* dc, int32_t x, int32_t y, const char* p, int32_t length,
                   int32_t flags, int32_t shadowStep);

// The open run's context is given back for the render's own use; give() takes a context on the
// same surface again with the same font, colours and mode.
class LentRun {
public:
    LentRun();
    ~LentRun();
    LentRun(const LentRun&) = delete;
    LentRun& operator=(const LentRun&) = delete;
    bool ok() const { return home_ != nullptr; }

private:
    platform::Surface* home_ = nullptr;
    COLORREF text_ = 0, back_ = 0;
    int32_t mode_ = 0;
};

// A context with the run's font and a transparent background on object 2 or 3.
platform::DrawContext* takeWorkContext(int32_t object);
void giveWorkContext(platform::DrawContext*&);

// Starts a render: entry 0 empty at (x, y), count 1, the font sprite cleared.
void startBoxes(int32_t x, int32_t y);
void widenBounds(const platform::Rect& box);
// Ends a render: the bounding box copied when showAtEnd is set, the reveal reset, showAtEnd 1.
void finishRender();
// Copies a rectangle of the font sprite to the same place on the back buffer, keyed.
void showBox(const platform::Rect& box);

}  // namespace zuDraw::richtext
