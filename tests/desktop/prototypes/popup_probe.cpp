// A measuring prototype, not part of the program: shows a popup panel (translucent, rounded top,
// a search field) at the bottom of a sway output in one of two ways, and reports what it receives.
//
//   popup_probe xcb <height>     a Qt window through XWayland; the caller places it over sway's IPC
//   popup_probe layer <height>   our own wl_surface as a zwlr_layer_shell_v1 surface, Qt painting
//                                the panel into shared-memory buffers, our keyboard handling
//                                forwarding keys to the widgets
//
// It prints "typed <text>" as the field changes and ends on Escape.
#include <wayland-client.h>
// The generated C header names an argument "namespace".
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace {
void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class Panel final : public QWidget
{
public:
    Panel()
    {
        setAttribute(Qt::WA_TranslucentBackground);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 24, 24, 24);
        field = new QLineEdit(this);
        field->setPlaceholderText(QStringLiteral("Search"));
        layout->addWidget(field);
        layout->addStretch();
        QObject::connect(field, &QLineEdit::textChanged, [](const QString& text) { say(QStringLiteral("typed ") + text); });
    }
    QLineEdit* field = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal radius = 16;
        QPainterPath path;
        const QRectF r = rect();
        // Rounded top corners only: the panel stands on the output's bottom edge.
        path.moveTo(r.left(), r.bottom() + 1);
        path.lineTo(r.left(), r.top() + radius);
        path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
        path.lineTo(r.right() - radius, r.top());
        path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
        path.lineTo(r.right(), r.bottom() + 1);
        path.closeSubpath();
        painter.fillPath(path, QColor(40, 40, 48, 200));
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            say(QStringLiteral("escape"));
            QCoreApplication::quit();
        }
    }
};

int runXcb(int height)
{
    Panel panel;
    panel.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    panel.resize(1920, height);
    panel.show();
    panel.activateWindow();
    panel.field->setFocus();
    say(QStringLiteral("shown pid %1").arg(QCoreApplication::applicationPid()));
    return QApplication::exec();
}

// The layer-shell way: every piece a Qt platform plugin would otherwise give.
struct Layer
{
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layerSurface = nullptr;
    wl_keyboard* keyboard = nullptr;
    xkb_context* xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    Panel* panel = nullptr;
    int width = 0;
    int height = 0;
    bool closed = false;

    void draw()
    {
        const int stride = width * 4;
        const int size = stride * height;
        const int fd = memfd_create("popup-probe", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, size) != 0) {
            return;
        }
        void* pixels = mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        // ARGB8888 little-endian is Qt's premultiplied ARGB32.
        QImage image(static_cast<uchar*>(pixels), width, height, stride, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        panel->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
        wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
        wl_shm_pool_destroy(pool);
        ::close(fd);
        wl_surface_attach(surface, buffer, 0, 0);
        wl_surface_damage_buffer(surface, 0, 0, width, height);
        wl_surface_commit(surface);
        struct Mapping
        {
            void* pixels;
            size_t size;
        };
        static const wl_buffer_listener release = {[](void* data, wl_buffer* b) {
            auto* mapping = static_cast<Mapping*>(data);
            wl_buffer_destroy(b);
            munmap(mapping->pixels, mapping->size);
            delete mapping;
        }};
        wl_buffer_add_listener(buffer, &release, new Mapping{pixels, size_t(size)});
        wl_display_flush(display);
    }

    void key(std::uint32_t code, bool pressed)
    {
        if (!state) {
            return;
        }
        const xkb_keycode_t keycode = code + 8;
        const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state, keycode);
        char text[16] = {};
        xkb_state_key_get_utf8(state, keycode, text, sizeof text);
        int qtKey = 0;
        switch (keysym) {
        case XKB_KEY_Escape: qtKey = Qt::Key_Escape; break;
        case XKB_KEY_Return: qtKey = Qt::Key_Return; break;
        case XKB_KEY_BackSpace: qtKey = Qt::Key_Backspace; break;
        default: qtKey = int(QChar(text[0]).toUpper().unicode());
        }
        QKeyEvent event(pressed ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier,
                        keysym == XKB_KEY_Escape ? QString() : QString::fromUtf8(text));
        QWidget* target = qtKey == Qt::Key_Escape ? static_cast<QWidget*>(panel) : panel->field;
        QCoreApplication::sendEvent(target, &event);
        draw();
    }
};

const wl_registry_listener registryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
        auto* layer = static_cast<Layer*>(data);
        if (std::strcmp(interface, "wl_compositor") == 0) {
            layer->compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
        } else if (std::strcmp(interface, "wl_shm") == 0) {
            layer->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
        } else if (std::strcmp(interface, "wl_seat") == 0 && !layer->seat) {
            layer->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        } else if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0) {
            layer->shell = static_cast<zwlr_layer_shell_v1*>(wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
        }
    },
    [](void*, wl_registry*, std::uint32_t) {}};

