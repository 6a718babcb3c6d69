#pragma once

#include <QWidget>

namespace tessaron {

// One sentence of the mascot in a rounded bubble 244 points wide: centred, at most three lines,
// shrinking to 85 % of its size before the end is cut. Shows the text it is given; assistive
// technology hears it as a notification when it appears.
class SpeechBubble : public QWidget {
    Q_OBJECT
public:
    static constexpr int textWidth = 222;
    static constexpr int maxLines = 3;

    explicit SpeechBubble(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    // The font size the text is set in (12, or down to 85 % of it), and the lines it shows.
    double fittedSize() const { return m_fittedSize; }
    QStringList lines() const { return m_lines; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fit();

    QString m_text;
    double m_fittedSize = 12.0;
    QStringList m_lines;
};

} // namespace tessaron
