// The subsystems the screen set-up starts once the drawing core stands, in their fixed order.
#include "draw/zu_draw.h"
#include "input/joystick.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace zuDraw {

void startOtherSubsystems() {
    zuSound::Init();  // without a device the program simply runs silent
    zuSound::ClearObjects();
    zuSound::InitMidi();
    zuSystem::StartUp();
    ListFonts();
    Joystick::Init();
    if (zuSystem::systemState.clipFollowsWindow) zuSystem::ClipToScreen();
}

}  // namespace zuDraw
