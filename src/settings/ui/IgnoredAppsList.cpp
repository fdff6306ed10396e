#include "settings/ui/IgnoredAppsList.h"

#include "platform/SystemFont.h"
#include "settings/ui/SettingsStyle.h"
#include "settings/ui/SymbolImage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

IgnoredAppsList::IgnoredAppsList(QWidget* parent) : QWidget(parent), m_lines(new QVBoxLayout(this))
{
    m_lines->setContentsMargins(10, 6, 10, 6);
    m_lines->setSpacing(4);
    setEntries({});
}

void IgnoredAppsList::setEntries(const QList<Entry>& entries)
{
    // The remove button that changed the list may still be running its click: lines go later.
    while (QLayoutItem* item = m_lines->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    if (entries.isEmpty()) {
        QLabel* empty = secondaryLabel(QStringLiteral("No apps ignored."), SystemFont::regular(12), this);
        empty->setObjectName(QStringLiteral("noAppsIgnored"));
        empty->setContentsMargins(0, 6, 0, 6);
        m_lines->addWidget(empty);
        return;
    }
    for (const Entry& entry : entries) {
        m_lines->addWidget(line(entry));
    }
}

QWidget* IgnoredAppsList::line(const Entry& entry)
{
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(8);
    if (!entry.icon.isNull()) {
        auto* icon = new QLabel(line);
        icon->setFixedSize(18, 18);
        icon->setPixmap(entry.icon.pixmap(QSize(18, 18), devicePixelRatioF()));
        icon->setScaledContents(true);
        layout->addWidget(icon, 0, Qt::AlignVCenter);
    }
    QLabel* name = label(entry.name, SystemFont::regular(12, QFont::Medium), line);
    name->setObjectName(QStringLiteral("appName"));
    layout->addWidget(name, 0, Qt::AlignVCenter);
    QLabel* id = secondaryLabel(entry.bundleID, SystemFont::monospaced(11), line);
    id->setObjectName(QStringLiteral("appId"));
    layout->addWidget(id, 0, Qt::AlignVCenter);
    layout->addStretch();

    auto* remove = new QToolButton(line);
    remove->setObjectName(QStringLiteral("removeApp"));
    remove->setAutoRaise(true);
    remove->setIcon(SymbolImage::icon(QStringLiteral("minus.circle.fill"), 16, destructiveRed));
    remove->setIconSize(QSize(16, 16));
    remove->setToolTip(QStringLiteral("Stop ignoring ") + entry.name);
    remove->setAccessibleName(remove->toolTip());
    remove->setCursor(Qt::PointingHandCursor);
    const QString bundleID = entry.bundleID;
    connect(remove, &QToolButton::clicked, this, [this, bundleID] { emit removeRequested(bundleID); });
    layout->addWidget(remove, 0, Qt::AlignVCenter);
    return line;
}

void IgnoredAppsList::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(shape, palette().color(QPalette::Base));
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.1);
    painter.setPen(QPen(edge, 1));
    painter.drawPath(shape);
}
