#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

// A small rubber-stamp label: tracked heavy rounded text in a dark capsule with an inked rim,
// tilted -7 degrees. Shows its text as given.
class LawyeredStamp : public QWidget {
    Q_OBJECT
public:
    static constexpr double tilt = -7.0;

    LawyeredStamp(const QString& text, const QColor& color, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    // Another text in place (an exhibit renumbered): sized and tilted anew.
    void setText(const QString& text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    QString m_text;
    QColor m_color;
};

} // namespace tessaron
