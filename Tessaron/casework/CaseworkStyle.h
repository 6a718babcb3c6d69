#pragma once

#include "Tessaron/casework/CaseworkLogic.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/PanelSurface.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

class QLabel;
class QVBoxLayout;
class QHBoxLayout;

namespace tessaron {

// The fixed colours and small building blocks the casework views share.
namespace CaseworkStyle {

QColor warningOrange();
QColor allClearGreen();
QColor muted();
QColor ink();
QColor lavender();
// The brand palette's third colour, read when drawn so a theme change shows.
QColor neutral();
QColor accent();
QColor white(double opacity);
QColor withOpacity(const QColor& color, double opacity);
QColor toneColor(CaseworkLogic::Tone tone);

// A plain-text label in a font and colour; wrapping ones grow in height, never truncate.
QLabel* label(const QString& text, const QFont& font, const QColor& color, bool wrap = false);

} // namespace CaseworkStyle

// A titled panel: the tracked eyebrow in the tint, then the body, padded, on the panel surface.
class CaseCard : public PanelSurface {
    Q_OBJECT
public:
    CaseCard(const QString& eyebrow, const QColor& tint, double padding = 14, QWidget* parent = nullptr);
    QString eyebrow() const { return m_eyebrow; }
    QVBoxLayout* body() const { return m_body; }
    void addWidget(QWidget* widget);

private:
    QString m_eyebrow;
    QVBoxLayout* m_body;
};

// A row that is one button: its children never take the pointer, the whole rectangle clicks, and
// Tab and Space reach it. The owner styles the children and reacts to the hover.
class CaseLink : public QAbstractButton {
    Q_OBJECT
public:
    explicit CaseLink(QWidget* parent = nullptr);
    QHBoxLayout* row() const { return m_row; }
    // Called with true when the pointer enters and false when it leaves.
    void onHover(std::function<void(bool)> react);
    bool isHovering() const { return m_hovering; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Makes every child of the row transparent for the pointer; call after filling the row.
    void seal();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHovering(bool hovering);
    QHBoxLayout* m_row;
    std::function<void(bool)> m_react;
    bool m_hovering = false;
};

} // namespace tessaron
