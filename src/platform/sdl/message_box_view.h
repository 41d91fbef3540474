// A message box the platform draws itself, so that its Japanese texts come out in a face that
// has them on any host: a caption bar, an icon, the text in the gothic face and the buttons, as
// one picture; and the answer a key or a click on it gives. Free of SDL, so it is tested alone.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "platform/video/surface.h"

namespace platform {

class MessageBoxView {
public:
    // The texts are UTF-8; type is MB_OK, MB_OKCANCEL or MB_YESNO with an MB_ICON* flag. The
    // picture is drawn at `scale` pixels per point and kept narrower than maxWidth pixels.
    MessageBoxView(std::string_view textUtf8, std::string_view captionUtf8, uint32_t type, int32_t scale = 1,
                   int32_t maxWidth = 1 << 20);

    // False when nothing could be drawn (no drawing context); the picture is then empty.
    bool drawn() const { return drawn_; }
    const Surface& picture() const { return picture_; }  // xrgb8888

    // A key pressed (a virtual key): Return and Space choose the focused button (the default
    // one until Tab or an arrow moves the focus), Escape the cancelling one (No, Cancel or the
    // only OK), Y and N answer a yes/no box. Returns IDOK, IDCANCEL, IDYES or IDNO, or 0 when
    // the box stays open; a focus move repaints the picture.
    int32_t key(int32_t virtualKey);
    // The answer of the button at a point of the picture, or 0.
    int32_t buttonAt(Point) const;
    // The area of the button giving that answer (empty when there is none).
    Rect buttonArea(int32_t answer) const;

private:
    struct Button {
        int32_t answer;
        std::string labelSjis;
        Rect area;
    };
    void paint();

    std::string textSjis_, captionSjis_;
    uint32_t icon_ = 0;
    int32_t scale_ = 1;
    Rect captionBar_, iconArea_, textArea_, buttonStrip_;
    std::vector<Button> buttons_;
    size_t focus_ = 0, cancel_ = 0;
    Surface picture_;
    bool drawn_ = false;
};

}  // namespace platform
