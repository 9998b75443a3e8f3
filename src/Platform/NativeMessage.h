#ifndef MINITOOLBARS_NATIVEMESSAGE_H
#define MINITOOLBARS_NATIVEMESSAGE_H

#include "MiniToolbars/MiniToolbarsGlobal.h"

#include <QPoint>

#include <cstdint>

namespace MiniToolbars {

// The integer types of a Windows message, sized as the view's keyDown/keyUp
// take them.
using UINT = unsigned int;
using WPARAM = unsigned long;
using LPARAM = long;

// One input event in the shape the toolbar window's message logic expects, so
// that logic runs the same on real X events and on synthetic ones in tests.
struct NativeMessage
{
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    QPoint pt; // screen position
};

constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

// Button and modifier state in wParam of pointer messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key codes in wParam of key messages. Letters and digits are their
// upper-case ASCII codes ('A' is 0x41, '0' is 0x30).
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_INSERT = 0x2D;
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_0 = 0x30;
constexpr WPARAM VK_A = 0x41;
constexpr WPARAM VK_LWIN = 0x5B;
constexpr WPARAM VK_RWIN = 0x5C;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F4 = 0x73;
constexpr WPARAM VK_F24 = 0x87;

// Key message lParam bits besides the repeat count in the low word.
constexpr LPARAM KeyLParamExtended = 1L << 24;
constexpr LPARAM KeyLParamWasDown = 1L << 30;
constexpr LPARAM KeyLParamReleased = 1L << 31;

// A point packed as Windows does: x in the low word, y in the high word, each
// a signed 16-bit value. The arithmetic stays unsigned so that negative
// coordinates on multi-screen desktops round-trip without overflow.
constexpr LPARAM pointToLParam(int x, int y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(x) & 0xFFFFu)
                               | ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}

constexpr int signedWord(std::uint32_t word)
{
    return word >= 0x8000u ? static_cast<int>(word) - 0x10000 : static_cast<int>(word);
}

constexpr int xFromLParam(LPARAM lParam)
{
    return signedWord(static_cast<std::uint32_t>(static_cast<unsigned long>(lParam) & 0xFFFFu));
}

constexpr int yFromLParam(LPARAM lParam)
{
    return signedWord(static_cast<std::uint32_t>((static_cast<unsigned long>(lParam) >> 16) & 0xFFFFu));
}

} // namespace MiniToolbars

#endif
