#pragma once

#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QLabel>
#include <QWidget>

class QTimer;

namespace tessaron::reception {

// A plain-text label in a font and colour; wrapping when asked.
QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap = false);
void setTextColor(QWidget* widget, const QColor& color);

// One line of text shortened where the mode says (middle, head) when it does not fit; the full
// text is its tooltip.
class ElidedLabel : public QWidget {
    Q_OBJECT
public:
    ElidedLabel(Qt::TextElideMode mode, const QFont& font, const QColor& color, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setColor(const QColor& color);
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
    QColor m_color;
    QString m_text;
};

// The small turning progress indicator; it turns only while visible and motion is not reduced.
class Spinner : public QWidget {
    Q_OBJECT
public:
    Spinner(double size, const QColor& color, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    double m_size;
    QColor m_color;
    int m_step = 0;
    QTimer* m_timer;
};

} // namespace tessaron::reception
