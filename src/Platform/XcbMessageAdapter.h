#ifndef MINITOOLBARS_XCBMESSAGEADAPTER_H
#define MINITOOLBARS_XCBMESSAGEADAPTER_H

#include "Platform/NativeMessage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QByteArray;

namespace MiniToolbars {

// Turns the X events that reach a native event filter into message records:
// pointer motion, button presses and releases (core and XInput 2), and key
// presses and releases with Windows virtual-key codes. Other events, and
// everything off xcb, give no record.
class XcbMessageAdapter
{
public:
    // The keysym at a keycode in one column of the keyboard mapping (0 plain,
    // 1 shifted); 0 where there is none.
    using KeysymLookup = std::function<std::uint32_t(std::uint8_t keycode, int column)>;

    // Reads the keyboard mapping and the XInput opcode from the application's
    // X connection, when it has one.
    XcbMessageAdapter();
    // Works from the given mapping and XInput opcode, without a connection.
    XcbMessageAdapter(KeysymLookup lookup, std::uint8_t inputOpcode);

    std::optional<NativeMessage> translate(const QByteArray& eventType, const void* message);
    std::optional<NativeMessage> translate(const void* xcbEvent);

    // Forgets the cached keyboard mapping; a mapping change notice does too.
    void invalidateKeyboardMapping();

    struct VirtualKey
    {
        WPARAM code = 0;
        bool extended = false; // the key lies outside the typewriter block
    };
    // The virtual key of a keysym; nothing for keysyms without one.
    static std::optional<VirtualKey> virtualKeyFromKeysym(std::uint32_t keysym);

private:
    std::optional<NativeMessage> keyMessage(std::uint32_t window, bool released, std::uint8_t keycode,
                                            QPoint screenPoint);
    std::uint8_t inputOpcode();
    std::uint32_t keysym(std::uint8_t keycode, int column);
    void loadKeyboardMapping();

    KeysymLookup m_lookup;
    std::optional<std::uint8_t> m_inputOpcode; // 0 when the server has no XInput
    bool m_mappingLoaded = false;
    std::uint8_t m_minKeycode = 0;
    std::uint8_t m_keysymsPerKeycode = 0;
    std::vector<std::uint32_t> m_keysyms;
};

} // namespace MiniToolbars

#endif
