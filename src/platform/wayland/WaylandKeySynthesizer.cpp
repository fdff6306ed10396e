#include "platform/wayland/WaylandKeySynthesizer.h"

#include "platform/Applications.h"
#include "platform/TerminalEmulators.h"
#include "platform/wayland/WaylandConnection.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <chrono>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client-protocol.h>

namespace {
std::uint32_t milliseconds()
{
    return std::uint32_t(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// The keymap goes to the compositor as a file it maps; a sealed memory file is the usual way.
int keymapFile(const QByteArray& text)
{
    const int fd = memfd_create("stashwell-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        return -1;
    }
    if (::write(fd, text.constData(), size_t(text.size())) != text.size()) {
        ::close(fd);
        return -1;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}
} // namespace

WaylandKeySynthesizer::WaylandKeySynthesizer(WaylandConnection& connection, std::function<std::optional<Front>()> front)
    : m_connection(connection), m_front(std::move(front)), m_keymap(PasteKeymap::build())
{
    std::uint32_t version = 0;
    m_manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
        connection.bind("zwp_virtual_keyboard_manager_v1", &zwp_virtual_keyboard_manager_v1_interface, 1, &version));
    if (!m_manager) {
        return;
    }
    m_protocol = "zwp_virtual_keyboard_manager_v1 v" + QByteArray::number(version);
    connection.atTeardown([this] { teardown(); });
    const int fd = m_keymap && connection.seat() ? keymapFile(m_keymap->text()) : -1;
    if (fd < 0) {
        return;
    }
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, connection.seat());
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   std::uint32_t(m_keymap->text().size()));
    ::close(fd);
}

WaylandKeySynthesizer::~WaylandKeySynthesizer() = default;

void WaylandKeySynthesizer::teardown()
{
    if (m_keyboard) {
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
        m_keyboard = nullptr;
    }
    // The manager has no destructor request.
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_manager));
    m_manager = nullptr;
}

bool WaylandKeySynthesizer::isTrusted(bool)
{
    return m_keyboard != nullptr;
}

void WaylandKeySynthesizer::postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done)
{
    if (!m_keyboard) {
        done(PasteOutcome::unavailable);
        return;
    }
    // The keys reach whichever window has the keyboard: only the one they are meant for may.
    const std::optional<Front> front = m_front ? m_front() : std::nullopt;
    if (!front || target.handle == 0 || front->handle != target.handle) {
        done(PasteOutcome::windowNotActive);
        return;
    }
    const QByteArray id = front->appId.toUtf8();
    const QList<PasteKeymap::Stroke> strokes = m_keymap->paste(TerminalEmulators::isTerminal(id, id));
    // A no-change modifiers event makes ours the seat's current keyboard, which sends our keymap to
    // the focused client; the keys come once it has had a moment to take it.
    m_connection.post([this] {
        if (m_keyboard) {
            zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
        }
    });
    m_connection.post(
        [this, strokes] {
            if (!m_keyboard) {
                return;
            }
            for (const PasteKeymap::Stroke& stroke : strokes) {
                zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), stroke.key,
                                            stroke.pressed ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                           : WL_KEYBOARD_KEY_STATE_RELEASED);
                zwp_virtual_keyboard_v1_modifiers(m_keyboard, stroke.modifiers, 0, 0, 0);
            }
        },
        std::chrono::milliseconds(keymapSettleMs));
    done(PasteOutcome::posted);
}
