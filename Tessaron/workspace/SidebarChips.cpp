#include "Tessaron/workspace/SidebarChips.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

using namespace TessaronPalette;

namespace {

void paintSymbol(QPainter& painter, const QString& name, QPointF centre, double size, const QColor& color)
{
    Symbols::paint(painter, name, Symbols::boxForSize(centre, size), color);
}

// The clear button of the search box.
class ClearButton : public QAbstractButton {
public:
    explicit ClearButton(QWidget* parent)
        : QAbstractButton(parent)
    {
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(14, 14);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintSymbol(painter, QStringLiteral("xmark.circle.fill"), QRectF(rect()).center(), 10, white(0.3));
    }
};

class MagnifierMark : public QWidget {
public:
    explicit MagnifierMark(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(12, 12);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintSymbol(painter, QStringLiteral("magnifyingglass"), QRectF(rect()).center(), 10, white(0.4));
    }
};

} // namespace

SearchField::SearchField(const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_clear(new ClearButton(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(6);
    row->addWidget(new MagnifierMark(this));
    m_edit->setFrame(false);
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAccessibleName(placeholder);
    m_edit->setFont(KitFont::font(11));
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Text, TessaronPalette::plainWhite());
    p.setColor(QPalette::PlaceholderText, white(0.35));
    m_edit->setPalette(p);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_ring = new FocusRing(m_edit, FocusRing::Shown::always, this);
    m_edit->setObjectName(QStringLiteral("searchEdit"));
    m_edit->setStyleSheet(QStringLiteral("#searchEdit { background: transparent; border: none; padding: 0; }"));
    row->addWidget(m_edit, 1);
    row->addWidget(m_clear);
    m_clear->setVisible(false);
    m_clear->setToolTip(L10n::t("Clear"));
    m_clear->setAccessibleName(L10n::t("Clear"));
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_clear->setVisible(!text.isEmpty());
        emit textEdited(text);
    });
    connect(m_clear, &QAbstractButton::clicked, this, [this] {
        m_edit->clear();
        m_clear->setVisible(false);
        emit textEdited(QString());
    });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString SearchField::text() const { return m_edit->text(); }

void SearchField::setText(const QString& text)
{
    if (m_edit->text() != text)
        m_edit->setText(text);
    m_clear->setVisible(!text.isEmpty());
}

void SearchField::setPlaceholder(const QString& placeholder)
{
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAccessibleName(placeholder);
}

void SearchField::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(white(0.06));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (m_ring->shown())
        FocusRing::draw(painter, QRectF(rect()), 6);
}

ScopePill::ScopePill(const QString& icon, const QColor& tint, const QString& title, const QString& subtitle,
                     QWidget* parent)
    : QAbstractButton(parent)
    , m_icon(icon)
    , m_tint(tint)
    , m_title(title)
    , m_subtitle(subtitle)
    , m_hover(new HoverAmount(this, 0.15))
    , m_spinner(new SpinnerMotion(this, SpinnerLook::arc))
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    new FocusRing(this);
    refreshTexts();
}

QString ScopePill::tooltipFor(const QString& title, const QString& value, const QString& subtitle)
{
    QString tip = title + QStringLiteral(": ") + value;
    if (!subtitle.isEmpty())
        tip += QStringLiteral(" — ") + subtitle;
    return tip;
}

void ScopePill::refreshTexts()
{
    setToolTip(PlainText::toolTip(tooltipFor(m_title, text(), m_subtitle)));
    setAccessibleName(m_title + QStringLiteral(": ") + text());
}

void ScopePill::setValue(const QString& value)
{
    if (value == text())
        return;
    setText(value);
    refreshTexts();
    updateGeometry();
    update();
}

void ScopePill::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    m_spinner->setRunning(busy);
    update();
}

namespace {
QFont pillFont() { return KitFont::font(12, QFont::DemiBold, FontDesign::rounded); }
constexpr double pillPadX = 9, pillPadY = 5, pillGap = 6, pillIcon = 10, pillEnd = 7;
} // namespace

