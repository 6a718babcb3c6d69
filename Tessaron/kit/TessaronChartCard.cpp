#include "Tessaron/kit/TessaronChartCard.h"

#include "Tessaron/kit/ChartBarRow.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/Eyebrow.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/TransformEffect.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaron {

namespace {
void colour(QLabel* label, const QColor& color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}
} // namespace

TessaronChartCard::TessaronChartCard(const TessaronChart& chart, std::optional<QString> eyebrow,
                                     std::function<void()> onAnother, QWidget* parent)
    : QWidget(parent)
    , m_chart(chart)
    , m_eyebrow(std::move(eyebrow))
    , m_onAnother(std::move(onAnother))
    , m_effect(std::make_unique<EffectSlot>(this))
    , m_entrance(new AnimatedValue(1.0, this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(m_entrance, &AnimatedValue::valueChanged, this, [this](double v) {
        // Enters with a fade, and unless motion is reduced, from 8 points below.
        const bool still = motionReduced();
        m_effect->apply(still ? QTransform() : Transforms::translate(0, 8.0 * (1.0 - v)), v, {}, 0.0, 10.0);
    });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);

    auto* header = new QVBoxLayout();
    header->setSpacing(4);
    m_eyebrowLabel = new Eyebrow(QString(), this);
    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setFont(KitFont::font(15, QFont::Bold, FontDesign::rounded));
    colour(m_title, TessaronPalette::ink());
    header->addWidget(m_eyebrowLabel);
    header->addWidget(m_title);
    column->addLayout(header);

    m_barsBox = new QVBoxLayout();
    m_barsBox->setSpacing(8);
    column->addLayout(m_barsBox);

    auto* footer = new QHBoxLayout();
    m_footnote = new QLabel(this);
    m_footnote->setTextFormat(Qt::PlainText);
    m_footnote->setWordWrap(true);
    m_footnote->setFont(KitFont::font(10.5));
    colour(m_footnote, TessaronPalette::muted());
    footer->addWidget(m_footnote, 1);
    if (m_onAnother) {
        const QFont font = KitFont::font(10.5, QFont::DemiBold, FontDesign::rounded);
        m_another =
            new KitButton(L10n::t("Another"), std::make_unique<PlainButtonStyle>(font, Brand::palette().at(2)), this);
        m_another->setTrailingSymbol(QStringLiteral("arrow.right"));
        connect(m_another, &QAbstractButton::clicked, this, [this] {
            if (m_onAnother)
                m_onAnother();
        });
        footer->addWidget(m_another);
    }
    column->addLayout(footer);
    rebuild();
}

TessaronChartCard::~TessaronChartCard() = default;

QString TessaronChartCard::eyebrowText() const
{
    if (m_eyebrow)
        return *m_eyebrow;
    return m_chart.unsolicited ? L10n::t("UNSOLICITED CHART") : L10n::t("CHART OF THE DAY");
}

void TessaronChartCard::setChart(const TessaronChart& chart)
{
    const bool sameIdentity = chart.title == m_chart.title;
    m_chart = chart;
    if (sameIdentity && chart.bars.size() == m_rows.size()) {
        for (qsizetype i = 0; i < m_rows.size(); ++i)
            m_rows[i]->setBar(chart.bars[i], chart.fraction(chart.bars[i]));
        m_eyebrowLabel->setText(eyebrowText());
        m_footnote->setText(L10n::t(chart.footnote));
        return;
    }
    rebuild();
    if (isVisible())
        appear();
}

void TessaronChartCard::rebuild()
{
    m_drawn = false;
    qDeleteAll(m_rows);
    m_rows.clear();
    m_eyebrowLabel->setText(eyebrowText());
    m_title->setText(L10n::t(m_chart.title));
    int position = 0;
    for (const TessaronChart::Bar& bar : m_chart.bars) {
        auto* row = new ChartBarRow(bar, m_chart.fraction(bar), position++, this);
        m_rows.append(row);
        m_barsBox->addWidget(row);
    }
    m_footnote->setText(L10n::t(m_chart.footnote));
}

void TessaronChartCard::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_drawn)
        appear();
}

void TessaronChartCard::appear()
{
    const bool still = !motionAllowed(this);
    m_drawn = false;
    for (ChartBarRow* row : m_rows)
        row->setDrawn(false, false);
    m_entrance->setImmediately(0.0);
    m_entrance->animateTo(1.0, Motion::easeOut(0.3));
    m_drawn = true;
    for (ChartBarRow* row : m_rows)
        row->setDrawn(true, !still);
}

void TessaronChartCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PanelSurface::paintSurface(painter, QRectF(rect()), Brand::palette().at(2));
}

} // namespace tessaron
