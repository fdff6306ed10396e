// The rounded box listing the ignored applications, each with icon, name, id and a remove button.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>

class QVBoxLayout;

class IgnoredAppsList : public QWidget
{
    Q_OBJECT
public:
    struct Entry
    {
        QString bundleID;
        QString name;
        QIcon icon; // null when the application has none
    };

    explicit IgnoredAppsList(QWidget* parent = nullptr);

    // Shows these entries in this order; "No apps ignored." when there are none.
    void setEntries(const QList<Entry>& entries);

signals:
    void removeRequested(const QString& bundleID);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* line(const Entry& entry);

    QVBoxLayout* m_lines;
};
