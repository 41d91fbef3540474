/// @file
/// zuDraw: the screen and its pixel format, the object table, blits and fills, presentation and
/// transitions, the scroll view, text and fonts, the effect tables and the clip wipe record.
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
/// The platform's millisecond clock, which the frame-rate counters read.
uint32_t ticks();
}  // namespace platform

/// The drawing family: screen, objects, blits, presentation and text (@ref zudraw).
namespace zuDraw {

/// @defgroup zudraw zuDraw
/// The screen, the object table of sprites, blits and fills, presentation and transitions, the
/// scroll view, text and fonts. Positions and sizes are pixels; colours are COLORREF values
/// unless an argument says raw pixel value, which is in the screen's own format (PixelFormat).

/// @defgroup draw_screen Screen set-up
/// @ingroup zudraw
/// Settings first (SetColorDepth, SetVBlankWait, SetLoadColorKey), then Screen once the window
/// exists; zuSystem::Quit calls Release.
/// @{

/// The display and the screen's settings.
struct ScreenState {
    platform::Display* ddraw = nullptr;     ///< the display, opened by Screen
    platform::Surface* primary = nullptr;   ///< the visible picture; belongs to the display
    platform::Surface* back = nullptr;      ///< the back buffer, width × height: all drawing lands here
    platform::Window* clipper = nullptr;  ///< the window the picture is clipped to (windowed only)
    int32_t width = 0;   ///< screen width in pixels, as passed to Screen
    int32_t height = 0;  ///< screen height in pixels, as passed to Screen
    /// Bits per pixel: default 16; full screen the depth asked for (or a fallback taken),
    /// windowed the desktop's.
    int32_t colorDepth = 16;
    int32_t altColorDepth1 = 0;  ///< first fallback full-screen depth, 0 none
    int32_t altColorDepth2 = 0;  ///< second fallback full-screen depth, 0 none
    int32_t hardwareDevice = 0;  ///< 1 when a 3D-capable device was chosen
    int32_t canStretch = 0;      ///< 1 when the display can stretch copies
    int32_t clipLeft = 0;    ///< clip rectangle of every blit: first column
    int32_t clipTop = 0;     ///< clip rectangle: first row
    int32_t clipRight = 0;   ///< clip rectangle: column after the last
    int32_t clipBottom = 0;  ///< clip rectangle: row after the last
    platform::Rect presentDest;    ///< where Present puts the back buffer; follows the window
    platform::Rect presentSource;  ///< the part of the back buffer presented: (0, 0, width, height)
    int32_t waitVBlank = 1;  ///< 1 (default): Present waits for the display's vertical blank
    COLORREF loadKeyColor = 0;  ///< colour key of later loads, default black
    int32_t loadKeyFromPixel = 0;  ///< 1: later loads are keyed on their top-left pixel instead
};

/// The back buffer's pixel layout, read by Screen. The effect operations and raw pixel values
/// (FillRect, HalfRect) use it; masks F800/07E0/001F give shifts 11/5/0 and maxima 31/63/31.
struct PixelFormat {
    uint32_t redMask = 0;    ///< bits of red in a raw pixel value
    uint32_t greenMask = 0;  ///< bits of green
    uint32_t blueMask = 0;   ///< bits of blue
    uint16_t redShift = 0;    ///< position of redMask's lowest bit
    uint16_t greenShift = 0;  ///< position of greenMask's lowest bit
    uint16_t blueShift = 0;   ///< position of blueMask's lowest bit
    uint32_t redMax = 0;    ///< largest red value: 31, 63 or 255
    uint32_t greenMax = 0;  ///< largest green value
    uint32_t blueMax = 0;   ///< largest blue value
    uint16_t red5Shift = 0;    ///< shift that puts a 5-bit red at the top of its field
    uint16_t green5Shift = 0;  ///< shift that puts a 5-bit green at the top of its field
    uint16_t blue5Shift = 0;   ///< shift that puts a 5-bit blue at the top of its field
    uint32_t halfMask = 0;  ///< each channel without its top bit: (p >> 1) & halfMask halves p
    uint32_t halfMaskPair = 0;  ///< halfMask in both 16-bit halves of a word
    uint32_t whiteValue = 0;    ///< the raw pixel value of white
};

/// @}

/// @defgroup draw_objects Object table
/// @ingroup zudraw
/// Objects are numbered sprites: loaders hand out 4 to 1023, lowest free first, and every
/// drawing operation names them by number. Failures are error reports captioned with the
/// operation; the loaders then return 0, which zuSystem::HasError tells from object 0.
/// @{

constexpr int32_t objectCount = 1024;  ///< slots 0 to 1023
constexpr int32_t firstLoadableObject = 4;  ///< 0 Buffer, 1 Screen, 2 Font, 3 Font buffer
constexpr int32_t maxObjectNameLength = 30;  ///< longest name the loaders accept, in bytes

/// One object: a sprite surface and how to load it again.
struct ObjectRecord {
    platform::Surface* surface = nullptr;  ///< the pixels; null when the slot holds none
    /// The name it was loaded by, "*" when created, "内部用１" to "内部用４" for objects 0 to
    /// 3; empty when the slot is free.
    char name[32] = {};
    int32_t fromPack = 0;   ///< 1 when the pixels came from a pack file, else 0
    int32_t placement = 2;  ///< the placement Restore reloads with; always 2
    int32_t colorKey = 0;  ///< the key it was given: a COLORREF, or -1 for its top-left pixel
    uint16_t width = 0;   ///< width in pixels
    uint16_t height = 0;  ///< height in pixels
};

/// The table of all objects.
struct ObjectTable {
    ObjectRecord objects[objectCount];  ///< by object number
    /// The record of an object number (0 to 1023, not checked).
    ObjectRecord& operator[](int32_t number) { return objects[number]; }
    /// The record of an object number (0 to 1023, not checked).
    const ObjectRecord& operator[](int32_t number) const { return objects[number]; }
};

/// @}

/// @defgroup draw_packs Draw packs and conversion
/// @ingroup zudraw
/// A draw pack is one file of pictures in 15-bit colour, written by Convert: entries of width
/// and height (2 bytes each, little-endian), the upper-case file name with its NUL, then width ×
/// height 16-bit values (bits 10–14 red, 5–9 green, 0–4 blue), with no header or index.
/// LoadPack and SwapPack find an entry by name, searching from the start every time; objects
/// loaded from a pack are reloaded from it by Restore.
/// @{

/// The current pack.
struct PackState {
    char path[260] = {};  ///< program folder + the name given to SetPackFile; empty until set
};

/// Called by Convert after each bitmap with its path (upper case, relative to the program's
/// folder) and 1 when its entry was written, 0 when it was skipped.
using ConvertReport = void (*)(const char* path, int32_t written);

/// @}

/// @defgroup draw_present Presentation, transitions and the scroll view
/// @ingroup zudraw
/// Present ends every frame. A transition lays a shrinking part of the frame captured into
/// object 1 (or a pattern sheet) over the next frames.
/// @{

/// The running transition.
struct TransitionState {
    int32_t kind = 0;  ///< 0 pattern, 1..12 geometric, 13 and up nothing drawn
    int32_t length = 0;  ///< steps of an uncovering run, and the step size of the geometry
    int32_t step = 0;       ///< 0: no transition running
    int32_t direction = 0;  ///< -1 uncovering, +1 covering, 0 idle
    int32_t coverPattern = 0;  ///< object number of kind 0's pattern sheet (SetCoverPattern)
};

constexpr int32_t coverSteps = 10;  ///< a covering run always ends after step 10

/// A page scrolled by the arrow keys over a drifting tiled backdrop, drawn by Present.
struct ScrollView {
    int32_t visible = 0;     ///< 1: Present draws the view (ToggleScrollView)
    int32_t pageObject = 0;  ///< object of the page: clip-rectangle wide, pageHeight tall
    int32_t tileObject = 0;  ///< object of one 64 × 48 backdrop tile
    int32_t pageHeight = 0;  ///< page height in pixels; 0: no page, the view cannot show
    float scrollY = 0.0f;    ///< top row of the page shown
    float tileX = 0.0f;  ///< backdrop x offset in pixels, drifting by -10 per second
    float tileY = 0.0f;  ///< backdrop y offset in pixels, drifting by -10 per second
};

/// @}

/// @defgroup draw_text Text and fonts
/// @ingroup zudraw
/// A run: BeginText (or BeginBufferText), SetTextColors, any number of PutText, DrawTextBox or
/// MeasureTextBox, then EndText. Texts are Shift-JIS; heights are pixels. Face numbers: 0
/// "標準明朝", 1 "標準ゴシック", others "Arial".
/// @{

/// The open text run.
struct TextState {
    platform::LogFont* logFont = nullptr;  ///< shared; made by ListFonts, freed by ReleaseFonts
    platform::Font* currentFont = nullptr;   ///< the font of the open run
    platform::Font* previousFont = nullptr;  ///< the font the context held before the run
    platform::DrawContext* dc = nullptr;  ///< the open run's drawing context; null between runs
    int32_t currentHeight = 0;  ///< font height of the last begin, in pixels
    COLORREF textColor = 0;  ///< the last text colour given to SetTextColors
    COLORREF backColor = 0;  ///< the last background colour given to SetTextColors
    platform::Rect measuredBox;  ///< the rectangle MeasureTextBox fitted last
};

constexpr int32_t fontListSize = 200;  ///< at most this many faces are listed

/// One installed face.
struct FontEntry {
    char faceName[32] = {};  ///< face name, Shift-JIS
    int32_t type = -1;  ///< 1 Shift-JIS, 3 symbol, 2 any other, -1 empty
    uint8_t charSet = 0;  ///< the face's character set (SHIFTJIS_CHARSET, ...)
};

/// The faces listed by ListFonts.
struct FontList {
    FontEntry entries[fontListSize];  ///< the first `count` are filled
    int32_t count = 0;                ///< faces listed
};

/// @}

/// @defgroup draw_effects Effect tables and clip wipe
/// @ingroup zudraw
/// Lookup tables built by Screen for the per-pixel effects, and the record of a clip wipe.
/// @{

/// Lookup tables of the effects; all but the sine table exist only on a 16-bit screen. Channel
/// values are 5 bits; c is the channel (0 red, 1 green, 2 blue).
struct EffectTables {
    int32_t sine[450] = {};  ///< sin(i degrees) × 360, for i = 0 to 449
    uint8_t pixelRgb5[65536][3] = {};  ///< the 5-bit red, green and blue of each raw pixel value
    /// [c][level][a][b]: max(a - level, 0) + max(b - (31 - level), 0), shifted into channel c.
    uint16_t fadeTable[3 * 32 * 32 * 32] = {};
    /// [c][level][a][b]: min(max(a - level, 0) + b, 31), shifted into channel c.
    uint16_t addTable[3 * 32 * 32 * 32] = {};
    uint16_t subTable[3 * 32 * 32] = {};  ///< [c][a][b]: max(a - b, 0), shifted into channel c
    uint16_t greyTable[94] = {};  ///< [r + g + b]: the grey level (r + g + b) / 3
    int8_t randomTable[10000] = {};  ///< random values 0 to 2
    int32_t built16 = 0;  ///< 1 once the 16-bit tables are filled
};

/// A wipe that animates the clip rectangle; a program restores savedClip when it abandons one.
struct ClipWipe {
    int32_t state = 0;  ///< 0 idle, 1 opening, 2 closing, -1 closed
    platform::Rect savedClip;  ///< the clip rectangle when the wipe started
    int32_t closing = 0;  ///< nonzero for a closing wipe
    int32_t shape = 0;    ///< 1 to 9
    float speed = 0.0f;   ///< pixels per second
    int32_t size = 0;     ///< band width or height of shapes 8 and 9, in pixels
    int32_t opened = 0;   ///< 1 once an opening wipe finished
    int32_t closed = 0;   ///< 1 once a closing wipe finished
};

/// @}

/// @defgroup draw_warp_effects Rotation, zoom and warp effects
/// @ingroup zudraw
/// Geometric maps of an object's pixels onto the back buffer, on a 16-bit screen only. Each locks
/// the object, then the back buffer, and returns 1 when it ran or had nothing to draw, 0 when the
/// screen is not 16-bit, the object has no 16-bit surface or a lock fails (nothing drawn, nothing
/// left locked). Source pixels of value 0 are transparent unless an operation says otherwise;
/// nothing is ever read outside the object's surface nor written outside the back buffer.
///
/// The rotation operations draw into the box (x1, y1)–(x2, y2), right and bottom exclusive,
/// turned by `angle` degrees (taken modulo 360, negative angles too) about the box's centre,
/// with the source rectangle (sL, sT)–(sR, sB) centred in it; each pixel is clipped to the clip
/// rectangle. A zoom of 0 or NaN, or an empty source rectangle, draws nothing and returns 1.
/// @{

/// Room of the tunnel table: a window of at most this many pixels.
constexpr int32_t tunnelTableSize = 640 * 480;

/// Texture coordinates of a tunnel or lens, made by MakeTunnel and drawn by Tunnel.
struct TunnelTable {
    int32_t textureWidth = 0;   ///< width of the texture the coordinates address (0: never made)
    int32_t textureHeight = 0;  ///< height of that texture
    int32_t width = 0;          ///< width of the drawn window
    int32_t height = 0;         ///< height of the drawn window
    /// (u, v) per window pixel, row after row: 0 ≤ u < textureWidth, 0 ≤ v < textureHeight.
    int16_t entries[tunnelTableSize][2] = {};
};

extern TunnelTable tunnelTable;  ///< the one tunnel table

/// Turns the source rectangle about the box's centre; pixels outside it are not drawn.
int32_t Rotate(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, int32_t obj,
               int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// As Rotate, with the source repeated (mirrored about the centre) to fill the whole box.
int32_t RotateTile(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, int32_t obj,
                   int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// As Rotate, `zoom` times as large, centred in the box and cut at its edges.
int32_t RotateZoom(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom,
                   int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// As RotateTile, `zoom` times as large.
int32_t RotateZoomTile(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom,
                       int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// As RotateZoomTile with separate zooms across and down that grow by their steps after every
/// row of the box (a receding floor or ceiling); rows whose zoom is 0 are left alone. Each 5-bit
/// channel is multiplied by its scale, clamped to 0.0–1.0 (a pixel tested before scaling).
int32_t Floor(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoomX,
              float zoomXStep, float zoomY, float zoomYStep, float scaleR, float scaleG,
              float scaleB, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// Plots every `step`-th pixel of the source rectangle, clipped like a blit to (x, y), displaced
/// down by a ripple of `amplitude` pixels and `frequency`, sheared right by `shear` pixels per row
/// and scaled by `scale`; transparent pixels are plotted too, gaps keep what was there.
/// A step of 0 or less, or an empty rectangle, draws nothing and returns 1.
int32_t Ripple(int32_t x, int32_t y, int32_t amplitude, int32_t frequency, int32_t step,
               float scale, float shear, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
               int32_t sB);
/// Blits the source rectangle to (x, y) and smears its column or row `edge` (0 to 65535, counted
/// in the clipped region; cut to the object's surface) out to an edge:
/// mode 0 to the right, the region widened to the screen's right; 1 to the left, also filling the
/// back buffer's columns left of x; 2 down, widened to the screen's bottom; 3 up, also filling the
/// rows above y. Other modes draw nothing and return 1.
int32_t StretchEdge(int32_t x, int32_t y, int32_t mode, int32_t edge, int32_t obj, int32_t sL,
                    int32_t sT, int32_t sR, int32_t sB);
/// Fills tunnelTable for a window of width × height pixels over a texture of textureWidth ×
/// textureHeight (1 to 32768 each). Centre (−1: the window's), divisor of the field of view
/// (−1: 8, at least 2), centreMode 0 fixed, 1 rising row by row from the bottom, 2 mirrored per
/// column, 3 moving left from the right edge, 4 moving right from the left edge; metric of the
/// distance: 0 Euclidean, 1 largest, 2 mean, 3 smallest of |dx| and |dy|, 4 |dx|, 5 |dy|, 6 the
/// centre's column; depthMode 0 to 5 (0 flat, 1 rows, 2 columns, 3 square, 4 diamond, 5 cross).
/// Where the distance is 0 the depth coordinate v is 0; a depth divisor of 0 counts as 1.
/// @return 1; 0 with the table unchanged for a window above 640 × 480 pixels or of negative size,
/// a texture size out of range, or an unknown metric or depthMode
int32_t MakeTunnel(int32_t textureWidth, int32_t textureHeight, int32_t width, int32_t height,
                   int32_t centreX, int32_t centreY, int32_t divisor, int32_t centreMode,
                   int32_t metric, int32_t depthMode);
/// Draws tunnelTable's window at (x, y), clipped to the clip rectangle: each pixel from the
/// object's texture (its top-left textureWidth × textureHeight pixels) at the stored (u, v) moved
/// by the offsets, wrapping round the texture (negative offsets too); transparent pixels included.
/// Animating uOffset turns the tunnel, vOffset moves along it.
/// @return 1; 0 also when the table was never made or the texture is larger than the object
int32_t Tunnel(int32_t x, int32_t y, int32_t uOffset, int32_t vOffset, int32_t obj);

/// @}

/// @addtogroup draw_screen
/// @{
extern ScreenState screenState;  ///< the display and the screen's settings
extern PixelFormat pixelFormat;  ///< the back buffer's pixel layout
/// @}
/// @addtogroup draw_objects
/// @{
extern ObjectTable objectTable;  ///< the object table
/// @}
/// @addtogroup draw_packs
/// @{
extern PackState packState;  ///< the current pack
/// @}
/// @addtogroup draw_present
/// @{
extern TransitionState transitionState;  ///< the running transition
extern ScrollView scrollView;            ///< the scroll view
/// @}
/// @addtogroup draw_text
/// @{
extern TextState textState;  ///< the open text run
extern FontList fontList;    ///< the installed faces
/// @}
/// @addtogroup draw_effects
/// @{
extern EffectTables effectTables;  ///< the effect lookup tables
extern ClipWipe clipWipe;          ///< the clip wipe
/// @}

/// @addtogroup draw_screen
/// @{

/// Opens the display and makes the back buffer and objects 0 to 3 of width × height pixels,
/// reads the pixel format, then starts zuSound, the waits and input (zuSystem::StartUp) and the
/// font list. Clears zuSystem::HasError first; `memory` is not used. Call once the window exists.
/// @return 1; 0 after the error report captioned "zuDraw::Screen", with "裏画面が生成できません"
/// (bad size, no back buffer), "DirectDrawが使用できません", "解像度が変更できません",
/// "表画面が生成できません", "Bufferスプライトが生成できません" (and Screen, Font, Fontバッファ)
/// or "ピクセル情報が取得できません"
int32_t Screen(int32_t width, int32_t height, int32_t memory);
/// Full-screen bits per pixel and two fallbacks (0 none), tried in turn by Screen; call before it.
void SetColorDepth(int32_t depth, int32_t alt1, int32_t alt2);
/// The clip rectangle of every blit, in pixels (right and bottom exclusive); Screen sets the
/// whole screen.
void SetClip(int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Frees every object and the back buffer and closes the display; zuSystem::Quit calls it.
void Release();

/// @}

/// @addtogroup draw_objects
/// @{

/// Loads a BMP into the lowest free object, keyed by the load colour key. `name` is a file
/// relative to the program's folder, else a BITMAP resource; `placement` is not used.
/// @return the object number; 0 after the error report captioned "zuDraw::LoadObject":
/// "ファイル名またはリソース名が長すぎます" (over 30 bytes), "オブジェクト数が多過ぎます"
/// or "BMPファイルを読み込めません" (a slot that failed stays free)
int32_t LoadObject(const char* name, int32_t placement);
/// As LoadObject, into object `number`, freeing what it held.
/// @return 1; 0 for a number outside 0 to 1023 (no box) or after the error report captioned
/// "zuDraw::SwapObject" ("ファイル名またはリソース名が長すぎます", "BMPファイルを読み込めません")
int32_t SwapObject(const char* name, int32_t number, int32_t placement);
/// A blank object of width × height pixels (contents undefined until drawn), named "*".
/// @return the object number; 0 after the error report captioned "zuDraw::CreateObject":
/// "オブジェクト数が多過ぎます" or "スプライトを作成できません" (size 0 or over 65535)
int32_t CreateObject(int32_t width, int32_t height, int32_t placement);
/// Frees an object's surface and its slot; a slot without a surface is left alone.
void ReleaseObject(int32_t number);
/// Brings lost surfaces back: objects 0 to 3 blank, loaded objects reloaded from their file,
/// resource or the current pack with their key, created objects blank. Drawing calls it on a lost surface.
void Restore();
/// The key of later loads: pixels of this colour are see-through (default black).
void SetLoadColorKey(COLORREF colour);
/// Later loads are keyed on their own top-left pixel.
void SetLoadColorKeyFromPixel();
/// Keys an object on a colour. @return DD_OK, or DDERR_GENERIC for a slot without surface
int32_t SetObjectColorKey(int32_t number, COLORREF colour);
/// Keys an object on its top-left pixel. @return DD_OK, or DDERR_GENERIC for a slot without surface
int32_t SetObjectColorKeyFromPixel(int32_t number);
/// Gives `destination` the key of `source`; its recorded colorKey stays.
/// @return DD_OK, or DDERR_GENERIC when a slot has no surface or the source no key
int32_t CopyColorKey(int32_t destination, int32_t source);
/// Fills the whole object with raw pixel value 0 (black).
/// @return DD_OK, DDERR_SURFACELOST, or DDERR_GENERIC (also for a slot without surface)
int32_t ClearObject(int32_t number);

/// @}

/// @defgroup draw_blits Blits and fills
/// @ingroup zudraw
/// Copies take the source rectangle (left, top, right, bottom; right and bottom exclusive) of an
/// object to (x, y), clipped to the clip rectangle (also into objects); keyed copies skip the
/// source's key pixels. A lost surface drops the copy and runs Restore. Fills draw on the back
/// buffer, clipped to it only, and return DD_OK, DDERR_SURFACELOST or DDERR_GENERIC (also when
/// there is no screen).
/// @{

/// Keyed copy of an object's rectangle to the back buffer at (x, y).
void Blit(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
          int32_t bottom);
/// Opaque copy of an object's rectangle to the back buffer at (x, y).
void BlitOpaque(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                int32_t bottom);
/// Keyed copy of a rectangle of object `source` into object `destination` at (x, y).
void BlitToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                  int32_t top, int32_t right, int32_t bottom);
/// Opaque copy of a rectangle of object `source` into object `destination` at (x, y).
void BlitOpaqueToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                        int32_t top, int32_t right, int32_t bottom);
/// Fills the whole back buffer with black.
int32_t ClearScreen();
/// Fills a rectangle with black.
int32_t ClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Draws a one-pixel black border just inside the rectangle. @return the last strip's result
int32_t FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Fills the whole back buffer with white (PixelFormat::whiteValue).
int32_t WhiteScreen();
/// Fills a rectangle with white.
int32_t WhiteRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Fills a rectangle with a raw pixel value, of which the low 16 bits are used.
int32_t FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value);
/// Blends every pixel of the rectangle (clipped to the clip rectangle) 50/50 with a raw 16-bit
/// pixel value. @return 1; 0 when the screen is not 16-bit or cannot be locked
int32_t HalfRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value);

/// @}

/// @addtogroup draw_packs
/// @{

/// Names the pack of later LoadPack and SwapPack calls: a file relative to the program's folder.
/// A name whose full path would not fit in 259 bytes names no pack.
void SetPackFile(const char* name);
/// Loads the first entry of the pack named `name` (upper-cased; up to 31 bytes) into the lowest
/// free object, keyed by the load colour key; `placement` is not used.
/// @return the object number; 0 after the error report captioned "zuDraw::LoadPack":
/// "ファイル名またはリソース名が長すぎます", "パックファイル名が指定されていません" (no pack,
/// or it cannot be opened), "BMPファイルを読み込めません" (no such entry, or it is cut short,
/// empty, or follows a name over 127 bytes), "サーフェース間で展開できません" (ten copies
/// failed); CreateObject's reports; 0 with no report when the staging surface cannot be locked.
/// A load that fails leaves no object behind.
int32_t LoadPack(const char* name, int32_t placement);
/// As LoadPack, into object `number` (4 to 1023), whose old picture is freed once the entry has
/// been read; errors are captioned "zuDraw::SwapPack".
/// @return `number`; 0 for a number outside 4 to 1023 (no report, nothing touched) or as LoadPack
int32_t SwapPack(const char* name, int32_t number, int32_t placement);
/// Builds a pack from every BMP file of a folder, in upper-case name order: each one is loaded,
/// read back in 15-bit colour (only true black stored as 0) and appended as an entry named by
/// its file name in upper case.
/// @param pack the pack file, relative to the program's folder
/// @param folder the folder, relative to the program's folder; empty for the program's folder
/// @param afresh nonzero: the pack is deleted first; 0: entries are added to its end
/// @param report called after each file, or null
/// @return 1, also for a folder without BMP files; 0 after the error report captioned
/// "zuDraw::Convert" with "画面をフルカラーにして下さい" when the desktop has 16 bits or fewer
int32_t Convert(const char* pack, const char* folder, int32_t afresh, ConvertReport report = nullptr);
/// Appends one bitmap (`path` relative to the program's folder) to a pack as Convert does. A
/// bitmap LoadObject refuses (reported by it) is skipped, as is a pack that cannot be opened.
/// @return 1 when the entry was written, 0 when skipped
int32_t ConvertFile(const char* pack, const char* path);

/// @}

/// @addtogroup draw_present
/// @{

/// Ends a frame: draws the transition's step and the scroll view, waits for the vertical blank
/// (SetVBlankWait) and shows the back buffer. Its wait paces the loop.
void Present();
/// Opaque copy of a back-buffer rectangle to (0, 0) of an object (not clipped); transitions
/// take the old frame from object 1.
void CaptureScreen(int32_t object, int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Starts a covering run: steps 1 to 10, one per Present.
void BeginCover();
/// Starts an uncovering run: steps 10 down to 1, one per Present.
void BeginUncover();
/// Loads kind 0's pattern sheet (64 × 48 frames side by side), keyed on black.
/// @return its object number, 0 after LoadObject's error report
int32_t SetCoverPattern(const char* name);
/// 1 (default): Present waits for the vertical blank; 0: it does not.
void SetVBlankWait(int32_t flag);
/// Loads the scroll view's page and tile (keyed on black) and sets the page height in pixels.
void SetScrollView(const char* pageName, const char* tileName, int32_t pageHeight);
/// Shows the scroll view, or hides it; it shows only once a page height is set.
void ToggleScrollView();

/// @}

/// @addtogroup draw_text
/// @{

/// Lists up to 200 installed faces with their character sets; Screen calls it.
void ListFonts();
/// Frees the shared font record; zuSystem::Quit calls it.
void ReleaseFonts();
/// Opens a run on the back buffer, ending an open one.
/// @param face face number
/// @param height font height in pixels
/// @param angle angle of the line in degrees
/// @param weight 0 normal, 1 bold, other values the face's default
/// @param italic nonzero for italic
/// @param underline nonzero for underlined
void BeginText(int32_t face, int32_t height, int32_t angle, int32_t weight, int32_t italic,
               int32_t underline);
/// As BeginText, with a face name and the character set the font list gives it (Shift-JIS when
/// not listed).
void BeginTextFace(const char* faceName, int32_t height, int32_t angle, int32_t weight,
                   int32_t italic, int32_t underline);
/// Ends the run: the font is freed and the surface given back.
void EndText();
/// Text and background colours; a nonzero `transparent` leaves the background alone.
void SetTextColors(COLORREF text, COLORREF background, int32_t transparent);
/// Draws a string with its top-left corner at (x, y); nothing outside a run.
void PutText(int32_t x, int32_t y, const char* text);
/// Draws a string wrapped at word breaks inside the rectangle; `alignment` 0 left, 1 centre,
/// 2 right, any other value draws nothing.
void DrawTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom, const char* text,
                 int32_t alignment);
/// Draws nothing: wraps the string to the rectangle's width and keeps the fitted rectangle in
/// TextState::measuredBox. @return the text's height in pixels; 0 outside a run
int32_t MeasureTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const char* text);
/// Opens a run on the font buffer (object 3) with a normal font `2 × size` pixels high.
void BeginBufferText(int32_t face, int32_t size);
/// As BeginBufferText, with a face name and its listed character set.
void BeginBufferTextFace(const char* faceName, int32_t size);
/// Ends a font-buffer run.
void EndBufferText();

/// @}

/// @defgroup draw_rich_text Rich text renderer
/// @ingroup zudraw
/// Lays a Shift-JIS string out one character at a time inside (x, y)–(right, bottom), wrapping
/// at `right` and letting the fifteen hanging characters (、。，．・…‥”’（」,.　and space) stay
/// past it, with an optional shadow and one-pixel bold, into the font sprite (object 2) at
/// screen positions; every character's box is kept in TextBoxes. RichText and PrepareRichText
/// run inside a BeginText run, SmoothText and PrepareSmoothText inside a BeginBufferText run;
/// each leaves the run as it found it, and outside a run draws nothing. Text and shadow colours
/// with every channel below 16 become RGB(16, 16, 16) in TextState, since black is the font
/// sprite's see-through key.
/// Flags: bits 0 to 7 extra line spacing in pixels (doubled pixels when smooth), 0x100 a shadow
/// in the background colour, 0x200 every glyph again one pixel right, 0x400 one pixel lower.
/// @{

constexpr int32_t textBoxCount = 3200;   ///< entry 0 and up to 3199 characters
constexpr int32_t textShadow = 0x100;     ///< flag: drop shadow in the background colour
constexpr int32_t textBoldRight = 0x200;  ///< flag: horizontal bold
constexpr int32_t textBoldDown = 0x400;   ///< flag: vertical bold

/// The boxes of the last rendered text and the reveal's progress.
struct TextBoxes {
    /// Entry 0: the bounding box of what was drawn; 1 to count - 1: the characters in order.
    platform::Rect boxes[textBoxCount];
    int32_t count = 0;     ///< the next free entry: characters laid out + 1
    int32_t revealed = 0;  ///< entries RevealText has reached; 0 after a render
    float revealTimer = 0.0f;  ///< seconds towards the next reveal step; 0 after a render
    /// Nonzero: a render copies its bounding box to the back buffer at its end. 1 after
    /// ListFonts and after every render; the prepare operations clear it first.
    int32_t showAtEnd = 0;
};

extern TextBoxes textBoxes;  ///< the boxes of the last text

/// Renders a text into the font sprite at its final size and, when TextBoxes::showAtEnd is set,
/// copies it to the back buffer. A text longer than 3199 characters is laid out as far as the
/// boxes go; a final lone lead byte ends the text; a character that fits on no line ends it too.
/// @param x left of every line
/// @param y top of the first line
/// @param right lines wrap where a character's right edge would pass it
/// @param bottom rendering stops before a line that would reach it
/// @param text Shift-JIS string
/// @param flags spacing, shadow and bold (see the group)
void RichText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
              int32_t flags);
/// As RichText, with nothing copied to the back buffer: for RevealText.
void PrepareRichText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                     int32_t flags);
/// As RichText, inside a BeginBufferText run: each line is drawn at twice the size into the font
/// buffer (object 3) and halved into the font sprite by Shrink2, its edges blended with the
/// back buffer's pixels. Boxes are in screen pixels.
void SmoothText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                int32_t flags);
/// As SmoothText, with nothing copied to the back buffer: for RevealText.
void PrepareSmoothText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                       int32_t flags);
/// Called once a frame after a prepare: copies the characters revealed so far from the font
/// sprite to the back buffer, one more every `interval` seconds of zuSystem::frameClock; 0
/// shows the whole text at once.
/// @return 1 once the whole text is shown (its bounding box copied), else 0
int32_t RevealText(float interval);
/// Halves the rectangle (sL, sT)–(sR, sB) of the font buffer (object 3) into the font sprite
/// (object 2) at (x, y): each output pixel with n set samples among the 3 × 3 around its source
/// pixel takes their sum, one full-intensity sample and 8 - n samples of the back buffer's pixel
/// at the same place, divided by 8. Pixels without samples stay as they are. Clipped to the clip
/// rectangle and to all three surfaces; 16 and 32 bits per pixel, other depths draw nothing.
/// @return 1; 0 when there is no screen or a surface cannot be locked (none stays locked)
int32_t Shrink2(int32_t x, int32_t y, int32_t sL, int32_t sT, int32_t sR, int32_t sB);

