// What the popup shows without cards: a clipboard symbol and "Nothing copied yet" or "No matches".
#pragma once

#include <QWidget>

class EmptyStateView : public QWidget
{
    Q_OBJECT
public:
    explicit EmptyStateView(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
