#include "platform/x11/X11ClipboardOwner.h"

#include "platform/PasteboardTypes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

X11ClipboardOwner::X11ClipboardOwner(QObject* parent) : QObject(parent) {}

X11ClipboardOwner::~X11ClipboardOwner() = default;

void X11ClipboardOwner::replace(const PasteboardContent& content)
{
    auto* mime = new QMimeData;
    for (const auto& [type, bytes] : content.data) {
        if (type == PasteboardType::string) {
            mime->setText(QString::fromUtf8(bytes));
        }
    }
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
}
