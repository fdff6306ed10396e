// Card layout: a 50-pixel coloured header, then the body of the item's kind; text, link and
// plain-file cards end in a footer with the info text, the actions and the card's number.
#include "popup/ui/ClipboardCardView.h"

#include "capture/ColorHex.h"
#include "platform/SystemFont.h"
#include "popup/AppIcon.h"
#include "popup/CardPreviewLoader.h"
#include "popup/PreviewImage.h"
#include "popup/RelativeAge.h"
#include "popup/RichTextPreview.h"
#include "popup/WrappedText.h"
#include "popup/ui/PopupStyle.h"
#include "popup/ui/Symbols.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {
constexpr double footerHeight = 18;
constexpr double footerTop = 6;
constexpr double footerBottom = 10;
constexpr double footerSide = 14;
constexpr double footerSpacing = 6;
constexpr double overlayButton = 28;
constexpr double shadowRadius = 14;
constexpr double shadowOffset = 6;
constexpr double shadowOpacity = 0.18;
// Enough characters to fill any card; the rest of a long clip is never laid out.
constexpr qsizetype maxPreviewCharacters = 4000;

QColor lightGrey()
{
    return QColor(245, 245, 245); // white level 0.96
}

QColor cardSecondary()
{
    return PopupStyle::black(0.5);
}

double footerSpace()
{
    return footerTop + footerHeight + footerBottom;
}

QRectF bodyRect(const QSizeF& size)
{
    return QRectF(0, ClipboardCardView::headerHeight, size.width(),
                  std::max(0.0, size.height() - ClipboardCardView::headerHeight));
}

// Box blur of the alpha channel, three passes each way: close to a Gaussian of the same spread.
void blurAlpha(QImage& image, int radius)
{
    if (radius < 1) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    std::vector<int> alpha(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            alpha[static_cast<std::size_t>(y * w + x)] = qAlpha(line[x]);
        }
    }
    std::vector<int> scratch(alpha.size());
    const int window = 2 * radius + 1;
    auto pass = [&](bool horizontal) {
        const int lines = horizontal ? h : w;
        const int length = horizontal ? w : h;
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> int& {
                const int x = horizontal ? i : l;
                const int y = horizontal ? l : i;
                return alpha[static_cast<std::size_t>(y * w + x)];
            };
            auto out = [&](int i) -> int& {
                const int x = horizontal ? i : l;
                const int y = horizontal ? l : i;
                return scratch[static_cast<std::size_t>(y * w + x)];
            };
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) {
                sum += (i >= 0 && i < length) ? at(i) : 0;
            }
            for (int i = 0; i < length; ++i) {
                out(i) = sum / window;
                const int leaving = i - radius;
                const int entering = i + radius + 1;
                sum -= (leaving >= 0) ? at(leaving) : 0;
                sum += (entering < length) ? at(entering) : 0;
            }
        }
        alpha.swap(scratch);
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x] = qRgba(0, 0, 0, alpha[static_cast<std::size_t>(y * w + x)]);
        }
    }
}

QPixmap shadowPixmap(const QSizeF& size, qreal ratio, int margin)
{
    const QSize pixels((size.toSize() + QSize(2 * margin, 2 * margin)) * ratio);
    const QString key = QStringLiteral("stashwell.cardshadow:%1x%2").arg(pixels.width()).arg(pixels.height());
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) {
        return cached;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(margin * ratio, margin * ratio, size.width() * ratio, size.height() * ratio),
                                ClipboardCardView::cornerRadius * ratio, ClipboardCardView::cornerRadius * ratio);
    }
    // A blur radius r spreads like a Gaussian of deviation r / 2; three box passes of half-width
    // about that deviation come close to it.
    blurAlpha(image, static_cast<int>(std::lround(shadowRadius / 2 * ratio)));
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void drawCapsule(QPainter& painter, const QRectF& rect, const QColor& fill)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
}

// Text on a capsule, the capsule sized to the text plus its padding.
QRectF capsuleFor(const QString& text, const QFont& font, double padV, double padH)
{
    const QFontMetricsF metrics(font);
    return QRectF(0, 0, metrics.horizontalAdvance(text) + 2 * padH, metrics.height() + 2 * padV);
}

