#include "paste/Pasteboard.h"

#include "capture/ClipboardMonitor.h"
#include "capture/ColorHex.h"
#include "history/ClipboardItem.h"
#include "platform/Clipboard.h"
#include "platform/KeySynthesizer.h"
#include "platform/PasteboardTypes.h"
#include "platform/Platform.h"

#include <QColor>
#include <QFile>
#include <QUrl>
#include <cstdint>
#include <optional>

namespace {
const QString rtfdSuffix = QStringLiteral(".rtfd");

std::optional<QByteArray> readWholeFile(const std::optional<QString>& path)
{
    if (!path) {
        return std::nullopt;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

void writeText(PasteboardContent& content, const ClipboardItem& item)
{
    if (item.text) {
        content.data.append({PasteboardType::string, item.text->toUtf8()});
    }
}

void writeAssetOrText(PasteboardContent& content, const ClipboardItem& item, const QString& type)
{
    if (auto bytes = readWholeFile(item.assetPath)) {
        content.data.append({type, *bytes});
    } else {
        writeText(content, item);
    }
}
} // namespace

PasteboardContent Pasteboard::contentFor(const ClipboardItem& item, bool plainOnly)
{
    PasteboardContent content;
    switch (item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::link:
        writeText(content, item);
        break;
    case ClipboardKind::richText:
        if (plainOnly) {
            writeText(content, item);
        } else {
            const bool isRtfd = item.assetPath && item.assetPath->endsWith(rtfdSuffix);
            writeAssetOrText(content, item, isRtfd ? PasteboardType::flatRtfd : PasteboardType::rtf);
        }
        break;
    case ClipboardKind::html:
        if (plainOnly) {
            writeText(content, item);
        } else {
            writeAssetOrText(content, item, PasteboardType::html);
        }
        break;
    case ClipboardKind::image:
        if (auto bytes = readWholeFile(item.imagePath)) {
            content.data.append({PasteboardType::png, *bytes});
        }
        break;
    case ClipboardKind::pdf:
        writeAssetOrText(content, item, PasteboardType::pdf);
        break;
    case ClipboardKind::color:
        if (item.colorHex) {
            if (auto color = fromHex(*item.colorHex)) {
                content.colors.append(*color);
                content.hasColors = true;
            }
        }
        break;
    case ClipboardKind::file:
        if (item.filePaths) {
            for (const QString& path : *item.filePaths) {
                content.urls.append(QUrl::fromLocalFile(path));
            }
            content.hasUrls = true;
        }
        break;
    }
    return content;
}

void Pasteboard::place(const ClipboardItem& item, bool plainOnly, Clipboard& clipboard,
                       const std::function<void()>& suppressNext)
{
    // Marked before the clipboard changes, so the monitor's next poll already knows the change is ours.
    suppressNext();
    // One replacement, also when nothing could be written: the old content goes either way, and the
    // monitor's skip is spent on exactly this change.
    clipboard.replaceContents(contentFor(item, plainOnly));
}

void Pasteboard::place(const ClipboardItem& item, bool plainOnly)
{
    place(item, plainOnly, *Platform::current().clipboard, [] { ClipboardMonitor::shared().suppressNext(); });
}

void Pasteboard::simulatePaste(KeySynthesizer& keys, const RunningApplication& target,
                               std::function<void(PasteOutcome)> done)
{
    if (!keys.isTrusted(false)) {
        done(PasteOutcome::unavailable);
        return;
    }
    keys.postPaste(target, std::move(done));
}

void Pasteboard::simulatePaste(const RunningApplication& target, std::function<void(PasteOutcome)> done)
{
    simulatePaste(*Platform::current().keys, target, std::move(done));
}

bool Pasteboard::hasAccessibilityPermission(KeySynthesizer& keys, bool promptIfMissing)
{
    return keys.isTrusted(promptIfMissing);
}

bool Pasteboard::hasAccessibilityPermission(bool promptIfMissing)
{
    return hasAccessibilityPermission(*Platform::current().keys, promptIfMissing);
}
