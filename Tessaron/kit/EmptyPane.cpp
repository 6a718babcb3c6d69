#include "Tessaron/kit/EmptyPane.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "VelkinUI/KitFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace tessaron {

EmptyPane::EmptyPane(const QString& title, const std::optional<QString>& detail, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(12);
    column->addStretch(1);

    m_mascot = new TessaronMascot(58, 0);
    m_mascot->setCursor(Qt::PointingHandCursor);
    m_mascot->installEventFilter(this);
    column->addWidget(m_mascot, 0, Qt::AlignHCenter);

    m_title =
        PlainText::label(QString(), KitFont::font(13, QFont::DemiBold, FontDesign::rounded), TessaronPalette::ink());
    m_title->setObjectName(QStringLiteral("emptyTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    column->addWidget(m_title); // full width: an alignment flag would not give wrapped lines their height

    m_detail = PlainText::label(QString(), KitFont::font(11), TessaronPalette::white(0.5));
    m_detail->setObjectName(QStringLiteral("emptyDetail"));
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setWordWrap(true);
    // A fixed width: with an alignment flag the layout would not give the wrapped lines their height.
    m_detail->setFixedWidth(340);
    auto* detailRow = new QHBoxLayout;
    detailRow->addStretch(1);
    detailRow->addWidget(m_detail);
    detailRow->addStretch(1);
    column->addLayout(detailRow);
    column->addStretch(1);
    setTexts(title, detail);
}

QWidget* EmptyPane::mascot() const { return m_mascot; }
QString EmptyPane::title() const { return m_title->text(); }
QString EmptyPane::detail() const { return m_detail->text(); }

bool EmptyPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mascot && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_mascot->setBoops(++m_boops);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EmptyPane::setTexts(const QString& title, const std::optional<QString>& detail)
{
    m_title->setText(title);
    m_detail->setText(detail.value_or(QString()));
    m_detail->setVisible(detail.has_value());
}

} // namespace tessaron