QSize ScopePill::sizeHint() const
{
    const QFontMetricsF fm(pillFont());
    const double w = pillPadX * 2 + pillIcon + pillGap + fm.horizontalAdvance(text()) + pillGap + pillEnd;
    return {int(std::ceil(w)), int(std::ceil(fm.height() + pillPadY * 2))};
}

QSize ScopePill::minimumSizeHint() const
{
    const QFontMetricsF fm(pillFont());
    const double w =
        pillPadX * 2 + pillIcon + pillGap + fm.horizontalAdvance(QStringLiteral("W…W")) + pillGap + pillEnd;
    return {int(std::ceil(std::min<double>(w, sizeHint().width()))), sizeHint().height()};
}

void ScopePill::enterEvent(QEnterEvent* event)
{
    m_hover->set(true);
    QAbstractButton::enterEvent(event);
}

void ScopePill::leaveEvent(QEvent* event)
{
    m_hover->set(false);
    QAbstractButton::leaveEvent(event);
}

void ScopePill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double lit = hasFocus() ? 1.0 : m_hover->value();
    painter.setPen(QPen(withOpacity(m_tint, 0.22 + 0.33 * lit), 1));
    painter.setBrush(withOpacity(m_tint, 0.1 + 0.1 * lit));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    const double cy = capsule.center().y();
    double x = pillPadX;
    paintSymbol(painter, m_icon, QPointF(x + pillIcon / 2, cy), 10, m_tint);
    x += pillIcon + pillGap;
    const double valueWidth = std::max(0.0, width() - x - pillGap - pillEnd - pillPadX);
    const QFontMetricsF fm(pillFont());
    painter.setFont(pillFont());
    painter.setPen(white(0.92));
    PaintedText::draw(painter, QRectF(x, 0, valueWidth, height()), Qt::AlignLeft | Qt::AlignVCenter,
                      fm.elidedText(text(), Qt::ElideMiddle, valueWidth));
    const QPointF endCentre(width() - pillPadX - pillEnd / 2, cy);
    if (m_busy)
        m_spinner->paint(painter, QRectF(endCentre.x() - 5, cy - 5, 10, 10), m_tint);
    else
        paintSymbol(painter, QStringLiteral("chevron.down"), endCentre, 7, withOpacity(m_tint, 0.6 + 0.4 * lit));
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), height() / 2.0);
}

ActionChip::ActionChip(const QString& title, const QString& icon, const QColor& tint, bool prominent, QWidget* parent)
    : QAbstractButton(parent)
    , m_icon(icon)
    , m_tint(tint)
    , m_prominent(prominent)
    , m_hover(new HoverAmount(this, 0.15))
{
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    new FocusRing(this);
}

namespace {
QFont chipFont() { return KitFont::font(11.5, QFont::DemiBold, FontDesign::rounded); }
} // namespace

QSize ActionChip::sizeHint() const
{
    const QFontMetricsF fm(chipFont());
    return {int(std::ceil(10 + 11 + 5 + fm.horizontalAdvance(text()) + 10)), int(std::ceil(fm.height() + 12))};
}

void ActionChip::enterEvent(QEnterEvent* event)
{
    m_hover->set(true);
    QAbstractButton::enterEvent(event);
}

void ActionChip::leaveEvent(QEvent* event)
{
    m_hover->set(false);
    QAbstractButton::leaveEvent(event);
}

void ActionChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double lit = enabled ? (hasFocus() ? 1.0 : m_hover->value()) : 0.0;
    const double fill = (m_prominent ? 0.18 : 0.10) * (1.0 + 0.6 * lit);
    const double outline = enabled ? (m_prominent ? 0.5 : 0.25) : 0.12;
    painter.setPen(QPen(withOpacity(m_tint, outline), 1));
    painter.setBrush(withOpacity(m_tint, fill));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    const QColor content = enabled ? m_tint : withOpacity(m_tint, 0.35);
    paintSymbol(painter, m_icon, QPointF(10 + 5.5, capsule.center().y()), 10, content);
    painter.setFont(chipFont());
    painter.setPen(content);
    PaintedText::draw(painter, QRectF(10 + 11 + 5, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), height() / 2.0);
}

} // namespace tessaron