/// @}

/// @defgroup draw_primitives Primitives and development text
/// @ingroup zudraw
/// Pixels, lines and shapes drawn on the back buffer without smoothing, each taking and giving
/// back the back buffer's context in one call, so they mix with blits (not inside a text run,
/// which holds that context). They return 1, or 0 when the context could not be taken (no
/// screen, a lost or busy back buffer) or the points are unusable. Every pen and brush made is
/// freed before the call returns. The development lines use the debug style: "標準ゴシック"
/// 12 pixels high, white on navy (0x800000), opaque.
/// @{

/// The frame-rate line's counters.
struct FpsCounters {
    uint32_t nextSample = platform::ticks();  ///< tick of the next sample; at first the start
    int32_t frames = 0;           ///< DrawFps calls since the last sample, at most 999
    float rate = 0.0f;            ///< frames per second of the last sample
    float maxRate = 0.0f;         ///< highest sample so far
    float minRate = 999.9f;       ///< lowest positive sample so far
    char text[256] = {};          ///< the line last drawn
};

extern FpsCounters fpsCounters;  ///< the frame-rate counters

/// Reads the back buffer's pixel at (x, y) as 8-bit channels (16-bit channels are widened by
/// repeating their top bits, so white reads 255); outside the screen all three are 255.
/// Null pointers are skipped.
void GetPixel(int32_t x, int32_t y, int32_t* red, int32_t* green, int32_t* blue);
/// Sets one pixel. @return 1, or 0 without a context
int32_t SetPixel(int32_t x, int32_t y, COLORREF colour);
/// A line from (x1, y1) to (x2, y2), its last point left out, with a solid pen of `width`
/// pixels (0 or less: 1).
int32_t Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour, int32_t width);
/// A rectangle (right and bottom exclusive) filled with `fill` and outlined by a solid pen.
int32_t Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, COLORREF fill,
                  COLORREF pen, int32_t width);
