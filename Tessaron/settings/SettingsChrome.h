#pragma once

#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/Motion.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QColor>
#include <QLabel>
#include <QWidget>

#include <memory>

namespace tessaron {

class KitButton;
class TessaronMascot;

// A symbol in a rounded tile washed with its tint; decorative, so it takes no focus.
class IconBadge : public QWidget {
    Q_OBJECT
public:
    IconBadge(const QString& symbol, const QColor& tint, double tile, double size, QWidget* parent = nullptr);
    void setTint(const QColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
    double m_size;
};

// Pieces shared by the settings window, its sections and the about window.
namespace SettingsChrome {

// The window's accent: the third colour of the accent theme, read when asked.
QColor accent();
QColor secondary();

using PlainText::label;
using PlainText::setTextColor;
QLabel* wrapping(const QString& text, const QFont& font, const QColor& color, QWidget* parent);
// A symbol in a 36-point tile washed with its tint; hidden from accessibility.
IconBadge* iconBadge(const QString& symbol, const QColor& tint, QWidget* parent, double tile = 36, double size = 16);
// `content` inside a plain holder with the given margins.
QWidget* padded(QWidget* content, const QMargins& margins, QWidget* parent);
// A row or column with no margins.
QBoxLayout* row(QWidget* owner, int spacing);
QBoxLayout* column(QWidget* owner, int spacing);
// The mascot as a plain button that counts boops through `clicked`.
KitButton* mascotButton(double size, TessaronMascot*& mascot, QWidget* parent);
// Restyles a tile or pill as selected or not and shows its check mark.
void markSelected(KitButton* button, const QColor& tint, bool selected, const QMarginsF& insets);
// A selectable tile of the sections, as wide as its row.
KitButton* tile(const QMarginsF& insets, const QColor& tint, QWidget* parent);
// `content` on a settings surface with even margins.
QWidget* surfaced(QWidget* content, const QColor& tint, int margin);
// The window's spring; none under reduced motion or while the window is not the active one.
Motion spring(const QWidget* owner);

// The preferences the window edits, as stored.
struct Stored {
    qint64 messages;
    bool internal;
    QString provider;
    QString language;
};
Stored readStored();

} // namespace SettingsChrome

// The small on/off switch of the settings look.
class SettingsSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit SettingsSwitch(const QColor& tint, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {34, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
};

} // namespace tessaron
