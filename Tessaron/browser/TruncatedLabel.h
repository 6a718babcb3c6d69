#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace tessaron {

// One line of text cut in the middle (or at the end) when it does not fit; the whole text is
// its tooltip and accessible name.
class TruncatedLabel : public QWidget {
    Q_OBJECT
public:
    TruncatedLabel(const QString& text, const QFont& font, const QColor& color,
                   Qt::TextElideMode mode = Qt::ElideMiddle, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(const QColor& color);
    // What is drawn at the current width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_color;
    Qt::TextElideMode m_mode;
};

} // namespace tessaron