qreal ratioOf(const QPainter& painter)
{
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

// The pictures of an image or PDF entry, the thumbnail first.
QStringList imagePaths(const ClipboardItem& item)
{
    QStringList paths;
    if (item.thumbnailPath) {
        paths << *item.thumbnailPath;
    }
    if (item.imagePath) {
        paths << *item.imagePath;
    }
    return paths;
}

PreviewImage::Crop cropOf(const ClipboardItem& item)
{
    // A document's first page shows from its top, where its title is.
    return item.kind == ClipboardKind::pdf ? PreviewImage::Crop::top : PreviewImage::Crop::centre;
}
} // namespace

ClipboardCardView::ClipboardCardView(const ClipboardItem& item, int index, bool isSelected, Callbacks callbacks,
                                     const CardActionHandlers& handlers, const RelativeAge& age, const QDateTime& now)
    : m_item(item), m_index(index), m_isSelected(isSelected), m_callbacks(std::move(callbacks)),
      m_actions(CardContent::smartActions(item, handlers)), m_headerColor(AppIcon::accentColor(item.sourceBundleID)),
      m_sourceIcon(AppIcon::icon(item.sourceBundleID)), m_ageText(age.format(item.createdAt, now)),
      m_ageSecond(now.toSecsSinceEpoch())
{
    if (item.kind == ClipboardKind::link) {
        m_footerText = CardContent::linkHost(item);
    } else if (item.kind == ClipboardKind::file) {
        m_footerText = CardContent::fileFolderText(item, QDir::homePath());
    } else {
        m_footerText = CardContent::characterCountText(item);
    }
}

ClipboardCardView::~ClipboardCardView() = default;

void ClipboardCardView::refreshAge(const RelativeAge& age, const QDateTime& now)
{
    const qint64 second = now.toSecsSinceEpoch();
    if (second != m_ageSecond) {
        m_ageText = age.format(m_item.createdAt, now);
        m_ageSecond = second;
    }
}

bool ClipboardCardView::hasFooter() const
{
    switch (m_item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::richText:
    case ClipboardKind::html:
    case ClipboardKind::link:
        return true;
    case ClipboardKind::file:
        return !(m_item.filePaths && !m_item.filePaths->isEmpty() &&
                 CardContent::isImageFile(m_item.filePaths->first()));
    default:
        return false;
    }
}

// --- geometry ------------------------------------------------------------------------------------

// The hover buttons stand in the header left of the source icon, which stays in view: the title
// and the age give way to them.
QRectF ClipboardCardView::deleteButtonRect(const QSizeF& size) const
{
    const QRectF icon = sourceIconRect(size);
    return QRectF(icon.left() - 8 - 20, icon.center().y() - 10, 20, 20);
}

QRectF ClipboardCardView::pinButtonRect(const QSizeF& size) const
{
    const QRectF del = deleteButtonRect(size);
    return QRectF(del.left() - 4 - 24, del.center().y() - 12, 24, 24);
}

QRectF ClipboardCardView::sourceIconRect(const QSizeF& size) const
{
    return QRectF(size.width() - 12 - 28, 8, 28, 28);
}

QList<QRectF> ClipboardCardView::actionRects(const QSizeF& size) const
{
    QList<QRectF> rects;
    if (m_actions.isEmpty()) {
        return rects;
    }
    if (hasFooter()) {
        const double centreY = size.height() - footerBottom - footerHeight / 2;
        const QFontMetricsF badge(SystemFont::regular(11, QFont::Medium));
        const double badgeWidth = 9 + 3 + badge.horizontalAdvance(QString::number(m_index));
        double right = size.width() - footerSide - badgeWidth - footerSpacing;
        for (qsizetype i = m_actions.size() - 1; i >= 0; --i) {
            rects.prepend(QRectF(right - 18, centreY - 9, 18, 18));
            right -= 18 + footerSpacing;
        }
        return rects;
    }
    double right = size.width() - 8;
    for (qsizetype i = m_actions.size() - 1; i >= 0; --i) {
        rects.prepend(QRectF(right - overlayButton, size.height() - 8 - overlayButton, overlayButton, overlayButton));
        right -= overlayButton + footerSpacing;
    }
    return rects;
}

