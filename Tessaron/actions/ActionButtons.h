#pragma once

#include "VelkinUI/KitButton.h"

class QLabel;

namespace tessaron {

class Spinner;

// The acting button of a sheet in the primary style: its text alone when idle, a small spinner
// before the working text while its action runs.
class WorkingButton : public KitButton {
    Q_OBJECT
public:
    WorkingButton(const QString& idle, const QString& working, QWidget* parent = nullptr);
    void setWorking(bool working);
    void setTexts(const QString& idle, const QString& working);
    bool isWorking() const { return m_isWorking; }
    QString labelText() const;

private:
    QString m_idleText;
    QString m_workingText;
    bool m_isWorking = false;
    Spinner* m_spinner;
    QLabel* m_label;
};

// "Cancel" or "Close": a bare button in the panel style, the accent its tint.
KitButton* dismissButton(const QString& text, QWidget* parent);
// A label with a symbol before it, both in `color`, wrapping.
QWidget* symbolLabel(const QString& symbol, const QString& text, const QColor& color, double size, QWidget* parent);

} // namespace tessaron