/// A closed polygon outlined in `colour` by a pen of `width`. Mode 0: hollow; otherwise filled
/// (alternate rule) with a diagonal cross hatch in `colour`, whose gaps take `background` in
/// mode 1 and show the picture beneath in mode 2.
/// @return 0 also for a null list or fewer than 2 points
int32_t Polygon(const platform::Point* points, int32_t count, COLORREF colour,
                COLORREF background, int32_t width, int32_t mode);
/// Cubic Bézier curves through 1 + 3n points (start, then two controls and an end per curve).
/// @return 0 also for a null list or a count that is not 1 + 3n with n at least 1
int32_t Bezier(const platform::Point* points, int32_t count, COLORREF colour, int32_t width);
/// Once a frame: counts the call and every two seconds samples the rate; draws
/// "<rate> fps ( max <max> / min <min> )" at (0, 0) in the debug style.
void DrawFps();
/// Draws a string at (x, y) in the debug style (a text run of its own).
void DebugText(int32_t x, int32_t y, const char* text);
/// As DebugText with a printf format; the result is cut at 255 bytes, never inside a
/// double-byte character.
void DebugPrintf(int32_t x, int32_t y, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

/// @defgroup draw_sprite_effects Sprite blends and colour filters
/// @ingroup zudraw
/// Each draws the rectangle (sL, sT, sR, sB) of an object (right and bottom exclusive) at (x, y)
/// of the back buffer like a keyed blit, mixing or filtering per pixel on the way. Source pixels
/// of value 0 are transparent and leave the back buffer alone. The rectangle is clipped to the
/// object's surface and the destination to the clip rectangle (cut to the back buffer). "5-bit"
/// means a channel reduced to 5 bits (a 6-bit green loses its lowest bit).
///
/// @return 1 when drawn or when clipping leaves nothing (no lock then); 0, with nothing drawn and
/// nothing left locked, on a screen that is not 16-bit, for an object outside 0 to 1023 or without
/// a 16-bit surface, or when locking either surface fails. Levels are clamped to 0 to 31,
/// alphas and factors to 0.0 to 1.0.
/// @{

/// Each pixel the average of source and destination: ((s >> 1) & halfMask) + ((d >> 1) & halfMask).
int32_t HalfBlend(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                  int32_t sB);
/// Each full-precision channel trunc(a·s + (1 − a)·d): 1.0 draws the source, 0.0 keeps the back
/// buffer.
int32_t AlphaBlend(int32_t x, int32_t y, float a, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                   int32_t sB);
/// AlphaBlend with one alpha per channel.
int32_t AlphaBlendRGB(int32_t x, int32_t y, float aR, float aG, float aB, int32_t obj, int32_t sL,
                      int32_t sT, int32_t sR, int32_t sB);
/// AlphaBlendRGB whose alphas rise across the rectangle: counting positions (rows when
/// `vertical` is non-zero, else columns, restarting every row) from 0, each position past the
/// low 16 bits of `start` (unsigned) advances a counter; every `step` counts each channel's
/// destination weight 1 − a drops by 1/32, down to 0 (the source alone).
int32_t AlphaGradient(int32_t x, int32_t y, float aR, float aG, float aB, int32_t vertical,
                      int32_t start, int32_t step, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                      int32_t sB);
/// Integer cross-fade of 5-bit channels: max(s − (31 − level), 0) + max(d − level, 0); 31 draws
/// the source, 0 keeps the back buffer.
int32_t Fade(int32_t x, int32_t y, int32_t level, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
             int32_t sB);
/// Fade with one level per channel.
int32_t FadeRGB(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB, int32_t obj,
                int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// FadeRGB whose levels rise by one per `step` positions past `start`, as AlphaGradient counts.
int32_t FadeGradient(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB,
                     int32_t vertical, int32_t start, int32_t step, int32_t obj, int32_t sL,
                     int32_t sT, int32_t sR, int32_t sB);
/// Additive light: each 5-bit channel min(s + d, 31).
int32_t AddBlend(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// AddBlend with the source first lowered by j = trunc(31 − a·31) (not below 0): a = 1.0 adds
/// the full source, 0.0 nothing.
int32_t AddBlendLevel(int32_t x, int32_t y, float a, int32_t obj, int32_t sL, int32_t sT,
                      int32_t sR, int32_t sB);
/// The source's 5-bit red as darkness: subtracted from each 5-bit channel of the back buffer,
/// not below 0.
int32_t Shadow(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);

/// The source with only the switched-on channels (non-zero flags) kept; none on draws 0.
int32_t ChannelMask(int32_t x, int32_t y, int32_t redOn, int32_t greenOn, int32_t blueOn,
                    int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// The source with each full-precision channel scaled: trunc(channel · f).
int32_t Bright(int32_t x, int32_t y, float f, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
               int32_t sB);
/// Bright with one factor per channel.
int32_t BrightRGB(int32_t x, int32_t y, float fR, float fG, float fB, int32_t obj, int32_t sL,
                  int32_t sT, int32_t sR, int32_t sB);
/// The source darkened: each 5-bit channel max(s − (31 − level), 0); 31 keeps it, 0 is black.
int32_t Darken(int32_t x, int32_t y, int32_t level, int32_t obj, int32_t sL, int32_t sT,
               int32_t sR, int32_t sB);
/// Darken with one level per channel.
int32_t DarkenRGB(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB,
                  int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// The source in grey: (r + g + b) / 3 of its 5-bit channels in all three.
int32_t Grey(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB);
/// Box blur: each opaque pixel the mean of the size × size block of source pixels starting at it
/// (moved back to end inside the clipped region at its right and bottom edges); transparent
/// pixels count as black. `size` is clamped to 1 … min(width, height, 45) of the clipped region.
int32_t Blur(int32_t x, int32_t y, int32_t size, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
             int32_t sB);
/// Edge smoothing: each opaque pixel averaged with the back buffer at those of its four
/// neighbours (inside the clipped region) that are transparent; unchanged when none is.
int32_t SmoothEdge(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                   int32_t sB);
/// Heat haze: under each opaque pixel the back buffer takes its own pixel v rows lower, v being
/// the source's 5-bit red less j = trunc(31 − f·31) (0 when that is below 1 or leaves the region).
int32_t Displace(int32_t x, int32_t y, float f, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                 int32_t sB);
/// Light rays: from each opaque pixel (drawn first when `drawSource` is non-zero) rays of its
/// 5-bit colour, each channel shifted right by its shift (clamped to 0 to 15), less a random
/// 0 to 2, run in the directions whose bits are set (0x40 up, 0x20 up-left, 0x80 up-right, 0x02
/// down, 0x01 down-left, 0x04 down-right, 0x08 left, 0x10 right) and lose one unit a pixel; each
/// is added, limited to 31, to the back buffer inside the clip rectangle only.
int32_t Glow(int32_t x, int32_t y, int32_t shiftR, int32_t shiftG, int32_t shiftB,
             int32_t directions, int32_t drawSource, int32_t obj, int32_t sL, int32_t sT,
             int32_t sR, int32_t sB);
/// @defgroup draw_region Screen region effects
/// @ingroup zudraw
/// Effects on a rectangle of what the back buffer already holds. They ignore the clip rectangle
/// and are cut to the back buffer, with the margin their reads need. All but Invert work on a
/// 16-bit screen only and return 0 otherwise; each returns 1, or 0 when a surface cannot be locked.
/// @{

/// Where the noisy region effects stand in the random table (EffectTables::randomTable).
struct RegionEffectState {
    int32_t fireStep = 0;     ///< pixels since Fire last carried one straight up
    int32_t fireRead = 0;     ///< Fire's read position
    int32_t fireRgbStep = 0;  ///< pixels since FireRGB last carried one straight up
    int32_t fireRgbRead = 0;  ///< FireRGB's read position
    int32_t noiseRead = 0;    ///< Noise's read position
    int32_t noiseRgbRead = 0; ///< NoiseRGB's read position
};
extern RegionEffectState regionEffectState;  ///< the random state of the region effects

/// Flames rising in the rectangle: each pixel of columns x + 1 to x + w - 2, rows y + 2 to
/// y + h - 1 puts the average of its four neighbours into the pixel above it, or, now and then
/// as the random table says, its own value. Reads reach row y + h.
int32_t Fire(int32_t x, int32_t y, int32_t w, int32_t h);
/// As Fire; each channel whose fade is nonzero loses 1 (of 31) as it rises.
int32_t FireRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y, int32_t w,
                int32_t h);
/// Replaces each pixel inside the rectangle's one-pixel border by the average of its four
/// neighbours, in place, top to bottom.
int32_t Soften(int32_t x, int32_t y, int32_t w, int32_t h);
/// As Soften; each channel whose fade is nonzero then loses 1 (of 31).
int32_t SoftenRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y, int32_t w,
                  int32_t h);
/// Adds 0, 1 or 2 from the random table, shifted left by `shift` (0 to 15; others are clamped), to
/// every channel of every pixel, up to 31 (5-bit channels).
int32_t Noise(int32_t shift, int32_t x, int32_t y, int32_t w, int32_t h);
/// As Noise, to the channels switched on only.
int32_t NoiseRGB(int32_t redOn, int32_t greenOn, int32_t blueOn, int32_t shift, int32_t x, int32_t y,
                 int32_t w, int32_t h);
/// Pixelates the disc of `radius` around (cx, cy) in cells of cell × cell pixels, each the colour
/// of its top-left pixel; a cell below 1 draws nothing.
int32_t CircleMosaic(int32_t cx, int32_t cy, int32_t radius, int32_t cell);
/// Enlarges the rectangle twice through object 0 and draws it opaque at (x, y), growing right and
/// down (clipped like BlitOpaque). `sparse`: only one work pixel of every 2 × 2 is written, the
/// others keep what object 0 held. A part that does not fit object 0 is cut.
int32_t Zoom2(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sparse);
/// As Zoom2, four times; `sparse` writes the top-left 2 × 2 of every 4 × 4 block.
int32_t Zoom4(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sparse);
/// Inverts every bit of the colours in the rectangle, cut to the back buffer; any depth.
/// @return 1; 0 when the back buffer has no drawing context
int32_t Invert(int32_t left, int32_t top, int32_t right, int32_t bottom);

/// @}

/// @defgroup draw_wipes Clip wipes
/// @ingroup zudraw
/// A wipe opens or closes the clip rectangle by n + 1 pixels per side each frame, n =
/// trunc(zuSystem::FrameClock::seconds × speed). Shapes: 1 from the bottom up, 2 top down, 3 from
/// the right, 4 from the left, 5 from the middle row, 6 from the middle column, 7 from the
/// centre, 8 a band of `size` columns opening rows first, 9 a band of `size` rows opening columns
/// first. The state is in clipWipe.
/// @{

/// Starts a wipe; shape 0 picks one of the nine at random; a negative speed moves as speed 0.
/// After a closed wipe the saved rectangle is the clip rectangle again first.
/// @return 1; 0 while a wipe runs or for a shape outside 0 to 9 (nothing changes)
int32_t StartWipe(int32_t closing, int32_t shape, float speed, int32_t size);
/// Empties the clip rectangle at once (state -1). The full rectangle is saved, unless a wipe
/// runs or the screen is already closed: then the one saved before stays.
void HideAll();
/// Moves the running wipe by one frame; call once per frame before drawing.
/// @return 1 while a wipe runs; 0 (nothing changes) otherwise
int32_t StepWipe();

/// @}

/// @defgroup draw_compound Compound blits
/// @ingroup zudraw
/// Animated copies made of Blit and BlitOpaque rows (clipped as they are). Animations advance by
/// zuSystem::FrameClock::seconds × their speed on every call; a call twice a frame advances twice.
/// Sizes that leave nothing to draw (empty rectangles, cells, gaps, heights below 2) draw nothing.
/// @{

/// The phases and offsets of the compound blits, kept between calls.
struct BlitAnimation {
    float wavePhase = 0.0f;        ///< WaveBlit, degrees in [0, 360)
    int32_t waveSign = 1;          ///< WaveBlit's alternate mode: the next row's sign
    float tileX = 0.0f;            ///< TileBlit, between -tile width and 0
    float tileY = 0.0f;            ///< TileBlit, between -tile height and 0
    float scrollWavePhase = 0.0f;  ///< ScrollWaveBlit, degrees in [0, 360)
    float scrollWaveScroll = 0.0f; ///< ScrollWaveBlit, rows in [0, rectangle height)
    float bandWavePhase = 0.0f;    ///< BandWaveBlit, degrees in [0, 360)
    float bandWaveScroll = 0.0f;   ///< BandWaveBlit, rows in [0, rectangle height)
    float stretchWavePhase = 0.0f; ///< StretchWaveBlit, in [0, rectangle height)
};
extern BlitAnimation blitAnimation;  ///< the compound blits' animation

/// Copies each row r of the rectangle to (x + v, y + r - top) with v = trunc(cos(a°) ×
/// amplitude), a = phase + r (divisor 0) or r / divisor + phase. `alternate`: v takes turns in
/// sign from row to row, carried over to the next call. `speed` in degrees per second.
void WaveBlit(int32_t x, int32_t y, int32_t amplitude, int32_t divisor, float speed, int32_t object,
              int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t alternate);
/// Covers the screen with copies of the rectangle from (0, 0), scrolled by speeds in pixels per
/// second.
void TileBlit(float speedX, float speedY, int32_t object, int32_t left, int32_t top, int32_t right,
              int32_t bottom);
/// As WaveBlit (no alternate mode), the rows also scrolling upwards through the rectangle by
/// `scrollSpeed` rows per second; row r lands at (x + v, y + r).
void ScrollWaveBlit(int32_t x, int32_t y, int32_t amplitude, int32_t divisor, float speed,
                    float scrollSpeed, int32_t object, int32_t left, int32_t top, int32_t right,
                    int32_t bottom);
/// Fills screen rows `first` to `end` - 1 with the rectangle's rows, scrolling, repeated across
/// the screen and waved as WaveBlit (shifted left by the amplitude).
void BandWaveBlit(int32_t first, int32_t end, int32_t amplitude, int32_t divisor, float speed,
                  float scrollSpeed, int32_t object, int32_t left, int32_t top, int32_t right,
                  int32_t bottom);
/// Copies the rectangle to (x, y) in bands of `size` rows, each filled with its first row; the
/// last band is drawn whole.
void MosaicBlit(int32_t x, int32_t y, int32_t size, int32_t object, int32_t left, int32_t top,
                int32_t right, int32_t bottom);
/// Keyed copy of the rectangle stretched to width × height at (x, y), nearest-neighbour: by the
/// display when ScreenState::canStretch, else through object 0 (keyed on black there).
void StretchBlit(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                 int32_t bottom, int32_t width, int32_t height);
/// As StretchBlit, opaque.
void StretchBlitOpaque(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                       int32_t bottom, int32_t width, int32_t height);
/// Copies the rectangle to (x, y), source pixels 0 left out: mode 0 as is, 1 mirrored left to
/// right, 2 top to bottom, 3 both (other modes draw nothing). Clipped: the part shown is the
/// matching part of the mirrored picture. 16-bit screens.
/// @return 1; 0 on another depth or when a surface cannot be locked
int32_t MirrorBlit(int32_t x, int32_t y, int32_t mode, int32_t object, int32_t left, int32_t top,
                   int32_t right, int32_t bottom);
/// Copies every gap-th row of the rectangle (the first being top + gap) to its place under
/// (x, y); a negative gap steps by rand() % -gap + 1 rows instead; 0 draws nothing.
void ScanlineBlit(int32_t x, int32_t y, int32_t gap, int32_t object, int32_t left, int32_t top,
                  int32_t right, int32_t bottom);
/// Copies each row to (x + rand() % (2 × amount) - amount, its row under y); amount <= 0 is one
/// plain Blit.
void JitterBlit(int32_t x, int32_t y, int32_t amount, int32_t object, int32_t left, int32_t top,
                int32_t right, int32_t bottom);
/// Opaque copy whose rows are stretched and squeezed by a cosine that rolls through the
/// rectangle by `speed` rows per second, forwards or (forward 0) backwards.
void StretchWaveBlit(int32_t x, int32_t y, int32_t forward, float speed, int32_t object, int32_t left,
                     int32_t top, int32_t right, int32_t bottom);

/// @}

}  // namespace zuDraw

namespace zuSystem {
/// @addtogroup draw_text
/// @{

/// One line of bold "標準ゴシック" text, `size` pixels high, in `colour` with its top-left
/// corner at (x, y) of the back buffer: a whole text run in one call.
void PrintText(int32_t x, int32_t y, const char* text, COLORREF colour, int32_t size);

/// @}
}  // namespace zuSystem
