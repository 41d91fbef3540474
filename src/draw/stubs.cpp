// Placeholder bodies until each topic file lands.
#include "draw/zu_draw.h"

namespace zuDraw {
int32_t Screen(int32_t, int32_t, int32_t) { return 0; }
void SetColorDepth(int32_t, int32_t, int32_t) { }
void SetClip(int32_t, int32_t, int32_t, int32_t) { }
void Release() { }
int32_t LoadObject(const char*, int32_t) { return 0; }
int32_t SwapObject(const char*, int32_t, int32_t) { return 0; }
int32_t CreateObject(int32_t, int32_t, int32_t) { return 0; }
void ReleaseObject(int32_t) { }
void Restore() { }
void SetLoadColorKey(COLORREF) { }
void SetLoadColorKeyFromPixel() { }
int32_t SetObjectColorKey(int32_t, COLORREF) { return 0; }
int32_t SetObjectColorKeyFromPixel(int32_t) { return 0; }
int32_t CopyColorKey(int32_t, int32_t) { return 0; }
int32_t ClearObject(int32_t) { return 0; }
void Blit(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { }
void BlitOpaque(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { }
void BlitToObject(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { }
void BlitOpaqueToObject(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { }
int32_t ClearScreen() { return 0; }
int32_t ClearRect(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t FrameRect(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t WhiteScreen() { return 0; }
int32_t WhiteRect(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t FillRect(int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t HalfRect(int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
void Present() { }
void CaptureScreen(int32_t, int32_t, int32_t, int32_t, int32_t) { }
void BeginCover() { }
void BeginUncover() { }
int32_t SetCoverPattern(const char*) { return 0; }
void SetVBlankWait(int32_t) { }
void SetScrollView(const char*, const char*, int32_t) { }
void ToggleScrollView() { }
void ListFonts() { }
void ReleaseFonts() { }
void BeginText(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { }
void BeginTextFace(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) { }
void EndText() { }
void SetTextColors(COLORREF, COLORREF, int32_t) { }
void PutText(int32_t, int32_t, const char*) { }
void DrawTextBox(int32_t, int32_t, int32_t, int32_t, const char*, int32_t) { }
int32_t MeasureTextBox(int32_t, int32_t, int32_t, int32_t, const char*) { return 0; }
void BeginBufferText(int32_t, int32_t) { }
void BeginBufferTextFace(const char*, int32_t) { }
void EndBufferText() { }
}  // namespace zuDraw
namespace zuSystem { void PrintText(int32_t, int32_t, const char*, COLORREF, int32_t) {} }
