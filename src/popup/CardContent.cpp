// Texts and actions of the cards, and the few parsers they need.
#include "popup/CardContent.h"

#include "capture/ColorHex.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QTextBoundaryFinder>
#include <cmath>

namespace {
qint64 graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qint64 count = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

QString fileName(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) {
        trimmed.chop(1);
    }
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? trimmed : trimmed.mid(slash + 1);
}

QString folderOf(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) {
        trimmed.chop(1);
    }
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return QString();
    }
    return slash == 0 ? QStringLiteral("/") : trimmed.left(slash);
}

int channel(double component)
{
    return static_cast<int>(std::lround(component * 255.0)); // lround rounds halves away from zero
}
} // namespace

std::optional<QUrl> CardContent::parseUrl(const QString& text)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        return std::nullopt;
    }
    return url;
}

QString CardContent::linkHost(const ClipboardItem& item)
{
    if (!item.text) {
        return QString();
    }
    const QString trimmed = item.text->trimmed();
    const std::optional<QUrl> url = parseUrl(trimmed);
    if (!url) {
        return *item.text;
    }
    const QString host = url->host();
    return host.isEmpty() ? trimmed : host;
}

QList<CardAction> CardContent::smartActions(const ClipboardItem& item, const CardActionHandlers& handlers)
{
    switch (item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::richText:
    case ClipboardKind::html:
        return {};
    case ClipboardKind::link: {
        if (!item.text) {
            return {};
        }
        const std::optional<QUrl> url = parseUrl(item.text->trimmed());
        if (!url) {
            return {};
        }
        return {{QStringLiteral("open"), QStringLiteral("arrow.up.right.square"), QStringLiteral("Open in browser"),
                 [open = handlers.openUrl, target = *url] {
                     if (open) {
                         open(target);
                     }
                 }}};
    }
    case ClipboardKind::file: {
        if (!item.filePaths || item.filePaths->isEmpty()) {
            return {};
        }
        return {{QStringLiteral("reveal"), QStringLiteral("magnifyingglass"), QStringLiteral("Reveal in Finder"),
                 [reveal = handlers.revealFile, path = item.filePaths->first()] {
                     if (reveal) {
                         reveal(path);
                     }
                 }}};
    }
    case ClipboardKind::image:
    case ClipboardKind::pdf: {
        const std::optional<QString> path = item.imagePath ? item.imagePath : item.assetPath;
        if (!path) {
            return {};
        }
        return {{QStringLiteral("save"), QStringLiteral("square.and.arrow.down"), QStringLiteral("Save\u2026"),
                 [save = handlers.saveFile, file = *path] {
                     if (save) {
                         save(file);
                     }
                 }}};
    }
    case ClipboardKind::color: {
        const std::optional<QColor> color = item.colorHex ? fromHex(*item.colorHex) : std::nullopt;
        if (!color) {
            return {};
        }
        const QString text = rgbText(*color);
        return {{QStringLiteral("rgb"), QStringLiteral("circle.lefthalf.filled"), QStringLiteral("Copy as ") + text,
                 [copy = handlers.copyText, text] {
                     if (copy) {
                         copy(text);
                     }
                 }}};
    }
    }
    return {};
}

bool CardContent::isImageFile(const QString& path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1) {
        return false;
    }
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("file.") + name.mid(dot + 1), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) {
        return false;
    }
    if (type.name().startsWith(QLatin1String("image/"))) {
        return true;
    }
    const QStringList ancestors = type.allAncestors();
    return std::any_of(ancestors.cbegin(), ancestors.cend(),
                       [](const QString& ancestor) { return ancestor.startsWith(QLatin1String("image/")); });
}

bool CardContent::showsFirstFileImage(const ClipboardItem& item)
{
    return item.filePaths && !item.filePaths->isEmpty() && isImageFile(item.filePaths->first());
}

QString CardContent::characterCountText(const ClipboardItem& item)
{
    qint64 count = 0;
    if (item.characterCount) {
        count = *item.characterCount;
    } else if (item.text) {
        count = graphemeCount(*item.text);
    }
    return QString::number(count) + QStringLiteral(" characters");
}

QString CardContent::fileFolderText(const ClipboardItem& item, const QString& homePath)
{
    if (!item.filePaths || item.filePaths->isEmpty()) {
        return QStringLiteral("File");
    }
    const QString folder = folderOf(item.filePaths->first());
    QString home = homePath;
    while (home.size() > 1 && home.endsWith(QLatin1Char('/'))) {
        home.chop(1);
    }
    if (!home.isEmpty() && home != QLatin1String("/") &&
        (folder == home || folder.startsWith(home + QLatin1Char('/')))) {
        return QLatin1Char('~') + folder.mid(home.size());
    }
    return folder;
}

QString CardContent::moreFilesText(const ClipboardItem& item)
{
    if (!item.filePaths || item.filePaths->size() < 2) {
        return QString();
    }
    return QStringLiteral("+") + QString::number(item.filePaths->size() - 1) + QStringLiteral(" more");
}

QString CardContent::firstFileName(const ClipboardItem& item)
{
    if (!item.filePaths || item.filePaths->isEmpty()) {
        return QString();
    }
    return fileName(item.filePaths->first());
}

QString CardContent::previewText(const QString& text, qsizetype maxCharacters)
{
    const QString start = text.left(maxCharacters);
    QString out;
    out.reserve(start.size());
    for (qsizetype i = 0; i < start.size(); ++i) {
        const QChar c = start.at(i);
        if (c == QLatin1Char('\r')) {
            out += QChar::LineSeparator;
            if (i + 1 < start.size() && start.at(i + 1) == QLatin1Char('\n')) {
                ++i;
            }
        } else if (c == QLatin1Char('\n') || c == QChar(0x85) || c == QChar::ParagraphSeparator) {
            out += QChar::LineSeparator;
        } else if (c == QLatin1Char('\t')) {
            out += QLatin1String("    ");
        } else {
            out += c;
        }
    }
    return out;
}

QString CardContent::cardToolTip(int index)
{
    return QStringLiteral("Press ") + QString::number(index) + QStringLiteral(" or click to paste");
}

QString CardContent::rgbText(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return QStringLiteral("rgb(%1, %2, %3)")
        .arg(channel(rgb.redF()))
        .arg(channel(rgb.greenF()))
        .arg(channel(rgb.blueF()));
}
