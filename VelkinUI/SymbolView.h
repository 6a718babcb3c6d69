#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

// A named symbol image set at a font size, in one colour: the one widget every view uses to show a
// symbol.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    SymbolView(const QString& name, double size, const QColor& color, QWidget* parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString& name);
    void setColor(const QColor& color);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    double m_size;
    QColor m_color;
};

} // namespace tessaron
