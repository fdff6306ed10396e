// The card puts its parts together: the chrome around, the body of its kind inside, and the
// footer over the body's bottom for the kinds that have one.
#include "popup/ui/ClipboardCardView.h"

#include "popup/AppIcon.h"
#include "popup/RelativeAge.h"
#include "popup/ui/CardBody.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>

ClipboardCardView::ClipboardCardView(const ClipboardItem& item, int index, bool isSelected, Callbacks callbacks,
                                     const CardActionHandlers& handlers, const RelativeAge& age, const QDateTime& now)
    : m_item(item), m_index(index), m_isSelected(isSelected), m_callbacks(std::move(callbacks)),
      m_actions(CardContent::smartActions(item, handlers)), m_geometry(item, index, m_actions.size()),
      m_header{AppIcon::accentColor(item.sourceBundleID), AppIcon::icon(item.sourceBundleID), item.displayTitle(),
               age.format(item.createdAt, now)},
      m_ageSecond(now.toSecsSinceEpoch()), m_body(CardBody::forItem(item))
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
        m_header.age = age.format(m_item.createdAt, now);
        m_ageSecond = second;
    }
}

ClipboardCardView::Hit ClipboardCardView::hitTest(const QPointF& point, const QSizeF& size, bool hovering) const
{
    return m_geometry.hitTest(point, size, hovering);
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

void ClipboardCardView::paintShadow(QPainter& painter, const QRectF& rect)
{
    CardChrome::paintShadow(painter, rect);
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
    painter.fillRect(local, Qt::white);
    CardChrome::paintHeader(painter, local, m_header, hover);
    const QRectF body = CardGeometry::bodyRect(local.size());
    m_body->paint(painter, body);
    if (m_geometry.hasFooter()) {
        const bool isCharCount = m_item.kind != ClipboardKind::link && m_item.kind != ClipboardKind::file;
        CardChrome::paintFooter(painter, body, m_footerText, isCharCount, m_index, m_actions,
                                m_geometry.actionRects(QSizeF(body.width(), body.bottom())));
    }
    painter.restore();

    CardChrome::paintBorder(painter, local, m_isSelected);
    if (hover > 0) {
        if (!m_geometry.hasFooter()) {
            CardChrome::paintOverlayActions(painter, m_geometry.actionRects(local.size()), m_actions, hover);
        }
        CardChrome::paintHoverButtons(painter, local, m_item.isPinned, hover);
    }
    painter.restore();
}
