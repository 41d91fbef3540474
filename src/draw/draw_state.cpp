// The process-wide records of zuDraw, one instance each.
#include "draw/zu_draw.h"

namespace zuDraw {

ScreenState screenState;
PixelFormat pixelFormat;
ObjectTable objectTable;
TransitionState transitionState;
ScrollView scrollView;
TextState textState;
FontList fontList;
EffectTables effectTables;
ClipWipe clipWipe;

}  // namespace zuDraw
