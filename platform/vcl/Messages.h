#pragma once
// Window messages: the record Perform hands to WndProc, the message numbers the model sends and
// handles, and the virtual key codes.

#include "vcl/Types.h"

#include <cstdint>

namespace vcl {

struct TMessage {
    unsigned Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

// Window messages.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_SETTEXT = 0x000C;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_CONTEXTMENU = 0x007B;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_USER = 0x0400;

// Control messages the model sends to a control about its own changes.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 4;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 5;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 6;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 22;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 24;
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 28;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_ENTER = CM_BASE + 10;
constexpr unsigned CM_EXIT = CM_BASE + 11;
constexpr unsigned CM_CANCELMODE = CM_BASE + 29;
constexpr unsigned CM_ACTIONUPDATE = CM_BASE + 63;

// Key state flags in the WParam of mouse messages.
constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;
constexpr uintptr_t MK_SHIFT = 0x0004;
constexpr uintptr_t MK_CONTROL = 0x0008;
constexpr uintptr_t MK_MBUTTON = 0x0010;

// Virtual key codes.
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F12 = 0x7B;

// Mouse positions travel in LParam as two signed 16-bit coordinates, X in the low word;
// coordinates beyond that range are clamped to it.
constexpr int ClampToInt16(int v) {
    return v < -32768 ? -32768 : (v > 32767 ? 32767 : v);
}
constexpr intptr_t PointToLParam(int X, int Y) {
    X = ClampToInt16(X);
    Y = ClampToInt16(Y);
    return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(X)) |
                                 (static_cast<uint32_t>(static_cast<uint16_t>(Y)) << 16));
}
constexpr int LParamX(intptr_t LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(LParam) & 0xFFFF));
}
constexpr int LParamY(intptr_t LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(LParam) >> 16));
}

// One notch of a mouse wheel; finer wheels report parts of it.
constexpr int WHEEL_DELTA = 120;
// WM_MOUSEWHEEL carries the mouse-message key flags in the low word of WParam and the signed
// wheel delta (clamped to 16 bits, positive away from the user) in the high word; LParam holds
// the pointer's screen position.
constexpr uintptr_t WheelToWParam(uintptr_t Keys, int WheelDelta) {
    return (Keys & 0xFFFF) |
           (static_cast<uintptr_t>(static_cast<uint16_t>(ClampToInt16(WheelDelta))) << 16);
}
constexpr int WParamWheelDelta(uintptr_t WParam) {
    return static_cast<int16_t>(static_cast<uint16_t>((WParam >> 16) & 0xFFFF));
}

} // namespace vcl
