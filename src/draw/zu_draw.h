// zuDraw: the screen and its pixel format, the object table, blits and fills, presentation and
// transitions, the scroll view, text and fonts, the effect tables and the clip wipe record.
#pragma once
#include <cstdint>

#include "../platform/types.h"

namespace platform {
struct Display;
struct Surface;
struct Window;
struct DrawContext;
struct Font;
struct LogFont;
}  // namespace platform

namespace zuDraw {

// --- screen set-up ----------------------------------------------------------

struct ScreenState {
    platform::Display* ddraw = nullptr;
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    platform::Window* clipper = nullptr;  // the window the picture is clipped to (windowed only)
    int32_t width = 0, height = 0;
    int32_t colorDepth = 16;
    int32_t altColorDepth1 = 0, altColorDepth2 = 0;
    int32_t hardwareDevice = 0;
    int32_t canStretch = 0;
    int32_t clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    platform::Rect presentDest;
    platform::Rect presentSource;
    int32_t waitVBlank = 1;
    COLORREF loadKeyColor = 0;
    int32_t loadKeyFromPixel = 0;
};

struct PixelFormat {
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
    uint16_t redShift = 0, greenShift = 0, blueShift = 0;
    uint32_t redMax = 0, greenMax = 0, blueMax = 0;
    uint16_t red5Shift = 0, green5Shift = 0, blue5Shift = 0;
    uint32_t halfMask = 0;
    uint32_t halfMaskPair = 0;
    uint32_t whiteValue = 0;
};

// --- object table -----------------------------------------------------------

constexpr int32_t objectCount = 1024;
constexpr int32_t firstLoadableObject = 4;  // 0 Buffer, 1 Screen, 2 Font, 3 Font buffer
constexpr int32_t maxObjectNameLength = 30;

struct ObjectRecord {
    platform::Surface* surface = nullptr;
    char name[32] = {};
    int32_t fromPack = 0;
    int32_t placement = 2;
    int32_t colorKey = 0;
    uint16_t width = 0, height = 0;
};

struct ObjectTable {
    ObjectRecord objects[objectCount];
    ObjectRecord& operator[](int32_t number) { return objects[number]; }
    const ObjectRecord& operator[](int32_t number) const { return objects[number]; }
};

// --- presentation and transitions -------------------------------------------

struct TransitionState {
    int32_t kind = 0;  // 0 pattern, 1..12 geometric, 13 and up nothing drawn
    int32_t length = 0;
    int32_t step = 0;       // 0: no transition running
    int32_t direction = 0;  // -1 uncovering, +1 covering, 0 idle
    int32_t coverPattern = 0;
};

constexpr int32_t coverSteps = 10;  // a covering run always ends after step 10

struct ScrollView {
    int32_t visible = 0;
    int32_t pageObject = 0;
    int32_t tileObject = 0;
    int32_t pageHeight = 0;
    float scrollY = 0.0f;
    float tileX = 0.0f, tileY = 0.0f;
};

// --- text and fonts ---------------------------------------------------------

struct TextState {
    platform::LogFont* logFont = nullptr;  // shared; made by ListFonts, freed by ReleaseFonts
    platform::Font* currentFont = nullptr;
    platform::Font* previousFont = nullptr;
    platform::DrawContext* dc = nullptr;
    int32_t currentHeight = 0;
    COLORREF textColor = 0, backColor = 0;
    platform::Rect measuredBox;  // the rectangle MeasureTextBox fitted last
};

constexpr int32_t fontListSize = 200;

struct FontEntry {
    char faceName[32] = {};
    int32_t type = -1;  // 1 Shift-JIS, 3 symbol, 2 any other, -1 empty
    uint8_t charSet = 0;
};

struct FontList {
    FontEntry entries[fontListSize];
    int32_t count = 0;
};

// --- effect tables (16-bit tables exist only on a 16-bit screen) -------------

struct EffectTables {
    int32_t sine[450] = {};
    uint8_t pixelRgb5[65536][3] = {};
    uint16_t fadeTable[3 * 32 * 32 * 32] = {};
    uint16_t addTable[3 * 32 * 32 * 32] = {};
    uint16_t subTable[3 * 32 * 32] = {};
    uint16_t greyTable[94] = {};
    int8_t randomTable[10000] = {};
    int32_t built16 = 0;  // 1 once the 16-bit tables are filled
};

// --- clip wipe ----------------------------------------------------------------

struct ClipWipe {
    int32_t state = 0;  // 0 idle, 1 opening, 2 closing, -1 closed
    platform::Rect savedClip;
    int32_t closing = 0;
    int32_t shape = 0;
    float speed = 0.0f;
    int32_t size = 0;
    int32_t opened = 0, closed = 0;
};

extern ScreenState screenState;
extern PixelFormat pixelFormat;
extern ObjectTable objectTable;
extern TransitionState transitionState;
extern ScrollView scrollView;
extern TextState textState;
extern FontList fontList;
extern EffectTables effectTables;
extern ClipWipe clipWipe;

// Screen set-up
int32_t Screen(int32_t width, int32_t height, int32_t memory);
void SetColorDepth(int32_t depth, int32_t alt1, int32_t alt2);
void SetClip(int32_t left, int32_t top, int32_t right, int32_t bottom);
void Release();

// Object table
int32_t LoadObject(const char* name, int32_t placement);
int32_t SwapObject(const char* name, int32_t number, int32_t placement);
int32_t CreateObject(int32_t width, int32_t height, int32_t placement);
void ReleaseObject(int32_t number);
void Restore();
void SetLoadColorKey(COLORREF colour);
void SetLoadColorKeyFromPixel();
// The key operations and ClearObject return DD_OK (0), or a negative device result (win32.h).
int32_t SetObjectColorKey(int32_t number, COLORREF colour);
int32_t SetObjectColorKeyFromPixel(int32_t number);
int32_t CopyColorKey(int32_t destination, int32_t source);
int32_t ClearObject(int32_t number);

// Blits and fills; the fills return DD_OK (0), or DDERR_SURFACELOST or DDERR_GENERIC (negative)
void Blit(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
          int32_t bottom);
void BlitOpaque(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                int32_t bottom);
void BlitToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                  int32_t top, int32_t right, int32_t bottom);
void BlitOpaqueToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                        int32_t top, int32_t right, int32_t bottom);
int32_t ClearScreen();
int32_t ClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
int32_t FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
int32_t WhiteScreen();
int32_t WhiteRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
int32_t FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value);
int32_t HalfRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value);

