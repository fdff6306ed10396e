// A checkbox labelled by a settings row (title and detail); a click anywhere on it toggles it.
#pragma once

#include <QWidget>

class QCheckBox;

class SettingsToggle : public QWidget
{
    Q_OBJECT
public:
    // Takes ownership of `label`, the row shown beside the box.
    SettingsToggle(QWidget* label, QWidget* parent = nullptr);

    bool isChecked() const;
    // Shows a value of the model; announces nothing.
    void setChecked(bool checked);
    QCheckBox* checkBox() const { return m_checkBox; }

signals:
    // Only for changes the user makes.
    void toggledByUser(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QCheckBox* m_checkBox;
};
