#include "platform/x11/X11Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

X11Clipboard::X11Clipboard(QObject* parent) : Clipboard(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        ++m_changeCount;
        emit changed();
    });
}

X11Clipboard::~X11Clipboard() = default;

qint64 X11Clipboard::changeCount() const
{
    return m_changeCount;
}

void X11Clipboard::replaceContents(const PasteboardContent& content)
{
    m_owner.replace(content);
}

std::unique_ptr<PasteboardReader> X11Clipboard::open(std::chrono::steady_clock::time_point)
{
    return nullptr;
}
