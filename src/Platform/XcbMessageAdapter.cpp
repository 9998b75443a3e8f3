#include "Platform/XcbMessageAdapter.h"

#include "Platform/XcbConnection.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

#ifdef MTB_HAVE_XCB
#include <xcb/xcb.h>
#include <xcb/xinput.h>
#endif

namespace MiniToolbars {

namespace {

struct KeysymEntry
{
    std::uint32_t keysym;
    WPARAM code;
    bool extended;
};

// Sorted by keysym. Left and right modifiers give the one code Windows puts in
// wParam; the right-hand Control and Alt are extended keys, as on a PC keyboard.
constexpr KeysymEntry keysymTable[] = {
    {0xfe03, VK_MENU, true},     // ISO_Level3_Shift (AltGr)
    {0xfe20, VK_TAB, false},     // ISO_Left_Tab (shifted Tab)
    {0xff08, VK_BACK, false},    // BackSpace
    {0xff09, VK_TAB, false},     // Tab
    {0xff0d, VK_RETURN, false},  // Return
    {0xff1b, VK_ESCAPE, false},  // Escape
    {0xff50, VK_HOME, true},     // Home
    {0xff51, VK_LEFT, true},     // Left
    {0xff52, VK_UP, true},       // Up
    {0xff53, VK_RIGHT, true},    // Right
    {0xff54, VK_DOWN, true},     // Down
    {0xff55, VK_PRIOR, true},    // Prior (Page Up)
    {0xff56, VK_NEXT, true},     // Next (Page Down)
    {0xff57, VK_END, true},      // End
    {0xff63, VK_INSERT, true},   // Insert
    {0xff8d, VK_RETURN, true},   // KP_Enter
    {0xffe1, VK_SHIFT, false},   // Shift_L
    {0xffe2, VK_SHIFT, false},   // Shift_R
    {0xffe3, VK_CONTROL, false}, // Control_L
    {0xffe4, VK_CONTROL, true},  // Control_R
    {0xffe7, VK_LWIN, true},     // Meta_L
    {0xffe8, VK_RWIN, true},     // Meta_R
    {0xffe9, VK_MENU, false},    // Alt_L
    {0xffea, VK_MENU, true},     // Alt_R
    {0xffeb, VK_LWIN, true},     // Super_L
    {0xffec, VK_RWIN, true},     // Super_R
    {0xffff, VK_DELETE, true},   // Delete
};

constexpr std::uint32_t keysymF1 = 0xffbe;
constexpr std::uint32_t keysymF24 = 0xffd5;

HWND toHandle(std::uint32_t window)
{
    return reinterpret_cast<HWND>(static_cast<quintptr>(window));
}

#ifdef MTB_HAVE_XCB
constexpr UINT downMessages[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
constexpr UINT upMessages[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
constexpr WPARAM buttonFlags[] = {MK_LBUTTON, MK_MBUTTON, MK_RBUTTON};

enum class PointerKind { Motion, Press, Release };

struct PointerInput
{
    std::uint32_t window;
    PointerKind kind;
    std::uint32_t button; // X button number: 1 left, 2 middle, 3 right
    WPARAM state;         // MK_ flags as X reports them: before the event
    QPoint screen;
    QPoint client;
};

// Windows reports the button state after the event, X the state before it.
std::optional<NativeMessage> pointerMessage(const PointerInput& input)
{
    NativeMessage message;
    message.window = toHandle(input.window);
    message.pt = input.screen;
    message.lParam = pointToLParam(input.client.x(), input.client.y());
    message.wParam = input.state;
    if (input.kind == PointerKind::Motion) {
        message.message = WM_MOUSEMOVE;
        return message;
    }
    // Wheel steps and extra buttons have no message here.
    if (input.button < 1 || input.button > 3)
        return std::nullopt;
    const std::size_t index = input.button - 1;
    if (input.kind == PointerKind::Press) {
        message.message = downMessages[index];
        message.wParam |= buttonFlags[index];
    } else {
        message.message = upMessages[index];
        message.wParam &= ~buttonFlags[index];
    }
    return message;
}

WPARAM stateFromCore(std::uint32_t state)
{
    WPARAM flags = 0;
    if (state & XCB_KEY_BUT_MASK_BUTTON_1)
        flags |= MK_LBUTTON;
    if (state & XCB_KEY_BUT_MASK_BUTTON_2)
        flags |= MK_MBUTTON;
    if (state & XCB_KEY_BUT_MASK_BUTTON_3)
        flags |= MK_RBUTTON;
    if (state & XCB_KEY_BUT_MASK_SHIFT)
        flags |= MK_SHIFT;
    if (state & XCB_KEY_BUT_MASK_CONTROL)
        flags |= MK_CONTROL;
    return flags;
}

// XInput 2 gives modifiers apart and buttons as a bit mask indexed by button
// number, which follows the fixed part of the event.
WPARAM stateFromInput(const xcb_input_button_press_event_t* event)
{
    WPARAM flags = stateFromCore(event->mods.effective & (XCB_KEY_BUT_MASK_SHIFT | XCB_KEY_BUT_MASK_CONTROL));
    if (event->buttons_len > 0) {
        std::uint32_t mask = 0;
        std::memcpy(&mask, event + 1, sizeof mask);
        const std::uint32_t buttonsAsCore = ((mask >> 1) & 0x1f) << 8;
        flags |= stateFromCore(buttonsAsCore);
    }
    return flags;
}

int fromFixed(std::int32_t value)
{
    return static_cast<int>(std::floor(value / 65536.0));
}
#endif

} // namespace

XcbMessageAdapter::XcbMessageAdapter() = default;

XcbMessageAdapter::XcbMessageAdapter(KeysymLookup lookup, std::uint8_t inputOpcode)
    : m_lookup(std::move(lookup))
    , m_inputOpcode(inputOpcode)
{
}

std::optional<XcbMessageAdapter::VirtualKey> XcbMessageAdapter::virtualKeyFromKeysym(std::uint32_t keysym)
{
    if (keysym >= 'a' && keysym <= 'z')
        return VirtualKey{VK_A + (keysym - 'a'), false};
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9'))
        return VirtualKey{keysym, false};
    if (keysym == ' ')
        return VirtualKey{VK_SPACE, false};
    if (keysym >= keysymF1 && keysym <= keysymF24)
        return VirtualKey{VK_F1 + (keysym - keysymF1), false};
    const auto entry = std::lower_bound(std::begin(keysymTable), std::end(keysymTable), keysym,
                                        [](const KeysymEntry& e, std::uint32_t k) { return e.keysym < k; });
    if (entry == std::end(keysymTable) || entry->keysym != keysym)
        return std::nullopt;
    return VirtualKey{entry->code, entry->extended};
}

std::optional<NativeMessage> XcbMessageAdapter::translate(const QByteArray& eventType, const void* message)
{
    if (!message || eventType != "xcb_generic_event_t")
        return std::nullopt;
    return translate(message);
}

void XcbMessageAdapter::invalidateKeyboardMapping()
{
    m_mappingLoaded = false;
    m_keysyms.clear();
}

std::optional<NativeMessage> XcbMessageAdapter::keyMessage(std::uint32_t window, bool released,
                                                           std::uint8_t keycode, QPoint screenPoint)
{
    // Layouts such as AZERTY put the digit in the shifted column; Windows
    // still names that key by its digit.
    std::optional<VirtualKey> key = virtualKeyFromKeysym(keysym(keycode, 0));
    if (!key)
        key = virtualKeyFromKeysym(keysym(keycode, 1));
    if (!key)
        return std::nullopt;
    NativeMessage message;
    message.window = toHandle(window);
    message.message = released ? WM_KEYUP : WM_KEYDOWN;
    message.wParam = key->code;
    message.lParam = 1;
    if (key->extended)
        message.lParam |= KeyLParamExtended;
    if (released)
        message.lParam |= KeyLParamWasDown | KeyLParamReleased;
    message.pt = screenPoint;
    return message;
}

std::uint32_t XcbMessageAdapter::keysym(std::uint8_t keycode, int column)
{
    if (m_lookup)
        return m_lookup(keycode, column);
    if (!m_mappingLoaded)
        loadKeyboardMapping();
    if (keycode < m_minKeycode || column < 0 || column >= m_keysymsPerKeycode)
        return 0;
    const std::size_t index = std::size_t(keycode - m_minKeycode) * m_keysymsPerKeycode + std::size_t(column);
    return index < m_keysyms.size() ? m_keysyms[index] : 0;
}

#ifdef MTB_HAVE_XCB

std::optional<NativeMessage> XcbMessageAdapter::translate(const void* xcbEvent)
{
    const auto* generic = static_cast<const xcb_generic_event_t*>(xcbEvent);
    switch (generic->response_type & ~0x80) {
    case XCB_MOTION_NOTIFY:
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
        // The three events share one layout.
        const auto* event = static_cast<const xcb_button_press_event_t*>(xcbEvent);
        const std::uint8_t type = generic->response_type & ~0x80;
        const PointerKind kind = type == XCB_MOTION_NOTIFY ? PointerKind::Motion
            : type == XCB_BUTTON_PRESS                     ? PointerKind::Press
                                                           : PointerKind::Release;
        return pointerMessage({event->event, kind, event->detail, stateFromCore(event->state),
                               QPoint(event->root_x, event->root_y), QPoint(event->event_x, event->event_y)});
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        const auto* event = static_cast<const xcb_key_press_event_t*>(xcbEvent);
        return keyMessage(event->event, (generic->response_type & ~0x80) == XCB_KEY_RELEASE, event->detail,
                          QPoint(event->root_x, event->root_y));
    }
    case XCB_MAPPING_NOTIFY:
        if (static_cast<const xcb_mapping_notify_event_t*>(xcbEvent)->request == XCB_MAPPING_KEYBOARD)
            invalidateKeyboardMapping();
        return std::nullopt;
    case XCB_GE_GENERIC: {
        // Qt takes pointer input through XInput 2 where the server offers it.
        const auto* event = static_cast<const xcb_input_button_press_event_t*>(xcbEvent);
        const std::uint8_t opcode = inputOpcode();
        if (opcode == 0 || event->extension != opcode)
            return std::nullopt;
        const QPoint screen(fromFixed(event->root_x), fromFixed(event->root_y));
        const QPoint client(fromFixed(event->event_x), fromFixed(event->event_y));
        switch (event->event_type) {
        case XCB_INPUT_MOTION:
            return pointerMessage({event->event, PointerKind::Motion, 0, stateFromInput(event), screen, client});
        case XCB_INPUT_BUTTON_PRESS:
        case XCB_INPUT_BUTTON_RELEASE:
            return pointerMessage({event->event,
                                   event->event_type == XCB_INPUT_BUTTON_PRESS ? PointerKind::Press
                                                                               : PointerKind::Release,
                                   event->detail, stateFromInput(event), screen, client});
        case XCB_INPUT_KEY_PRESS:
        case XCB_INPUT_KEY_RELEASE:
            if (event->detail > 0xff)
                return std::nullopt;
            return keyMessage(event->event, event->event_type == XCB_INPUT_KEY_RELEASE,
                              static_cast<std::uint8_t>(event->detail), screen);
        default:
            return std::nullopt;
        }
    }
    default:
        return std::nullopt;
    }
}

std::uint8_t XcbMessageAdapter::inputOpcode()
{
    if (m_inputOpcode)
        return *m_inputOpcode;
    xcb_connection_t* connection = XcbConnection::connection();
    if (!connection)
        return 0;
    static const char name[] = "XInputExtension";
    const xcb_query_extension_cookie_t cookie = xcb_query_extension(connection, sizeof name - 1, name);
    const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
    m_inputOpcode = reply && reply->present ? reply->major_opcode : 0;
    return *m_inputOpcode;
}

void XcbMessageAdapter::loadKeyboardMapping()
{
    m_mappingLoaded = true;
    m_keysyms.clear();
    m_keysymsPerKeycode = 0;
    xcb_connection_t* connection = XcbConnection::connection();
    if (!connection)
        return;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_get_keyboard_mapping_cookie_t cookie = xcb_get_keyboard_mapping(
        connection, setup->min_keycode, std::uint8_t(setup->max_keycode - setup->min_keycode + 1));
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int count = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    m_keysyms.assign(keysyms, keysyms + std::max(count, 0));
    m_minKeycode = setup->min_keycode;
    m_keysymsPerKeycode = reply->keysyms_per_keycode;
}

#else

std::optional<NativeMessage> XcbMessageAdapter::translate(const void*)
{
    return std::nullopt;
}

std::uint8_t XcbMessageAdapter::inputOpcode()
{
    return 0;
}

void XcbMessageAdapter::loadKeyboardMapping()
{
    m_mappingLoaded = true;
}

#endif

} // namespace MiniToolbars
