// zushow: one feature of the framework per screen. What the family files share: the table row,
// the data loaded at start, and the small drawing helpers every screen uses.
#pragma once
#include <cstdint>
#include <vector>

#include <zu/draw/zu_draw.h>

namespace show {

/// What a screen's draw function gets each frame.
struct Frame {
    int32_t count = 0;  ///< frames since the screen was entered (0 on the first)
    int32_t key = 0;    ///< a key pressed this frame that the main keys left alone, else 0
};

/// One row of the screen table: its family (digit key), caption, its own keys, and what it does.
struct Screen {
    int32_t family;
    const char* caption;  ///< the operations and their parameters
    const char* keys;     ///< the keys that act on this screen beyond the common ones; may be ""
    void (*draw)(const Frame&);
    void (*enter)() = nullptr;  ///< when the screen is entered; may be null
    void (*leave)() = nullptr;  ///< when it is left; may be null
};

/// Objects and sounds loaded at start; 0 (pictures) or -1 (sounds) when missing.
struct Data {
    int32_t sprite = 0;    ///< 128 x 96, black see-through
    int32_t backdrop = 0;  ///< 640 x 480
    int32_t packPictures[4] = {};  ///< the draw pack's four wheels
    int32_t sounds[3] = {-1, -1, -1};  ///< the sound pack's PLUCK, CHIME, TONE
    int32_t loopStream = -1;  ///< MUSIC (14 s), looping
    int32_t oneShot = -1;     ///< ONESHOT (6 s), played once
};
extern Data data;

// Family tables: each file adds its rows.
extern const Screen spriteScreens[];
extern const int32_t spriteScreenCount;
extern const Screen warpScreens[];
extern const int32_t warpScreenCount;
extern const Screen regionScreens[];
extern const int32_t regionScreenCount;
extern const Screen presentScreens[];
extern const int32_t presentScreenCount;
extern const Screen textScreens[];
extern const int32_t textScreenCount;
extern const Screen soundScreens[];
extern const int32_t soundScreenCount;
extern const Screen musicScreens[];
extern const int32_t musicScreenCount;
extern const Screen joystickScreens[];
extern const int32_t joystickScreenCount;

/// Every screen, family by family, in the order the show steps through them.
std::vector<Screen> allScreens();
/// Loads every data file; a missing one leaves its entry empty (the framework reports it).
void loadData();
/// The backdrop, or a plain grey screen without it.
void drawBackdrop();
/// A line of text, 12 pixels high, white on a dark band so it reads over any picture.
void label(int32_t x, int32_t y, const char* format, ...) __attribute__((format(printf, 3, 4)));
/// A cell of an effect grid: 3 columns, 2 rows of 200 x 150 under the caption.
struct Cell {
    int32_t x, y;
};
Cell cell(int32_t index);

}  // namespace show
