#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

namespace tessaron {

// The numbered section heading of forms and sheets: an optional two-digit badge, the text in
// capitals, and a hairline that takes the rest of the row.
class FormHeading : public QWidget {
    Q_OBJECT
public:
    FormHeading(const QString& text, std::optional<int> number, const QColor& tint, QWidget* parent = nullptr);

    // "%02d": at least two digits.
    static QString badgeText(int number);
    QString displayedText() const;
    void setText(const QString& text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    std::optional<int> m_number;
    QColor m_tint;
};

} // namespace tessaron
