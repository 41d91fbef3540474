/// @file
/// The Win32 constants the framework speaks in (messages, virtual keys, box, text and window
/// flags), with the values Win32 documents, so codes read the same in logs, probes and tests.
#pragma once
#include <cstdint>

/// @defgroup win32 Win32 constants
/// Messages, virtual keys, box, text and window flags, with the values Win32 gives them.
/// @{

/// @name Messages
/// @{

/// A window message, as zuSystem::WindowProc receives it.
constexpr uint32_t WM_NULL = 0x0000, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_ACTIVATE = 0x0006,
                   WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
                   WM_QUIT = 0x0012, WM_ACTIVATEAPP = 0x001C, WM_SETCURSOR = 0x0020,
                   WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
                   WM_SYSKEYUP = 0x0105, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
                   WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204,
                   WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
                   WM_MBUTTONUP = 0x0208, WM_USER = 0x0400, MM_MCINOTIFY = 0x03B9;
/// @}

/// @name Music notifications
/// @{

/// The wParam of MM_MCINOTIFY.
constexpr uintptr_t MCI_NOTIFY_SUCCESSFUL = 0x0001, MCI_NOTIFY_SUPERSEDED = 0x0002,
                    MCI_NOTIFY_ABORTED = 0x0004, MCI_NOTIFY_FAILURE = 0x0008;
/// @}

/// @name Virtual keys
/// @{

/// A virtual key for zuSystem::PollKey and zuSystem::GetTrigger; letters and digits are their
/// ASCII capitals ('A', '0').
constexpr int32_t VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
                  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                  VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
                  VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
                  VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
                  VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
                  VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
                  VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A,
                  VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
/// @}

/// @name Message boxes
/// @{

/// A message-box style flag.
constexpr uint32_t MB_OK = 0x0000, MB_OKCANCEL = 0x0001, MB_YESNO = 0x0004, MB_ICONHAND = 0x0010,
                   MB_ICONQUESTION = 0x0020, MB_ICONWARNING = 0x0030, MB_ICONINFORMATION = 0x0040,
                   MB_SYSTEMMODAL = 0x1000, MB_TOPMOST = 0x40000, MB_SETFOREGROUND = 0x10000;
/// @}

/// @name Message-box answers
/// @{

/// The button a message box was closed with.
constexpr int32_t IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;
/// @}

/// @name Text-box flags
/// @{

/// A DrawText layout flag.
constexpr uint32_t DT_TOP = 0x0000, DT_LEFT = 0x0000, DT_CENTER = 0x0001, DT_RIGHT = 0x0002,
                   DT_VCENTER = 0x0004, DT_BOTTOM = 0x0008, DT_WORDBREAK = 0x0010,
                   DT_SINGLELINE = 0x0020, DT_EXPANDTABS = 0x0040, DT_NOCLIP = 0x0100,
                   DT_CALCRECT = 0x0400, DT_NOPREFIX = 0x0800;
/// @}

/// @name Text background
/// @{

/// Whether text leaves its background alone (TRANSPARENT) or fills it (OPAQUE).
constexpr int32_t TRANSPARENT = 1, OPAQUE = 2;
/// @}

/// @name Font weights
/// @{

/// A font weight.
constexpr int32_t FW_NORMAL = 400, FW_BOLD = 700;
/// @}

/// @name Character sets
/// @{

/// A font's character set, as zuDraw::FontEntry lists it.
constexpr uint8_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, SHIFTJIS_CHARSET = 128;
/// @}

/// @name Show commands
/// @{

/// How a window is shown (WinMain's showCommand).
constexpr int32_t SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5;
/// @}

/// Drawing-device result: success.
constexpr int32_t DD_OK = 0;
/// Drawing-device result: failure (E_FAIL), for example no surface in the object's slot.
constexpr int32_t DDERR_GENERIC = int32_t(0x80004005u);
/// Drawing-device result: the surface lost its pixels; zuDraw::Restore brings them back.
constexpr int32_t DDERR_SURFACELOST = int32_t(0x887601C2u);

/// The low 16 bits of a message parameter.
constexpr uint16_t LOWORD(uintptr_t v) { return uint16_t(v & 0xFFFF); }
/// Bits 16 to 31 of a message parameter.
constexpr uint16_t HIWORD(uintptr_t v) { return uint16_t((v >> 16) & 0xFFFF); }
/// A message parameter of two 16-bit halves, lo in the low bits.
constexpr intptr_t MAKELPARAM(uint16_t lo, uint16_t hi) {
    return intptr_t(uint32_t(lo) | (uint32_t(hi) << 16));
}

/// @}