const zwlr_layer_surface_v1_listener layerListener = {
    [](void* data, zwlr_layer_surface_v1* surface, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
        auto* layer = static_cast<Layer*>(data);
        zwlr_layer_surface_v1_ack_configure(surface, serial);
        layer->width = int(width);
        layer->height = int(height);
        layer->panel->resize(layer->width, layer->height);
        say(QStringLiteral("configured %1x%2").arg(width).arg(height));
        layer->draw();
    },
    [](void* data, zwlr_layer_surface_v1*) { static_cast<Layer*>(data)->closed = true; }};

const wl_keyboard_listener keyboardListener = {
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
        auto* layer = static_cast<Layer*>(data);
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (text != MAP_FAILED) {
                xkb_keymap_unref(layer->keymap);
                xkb_state_unref(layer->state);
                layer->keymap = xkb_keymap_new_from_string(layer->xkb, static_cast<const char*>(text),
                                                           XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
                layer->state = layer->keymap ? xkb_state_new(layer->keymap) : nullptr;
                munmap(text, size);
            }
        }
        ::close(fd);
    },
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) { say(QStringLiteral("keyboard focus")); },
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*) { say(QStringLiteral("keyboard left")); },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state) {
        static_cast<Layer*>(data)->key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
       std::uint32_t group) {
        auto* layer = static_cast<Layer*>(data);
        if (layer->state) {
            xkb_state_update_mask(layer->state, depressed, latched, locked, 0, 0, group);
        }
    },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {}};

// A seat without a keyboard yet (a headless one, before a virtual keyboard appears) hands out
// inert keyboards: the keyboard is asked for when the seat says it has one.
const wl_seat_listener seatListener = {
    [](void* data, wl_seat* seat, std::uint32_t capabilities) {
        auto* layer = static_cast<Layer*>(data);
        if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !layer->keyboard) {
            layer->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(layer->keyboard, &keyboardListener, layer);
            say(QStringLiteral("keyboard capability"));
        } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && layer->keyboard) {
            // The last keyboard went away (each wtype run is a keyboard of its own): that object is dead.
            wl_keyboard_destroy(layer->keyboard);
            layer->keyboard = nullptr;
        }
    },
    [](void*, wl_seat*, const char*) {}};

int runLayer(int height)
{
    Layer layer;
    Panel panel;
    layer.panel = &panel;
    layer.display = wl_display_connect(nullptr);
    if (!layer.display) {
        say(QStringLiteral("no wayland display"));
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(layer.display);
    wl_registry_add_listener(registry, &registryListener, &layer);
    wl_display_roundtrip(layer.display);
    if (!layer.shell || !layer.compositor || !layer.shm) {
        say(QStringLiteral("no layer shell"));
        return 1;
    }
    layer.surface = wl_compositor_create_surface(layer.compositor);
    layer.layerSurface = zwlr_layer_shell_v1_get_layer_surface(layer.shell, layer.surface, nullptr,
                                                               ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "stashwell-popup");
    zwlr_layer_surface_v1_set_anchor(layer.layerSurface, ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                              ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                              ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(layer.layerSurface, 0, std::uint32_t(height));
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer.layerSurface, 1);
    zwlr_layer_surface_v1_add_listener(layer.layerSurface, &layerListener, &layer);
    wl_seat_add_listener(layer.seat, &seatListener, &layer);
    wl_surface_commit(layer.surface);
    wl_display_flush(layer.display);
    say(QStringLiteral("shown pid %1").arg(QCoreApplication::applicationPid()));

    QSocketNotifier events(wl_display_get_fd(layer.display), QSocketNotifier::Read);
    QObject::connect(&events, &QSocketNotifier::activated, [&layer] {
        if (wl_display_dispatch(layer.display) < 0 || layer.closed) {
            QCoreApplication::quit();
        }
        wl_display_flush(layer.display);
    });
    const int status = QApplication::exec();
    zwlr_layer_surface_v1_destroy(layer.layerSurface);
    wl_surface_destroy(layer.surface);
    wl_display_roundtrip(layer.display);
    say(QStringLiteral("closed"));
    wl_display_disconnect(layer.display);
    return status;
}
} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const int height = argc > 2 ? std::atoi(argv[2]) : 300;
    // The layer way uses Qt only to paint: no window of Qt's own.
    qputenv("QT_QPA_PLATFORM", mode == "layer" ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    if (mode == "xcb") {
        return runXcb(height);
    }
    if (mode == "layer") {
        return runLayer(height);
    }
    std::fprintf(stderr, "usage: popup_probe xcb|layer <height>\n");
    return 2;
}
