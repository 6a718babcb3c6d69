#pragma once

#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

namespace tessaron::BrowserStyle {

// Warnings, refusals, outliers and lag.
inline QColor warningOrange() { return QColor::fromRgbF(0.98f, 0.58f, 0.26f); }
// What is fine: a caught-up group, a reassuring sentence.
inline QColor allClearGreen() { return QColor::fromRgbF(0.33f, 0.80f, 0.56f); }
inline QColor mint() { return QColor::fromRgbF(0.59f, 0.81f, 0.70f); }
inline QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
// The neutral accent: entry 2 of the brand palette.
inline QColor neutral()
{
    const QList<QColor> palette = Brand::palette();
    return palette.size() > 2 ? palette[2] : Brand::accent();
}
inline QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

inline void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    widget->setPalette(p);
}

// A plain label in one of the kit's faces.
inline QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr)
{
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    setTextColor(l, color);
    return l;
}

} // namespace tessaron::BrowserStyle
