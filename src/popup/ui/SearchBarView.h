// The search block: magnifying glass, search field, item count and the "more" menu.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QMenu;

class SearchBarView : public QWidget
{
    Q_OBJECT
public:
    explicit SearchBarView(QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    QLabel* countLabel() const { return m_count; }
    QToolButton* menuButton() const { return m_menuButton; }
    QMenu* menu() const { return m_menu; }

signals:
    void clearAllRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_glass = nullptr;
    QLineEdit* m_field = nullptr;
    QLabel* m_count = nullptr;
    QToolButton* m_menuButton = nullptr;
    QMenu* m_menu = nullptr;
};
