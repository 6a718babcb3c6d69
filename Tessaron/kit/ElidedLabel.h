#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include <optional>

namespace tessaron {

// One line of text shortened where `mode` says (the middle by default) when it does not fit; the
// whole text is its tooltip and accessible name. Line breaks show as spaces.
class ElidedLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    ElidedLabel(const QString& text, const QFont& font, const QColor& color, Qt::TextElideMode mode = Qt::ElideMiddle,
                QWidget* parent = nullptr);

    // A line that takes whatever width its row gives it, never asking for its text's width, and is as
    // tall as the font's rounded line.
    static ElidedLabel* filling(const QString& text, const QFont& font, const QColor& color, Qt::TextElideMode mode,
                                QWidget* parent);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(const QColor& color);
    // Draws a line of `strike` through what is shown.
    void setStruck(const QColor& strike);
    // Left by default.
    void setAlignment(Qt::Alignment horizontal);
    // Takes the font's rounded line height instead of its exact height rounded up.
    void setRoundedHeight(bool rounded);
    // What is drawn at the current width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineHeight() const;

    QString m_text;
    QColor m_color;
    Qt::TextElideMode m_mode;
    std::optional<QColor> m_strike;
    bool m_roundedHeight = false;
    Qt::Alignment m_alignment = Qt::AlignLeft;
};

} // namespace tessaron
