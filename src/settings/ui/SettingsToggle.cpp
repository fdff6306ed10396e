#include "settings/ui/SettingsToggle.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

SettingsToggle::SettingsToggle(QWidget* label, QWidget* parent) : QWidget(parent), m_checkBox(new QCheckBox(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    // The box sits level with the title, the first line of the row.
    auto* boxColumn = new QVBoxLayout;
    boxColumn->setContentsMargins(0, 1, 0, 0);
    boxColumn->addWidget(m_checkBox);
    boxColumn->addStretch();
    layout->addLayout(boxColumn);
    layout->addWidget(label, 1);
    m_checkBox->setAccessibleName(label->accessibleName());
    connect(m_checkBox, &QCheckBox::clicked, this, &SettingsToggle::toggledByUser);
    setCursor(Qt::PointingHandCursor);
}

bool SettingsToggle::isChecked() const
{
    return m_checkBox->isChecked();
}

void SettingsToggle::setChecked(bool checked)
{
    const QSignalBlocker blocker(m_checkBox);
    m_checkBox->setChecked(checked);
}

void SettingsToggle::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_checkBox->setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SettingsToggle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        m_checkBox->click();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