ClipboardCardView::Hit ClipboardCardView::hitTest(const QPointF& point, const QSizeF& size, bool hovering) const
{
    if (!QRectF(QPointF(0, 0), size).contains(point)) {
        return {};
    }
    if (hovering) {
        if (deleteButtonRect(size).contains(point)) {
            return {Part::deleteButton};
        }
        if (pinButtonRect(size).contains(point)) {
            return {Part::pinButton};
        }
    }
    // Footer actions are always there; the ones over a footerless body only while hovered.
    if (hovering || hasFooter()) {
        const QList<QRectF> rects = actionRects(size);
        for (int i = 0; i < rects.size(); ++i) {
            if (rects.at(i).contains(point)) {
                return {Part::action, i};
            }
        }
    }
    if (sourceIconRect(size).contains(point)) {
        return {Part::sourceIcon};
    }
    return {Part::card};
}

QString ClipboardCardView::toolTip(const Hit& hit) const
{
    switch (hit.part) {
    case Part::pinButton:
        return m_item.isPinned ? QStringLiteral("Unpin") : QStringLiteral("Pin to top");
    case Part::action:
        return hit.action >= 0 && hit.action < m_actions.size() ? m_actions.at(hit.action).label : QString();
    case Part::sourceIcon:
        return m_item.sourceAppName.value_or(QString());
    case Part::none:
        return QString();
    default:
        return CardContent::cardToolTip(m_index);
    }
}

void ClipboardCardView::click(const Hit& hit)
{
    std::function<void()> run;
    switch (hit.part) {
    case Part::none:
        return;
    case Part::pinButton:
        run = m_callbacks.onTogglePin;
        break;
    case Part::deleteButton:
        run = m_callbacks.onDelete;
        break;
    case Part::action:
        if (hit.action >= 0 && hit.action < m_actions.size()) {
            run = m_actions.at(hit.action).run;
        }
        break;
    default:
        run = m_callbacks.onActivate;
        break;
    }
    // The callback may delete this card (a pick closes the popup, a deletion rebuilds the strip):
    // it runs from a copy and is the last thing done here.
    if (run) {
        run();
    }
}

// --- painting ------------------------------------------------------------------------------------

void ClipboardCardView::paintShadow(QPainter& painter, const QRectF& rect)
{
    const int margin = static_cast<int>(shadowRadius * 2);
    const QPixmap shadow = shadowPixmap(rect.size(), ratioOf(painter), margin);
    painter.save();
    painter.setOpacity(painter.opacity() * shadowOpacity);
    painter.drawPixmap(QPointF(rect.x() - margin, rect.y() - margin + shadowOffset), shadow);
    painter.restore();
}

void ClipboardCardView::paint(QPainter& painter, const QRectF& rect, double hover)
{
    painter.save();
    painter.translate(rect.topLeft());
    const QRectF local(QPointF(0, 0), rect.size());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath shape;
    shape.addRoundedRect(local, cornerRadius, cornerRadius);
    painter.save();
    painter.setClipPath(shape);
    m_hover = hover;
    painter.fillRect(local, Qt::white);
    paintHeader(painter, local);
    paintBody(painter, bodyRect(local.size()));
    painter.restore();

    // The border is stroked inside the card's edge.
    const double width = m_isSelected ? 3 : 1;
    const QColor color = m_isSelected ? PopupStyle::accent() : PopupStyle::black(0.06);
    const double inset = width / 2;
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(local.adjusted(inset, inset, -inset, -inset), cornerRadius - inset, cornerRadius - inset);

    if (hover > 0) {
        if (!hasFooter()) {
            paintOverlayActions(painter, local, hover);
        }
        paintHoverButtons(painter, local, hover);
    }
    painter.restore();
}