// Presentation, transitions, scroll view
void Present();
void CaptureScreen(int32_t object, int32_t left, int32_t top, int32_t right, int32_t bottom);
void BeginCover();
void BeginUncover();
int32_t SetCoverPattern(const char* name);
void SetVBlankWait(int32_t flag);
void SetScrollView(const char* pageName, const char* tileName, int32_t pageHeight);
void ToggleScrollView();

// Text and fonts; face numbers 0 "標準明朝", 1 "標準ゴシック", others "Arial"
void ListFonts();
void ReleaseFonts();
void BeginText(int32_t face, int32_t height, int32_t angle, int32_t weight, int32_t italic,
               int32_t underline);
void BeginTextFace(const char* faceName, int32_t height, int32_t angle, int32_t weight,
                   int32_t italic, int32_t underline);
void EndText();
void SetTextColors(COLORREF text, COLORREF background, int32_t transparent);
void PutText(int32_t x, int32_t y, const char* text);
void DrawTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom, const char* text,
                 int32_t alignment);
int32_t MeasureTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const char* text);
void BeginBufferText(int32_t face, int32_t size);
void BeginBufferTextFace(const char* faceName, int32_t size);
void EndBufferText();

}  // namespace zuDraw

namespace zuSystem {
// One line of bold gothic text on the back buffer (implemented with the text operations).
void PrintText(int32_t x, int32_t y, const char* text, COLORREF colour, int32_t size);
}  // namespace zuSystem
