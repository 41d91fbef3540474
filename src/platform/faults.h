// Faults that tests inject into the display, surfaces, drawing contexts and audio formats, so the
// framework's recovery code runs for real. They act with any backend installed; each subsystem
// defines its own, and the headless controls (headless.h) offer them all in one place.
#pragma once
#include <cstdint>

namespace platform {

struct Surface;

namespace headless {

void refuseDepth(int32_t bits);               // setDisplayMode then refuses that depth
void useRgb555For16(bool on);                 // a 16-bit mode gives RGB555
void setDesktopBits(int32_t bits);            // the desktop's depth before a mode is set
void setCanStretch(bool on);
void resetDisplay();                          // closes the display and clears these controls
void loseAllSurfaces();
void loseSurface(Surface*);
void failNextLocks(int32_t n);
void loseAtNextCopies(int32_t n);             // the next n copies find every surface lost
void failNextContexts(int32_t n);             // getDC then returns null n times
void refuseOutputFormats(bool refused);       // setOutputFormat then fails

}  // namespace headless
}  // namespace platform