void ClipboardCardView::paintHeader(QPainter& painter, const QRectF& rect)
{
    const QRectF band(0, 0, rect.width(), headerHeight);
    painter.fillRect(band, m_headerColor);

    const QRectF icon = sourceIconRect(rect.size());
    const double textLeft = 12;
    const double textRight = m_hover > 0 ? pinButtonRect(rect.size()).left() : icon.left();
    const double textWidth = std::max(0.0, textRight - 8 - textLeft);
    const QFont titleFont = SystemFont::regular(14, QFont::DemiBold);
    const QFont ageFont = SystemFont::regular(11);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF ageMetrics(ageFont);
    const double textHeight = titleMetrics.height() + 2 + ageMetrics.height();
    const double top = std::max(6.0, (headerHeight - textHeight) / 2);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(textLeft, top, textWidth, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(m_item.displayTitle(), Qt::ElideRight, textWidth));
    painter.setFont(ageFont);
    painter.setPen(PopupStyle::white(0.85));
    painter.drawText(QRectF(textLeft, top + titleMetrics.height() + 2, textWidth, ageMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, ageMetrics.elidedText(m_ageText, Qt::ElideRight, textWidth));

    if (m_sourceIcon) {
        const qreal ratio = ratioOf(painter);
        QPixmap pixmap = m_sourceIcon->pixmap(QSize(28, 28), ratio);
        painter.drawPixmap(icon, pixmap, QRectF(QPointF(0, 0), pixmap.size()));
    } else {
        Symbols::draw(painter, QStringLiteral("app.dashed"), icon.adjusted(3, 3, -3, -3), PopupStyle::white(0.9));
    }
}

void ClipboardCardView::paintBody(QPainter& painter, const QRectF& body)
{
    switch (m_item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::richText:
    case ClipboardKind::html:
    case ClipboardKind::link: {
        const QRectF area(body.left() + 14, body.top() + 12, body.width() - 28,
                          std::max(0.0, body.height() - 12 - footerSpace()));
        paintTextPreview(painter, area);
        paintFooter(painter, body, m_footerText, m_item.kind != ClipboardKind::link);
        break;
    }
    case ClipboardKind::image:
    case ClipboardKind::pdf:
        paintImageBody(painter, body, imagePaths(m_item), m_item.kind == ClipboardKind::pdf);
        break;
    case ClipboardKind::color:
        paintColorBody(painter, body);
        break;
    case ClipboardKind::file:
        if (m_item.filePaths && !m_item.filePaths->isEmpty() && CardContent::isImageFile(m_item.filePaths->first())) {
            paintImageFileBody(painter, body, m_item.filePaths->first());
        } else {
            paintGenericFileBody(painter, body);
            paintFooter(painter, body, m_footerText, false);
        }
        break;
    }
}

void ClipboardCardView::paintTextPreview(QPainter& painter, const QRectF& area)
{
    if (area.isEmpty()) {
        return;
    }
    if (m_item.kind == ClipboardKind::richText && !m_richTextLoaded) {
        m_richTextLoaded = true;
        RichTextPreview::Preview preview = RichTextPreview::load(m_item);
        m_richText = std::move(preview.document);
        m_richTextIsCut = preview.isCut;
        if (m_richText) {
            // Text without a size of its own gets 12 points, drawn as 12 pixels like the plain cards.
            QFont base = SystemFont::regular(12);
            base.setPointSizeF(12);
            m_richText->setDefaultFont(base);
            m_richText->setDocumentMargin(0);
        }
    }
    if (m_richText) {
        paintRichText(painter, area);
        return;
    }

    const QFont font = SystemFont::regular(12, m_item.kind == ClipboardKind::link ? QFont::Medium : QFont::Normal);
    if (!m_textLayout || m_textLayoutSize != area.size()) {
        const QString text = CardContent::previewText(m_item.text.value_or(QString()), maxPreviewCharacters);
        m_textLayout = std::make_unique<QTextLayout>(text, font);
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_textLayout->setTextOption(option);
        m_textLayout->setCacheEnabled(true);
        const QFontMetricsF metrics(font);
        double y = 0;
        m_visibleLines = 0;
        bool truncated = false;
        m_textLayout->beginLayout();
        while (true) {
            QTextLine line = m_textLayout->createLine();
            if (!line.isValid()) {
                break;
            }
            line.setLineWidth(area.width());
            if (y + line.height() > area.height()) {
                truncated = true;
                break;
            }
            line.setPosition(QPointF(0, y));
            y += line.height();
            ++m_visibleLines;
        }
        m_textLayout->endLayout();
        truncated = truncated || m_item.text.value_or(QString()).size() > maxPreviewCharacters;
        m_elidedLastLine.clear();
        if (truncated && m_visibleLines > 0) {
            // The last visible line ends in an ellipsis where the text goes on.
            const QTextLine last = m_textLayout->lineAt(m_visibleLines - 1);
            QString rest = text.mid(last.textStart(), 400);
            if (const qsizetype end = rest.indexOf(QChar::LineSeparator); end >= 0) {
                rest.truncate(end);
            }
            rest = rest.trimmed();
            const QString withEllipsis = rest + QChar(0x2026);
            m_elidedLastLine =
                metrics.horizontalAdvance(withEllipsis) <= area.width()
                    ? withEllipsis
                    : metrics.elidedText(rest + QStringLiteral("\u2026\u2026"), Qt::ElideRight, area.width());
            m_elidedLastLineRect = QRectF(0, last.y(), area.width(), last.height());
        }
        m_textLayoutSize = area.size();
    }
    painter.save();
    painter.setPen(PopupStyle::black(0.85));
    painter.setFont(font);
    const int plainLines = m_elidedLastLine.isEmpty() ? m_visibleLines : m_visibleLines - 1;
    for (int i = 0; i < plainLines; ++i) {
        m_textLayout->lineAt(i).draw(&painter, area.topLeft());
    }
    if (!m_elidedLastLine.isEmpty()) {
        const QTextLine last = m_textLayout->lineAt(m_visibleLines - 1);
        painter.drawText(QPointF(area.left(), area.top() + last.y() + last.ascent()), m_elidedLastLine);
    }
    painter.restore();
}

void ClipboardCardView::paintRichText(QPainter& painter, const QRectF& area)
{
    // The document keeps its own fonts and sizes, one point to a pixel; it is laid out in points
    // and cut after the last line that fits whole.
    const double scale = RichTextPreview::pointScale();
    const QSizeF size(area.width() / scale, area.height() / scale);
    if (size != m_richTextSize) {
        m_richText->setTextWidth(size.width());
        m_richCut = RichTextPreview::cutAtWholeLines(*m_richText, size, m_richTextIsCut);
        m_richTextSize = size;
    }
    QPainterPath shown;
    if (m_richCut.hasLastLine) {
        shown.addRect(QRectF(0, 0, size.width(), m_richCut.lineTop));
        shown.addRect(QRectF(0, m_richCut.lineTop, m_richCut.textEnd, m_richCut.lineHeight));
    } else {
        shown.addRect(QRectF(QPointF(0, 0), size));
    }
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.setClipPath(shown, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown.boundingRect();
    context.palette.setColor(QPalette::Text, Qt::black);
    m_richText->documentLayout()->draw(&painter, context);
    painter.setClipping(false);
    if (m_richCut.hasLastLine) {
        painter.setFont(m_richCut.font);
        painter.setPen(m_richCut.color);
        painter.drawText(QPointF(m_richCut.textEnd, m_richCut.lineTop + m_richCut.ascent), QString(QChar(0x2026)));
    }
    painter.restore();
}

void ClipboardCardView::paintFooter(QPainter& painter, const QRectF& body, const QString& infoText, bool isCharCount)
{
    const QRectF footer(body.left() + footerSide, body.bottom() - footerBottom - footerHeight,
                        body.width() - 2 * footerSide, footerHeight);
    // Number badge, right-aligned.
    const QFont badgeFont = SystemFont::regular(11, QFont::Medium);
    const QFontMetricsF badgeMetrics(badgeFont);
    const QString number = QString::number(m_index);
    const double numberWidth = badgeMetrics.horizontalAdvance(number);
    const double badgeLeft = footer.right() - numberWidth - 3 - 9;
    Symbols::draw(painter, QStringLiteral("text.alignleft"), QRectF(badgeLeft, footer.center().y() - 4.5, 9, 9),
                  PopupStyle::black(0.4));
    painter.setFont(badgeFont);
    painter.setPen(PopupStyle::black(0.4));
    painter.drawText(QRectF(footer.right() - numberWidth, footer.top(), numberWidth + 1, footer.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, number);

    const QList<QRectF> actions = actionRects(QSizeF(body.width(), body.bottom()));
    for (int i = 0; i < actions.size(); ++i) {
        Symbols::draw(painter, m_actions.at(i).icon, actions.at(i).adjusted(2.5, 2.5, -2.5, -2.5),
                      PopupStyle::black(0.55));
    }
    const double infoRight = (actions.isEmpty() ? badgeLeft : actions.first().left()) - footerSpacing;
    const double infoWidth = std::max(0.0, infoRight - footer.left());
    if (!infoText.isEmpty()) {
        const QFont infoFont = SystemFont::regular(11);
        const QFontMetricsF infoMetrics(infoFont);
        painter.setFont(infoFont);
        painter.setPen(PopupStyle::black(isCharCount ? 0.45 : 0.5));
        QString shown = infoText;
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        painter.drawText(QRectF(footer.left(), footer.top(), infoWidth, footer.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         infoMetrics.elidedText(shown, isCharCount ? Qt::ElideRight : Qt::ElideMiddle, infoWidth));
    }
}

void ClipboardCardView::paintImageBody(QPainter& painter, const QRectF& body, const QStringList& paths, bool isPdf)
{
    painter.fillRect(body, lightGrey());
    const qreal ratio = ratioOf(painter);
    const QSize size = (body.size() * ratio).toSize();
    QPixmap preview = PreviewImage::cached(paths, size, cropOf(m_item));
    if (preview.isNull() && !paths.isEmpty()) {
        const CardPreview& read = workerPreview(size, cropOf(m_item));
        if (!read.isReady) {
            return; // the grey body, until the picture is read
        }
        preview = read.pixmap;
    }
    if (!preview.isNull()) {
        preview.setDevicePixelRatio(ratio);
        painter.drawPixmap(body.topLeft(), preview);
        return;
    }
    const QFont font = SystemFont::regular(isPdf ? 11 : 10);
    const QFontMetricsF metrics(font);
    const double symbol = isPdf ? 30 : 24;
    const double spacing = isPdf ? 8 : 6;
    const double total = symbol + spacing + metrics.height();
    const double top = body.center().y() - total / 2;
    Symbols::draw(painter, isPdf ? QStringLiteral("doc.richtext.fill") : QStringLiteral("photo"),
                  QRectF(body.center().x() - symbol / 2, top, symbol, symbol),
                  isPdf ? QColor(255, 59, 48, 217) : cardSecondary());
    painter.setFont(font);
    painter.setPen(cardSecondary());
    painter.drawText(QRectF(body.left(), top + symbol + spacing, body.width(), metrics.height()), Qt::AlignCenter,
                     isPdf ? QStringLiteral("PDF") : QStringLiteral("Preview unavailable"));
}

void ClipboardCardView::paintColorBody(QPainter& painter, const QRectF& body)
{
    const std::optional<QColor> color = m_item.colorHex ? fromHex(*m_item.colorHex) : std::optional<QColor>();
    if (!color) {
        painter.fillRect(body, QColor(128, 128, 128));
        return;
    }
    painter.fillRect(body, *color);
    const QFont font = SystemFont::monospaced(12, QFont::DemiBold);
    QRectF capsule = capsuleFor(*m_item.colorHex, font, 4, 9);
    capsule.moveCenter(body.center());
    drawCapsule(painter, capsule, PopupStyle::black(0.55));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(capsule, Qt::AlignCenter, *m_item.colorHex);
}

void ClipboardCardView::paintImageFileBody(QPainter& painter, const QRectF& body, const QString& path)
{
    painter.fillRect(body, lightGrey());
    const qreal ratio = ratioOf(painter);
    const QSize size = (body.size() * ratio).toSize();
    QPixmap preview = PreviewImage::cached({path}, size);
    const CardPreview* read = nullptr;
    if (preview.isNull()) {
        read = &workerPreview(size, PreviewImage::Crop::centre);
        preview = read->pixmap;
    }
    if (!preview.isNull()) {
        preview.setDevicePixelRatio(ratio);
        painter.drawPixmap(body.topLeft(), preview);
    } else if (const QIcon* icon = fileIcon(*read)) {
        const QRectF iconRect(body.center().x() - 28, body.center().y() - 28, 56, 56);
        if (!icon->isNull()) {
            painter.drawPixmap(iconRect.toRect(), icon->pixmap(QSize(56, 56), ratio));
        } else {
            Symbols::draw(painter, QStringLiteral("photo"), iconRect.adjusted(8, 8, -8, -8), cardSecondary());
        }
    }
    const QString more = CardContent::moreFilesText(m_item);
    if (!more.isEmpty()) {
        paintMoreBadge(painter, body, more);
    }
}

const CardPreview& ClipboardCardView::workerPreview(const QSize& size, PreviewImage::Crop crop)
{
    if (!m_preview || m_previewSize != size) {
        CardPreviewLoader& loader = CardPreviewLoader::shared();
        if (m_item.kind == ClipboardKind::file) {
            const QString& path = m_item.filePaths->first();
            m_preview = loader.loadFile(path, size, !size.isEmpty() && CardContent::isImageFile(path));
        } else {
            m_preview = loader.loadImage(imagePaths(m_item), size, crop);
        }
        m_previewSize = size;
    }
    return *m_preview;
}

const QIcon* ClipboardCardView::fileIcon(const CardPreview& preview)
{
    if (!preview.isReady) {
        return nullptr;
    }
    if (!m_fileIcon) {
        m_fileIcon = AppIcon::fileTypeIcon(preview.typeName);
    }
    return &*m_fileIcon;
}

void ClipboardCardView::paintMoreBadge(QPainter& painter, const QRectF& body, const QString& text)
{
    const QFont font = SystemFont::regular(10, QFont::DemiBold);
    QRectF capsule = capsuleFor(text, font, 3, 7);
    capsule.moveTopLeft(body.topLeft() + QPointF(8, 8));
    drawCapsule(painter, capsule, PopupStyle::black(0.55));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(capsule, Qt::AlignCenter, text);
}

void ClipboardCardView::paintGenericFileBody(QPainter& painter, const QRectF& body)
{
    if (!m_item.filePaths || m_item.filePaths->isEmpty()) {
        return;
    }
    const QRectF area(body.left() + 12, body.top(), body.width() - 24, std::max(0.0, body.height() - footerSpace()));
    const QFont nameFont = SystemFont::regular(12, QFont::Medium);
    const QFont moreFont = SystemFont::regular(10);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF moreMetrics(moreFont);
    const QString name = CardContent::firstFileName(m_item);
    const QString more = CardContent::moreFilesText(m_item);

    // The name wraps onto at most two lines.
    const QStringList nameLines = WrappedText::lines(name, nameFont, area.width(), 2);
    const double nameHeight = nameMetrics.lineSpacing() * static_cast<double>(nameLines.size());
    double total = 56 + 8 + nameHeight;
    if (!more.isEmpty()) {
        total += 8 + moreMetrics.height();
    }
    double y = area.center().y() - total / 2;

    // The icon takes its place once the workers have read the file's type.
    const QRectF iconRect(area.center().x() - 28, y, 56, 56);
    if (const QIcon* icon = fileIcon(workerPreview(QSize(), PreviewImage::Crop::centre))) {
        if (!icon->isNull()) {
            painter.drawPixmap(iconRect.toRect(), icon->pixmap(QSize(56, 56), ratioOf(painter)));
        } else {
            QIcon(QStringLiteral(":/resources/icons/doc.svg")).paint(&painter, iconRect.toRect());
        }
    }
    y += 56 + 8;
    painter.setFont(nameFont);
    painter.setPen(PopupStyle::black(0.85));
    for (const QString& line : nameLines) {
        painter.drawText(QRectF(area.left(), y, area.width(), nameMetrics.lineSpacing()), Qt::AlignHCenter, line);
        y += nameMetrics.lineSpacing();
    }
    if (!more.isEmpty()) {
        y += 8;
        painter.setFont(moreFont);
        painter.setPen(cardSecondary());
        painter.drawText(QRectF(area.left(), y, area.width(), moreMetrics.height()), Qt::AlignHCenter, more);
    }
}

void ClipboardCardView::paintOverlayActions(QPainter& painter, const QRectF& rect, double hover)
{
    const QList<QRectF> rects = actionRects(rect.size());
    painter.save();
    painter.setOpacity(painter.opacity() * hover);
    for (int i = 0; i < rects.size(); ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PopupStyle::black(0.45));
        painter.drawEllipse(rects.at(i));
        Symbols::draw(painter, m_actions.at(i).icon, rects.at(i).adjusted(7, 7, -7, -7), PopupStyle::white(0.95));
    }
    painter.restore();
}

void ClipboardCardView::paintHoverButtons(QPainter& painter, const QRectF& rect, double hover)
{
    painter.save();
    painter.setOpacity(painter.opacity() * hover);
    painter.setPen(Qt::NoPen);

    const QRectF pin = pinButtonRect(rect.size());
    painter.setBrush(PopupStyle::black(0.25));
    painter.drawEllipse(pin);
    Symbols::draw(painter, m_item.isPinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"),
                  pin.adjusted(5, 5, -5, -5), m_item.isPinned ? QColor(255, 204, 0) : PopupStyle::white(0.95));

    const QRectF del = deleteButtonRect(rect.size());
    painter.setBrush(PopupStyle::black(0.35));
    painter.drawEllipse(del);
    painter.setPen(QPen(PopupStyle::white(0.95), 1.8, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = del.adjusted(6.5, 6.5, -6.5, -6.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.restore();
}
