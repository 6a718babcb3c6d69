#include "Tessaron/kit/PersonnelBadge.h"

#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tessaron {

namespace {

QLabel* badgeText(const QString& content, double size, const QColor& color, QFont::Weight weight = QFont::Normal,
                  FontDesign design = FontDesign::standard, double tracking = 0.0)
{
    return PlainText::label(content, KitFont::font(size, weight, design, tracking), color, nullptr, true);
}

} // namespace

namespace {

class Barcode : public QWidget {
public:
    Barcode() { setFixedHeight(20); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        double x = 0;
        for (int i = 0; i < PersonnelBadge::barCount; ++i) {
            const double w = i % 3 == 0 ? 3 : 1;
            p.fillRect(QRectF(x, 0, w, 20), TessaronPalette::badgeBarcode());
            x += w + 3;
        }
    }
    QSize sizeHint() const override { return {14 * 3 + 28 + 41 * 3, 20}; }
};

QWidget* factRow(const QString& label, const QString& value)
{
    auto* w = new QWidget;
    auto* c = new QVBoxLayout(w);
    c->setContentsMargins(0, 0, 0, 0);
    c->setSpacing(5);
    c->addWidget(badgeText(label, 7, TessaronPalette::muted(), QFont::DemiBold, FontDesign::monospaced, 1));
    c->addWidget(badgeText(value, 11, TessaronPalette::ink(), QFont::DemiBold));
    return w;
}

} // namespace

PersonnelBadge::PersonnelBadge(int boops, QWidget* parent)
    : QWidget(parent)
    , m_boops(boops)
{
    setFixedWidth(282);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(23, 23, 23, 23);
    column->setSpacing(17);

    auto* header = new QHBoxLayout;
    auto* title = badgeText(L10n::t("VELKIN / PERSONNEL"), 8, TessaronPalette::muted(), QFont::Medium,
                            FontDesign::monospaced, 1.2);
    title->setWordWrap(false);
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(new SymbolView(QStringLiteral("paperclip"), 8, TessaronPalette::muted()));
    column->addLayout(header);

    auto* photo = new QHBoxLayout;
    photo->setSpacing(17);
    m_mascot = new TessaronMascot(102, m_boops);
    m_boop = new KitButton(QString(), std::make_unique<PlainButtonStyle>(font(), TessaronPalette::ink()));
    m_boop->setContent(m_mascot);
    m_boop->setFixedSize(102, 102);
    m_boop->setAccessibleName(L10n::t("Give Tessaron a boop"));
    m_boop->setToolTip(L10n::t("Give Tessaron a boop"));
    connect(m_boop, &KitButton::clicked, this, &PersonnelBadge::boop);
    photo->addWidget(m_boop);
    auto* seal = new QVBoxLayout;
    seal->setSpacing(8);
    seal->addWidget(new SymbolView(QStringLiteral("checkmark.seal.fill"), 26, TessaronPalette::introAccent()));
    m_seal = badgeText(QString(), 9, TessaronPalette::introAccent(), QFont::Bold, FontDesign::monospaced, 1);
    seal->addWidget(m_seal);
    photo->addLayout(seal, 1);
    column->addLayout(photo);

    column->addWidget(
        badgeText(QStringLiteral("Tessaron"), 30, TessaronPalette::ink(), QFont::ExtraBold, FontDesign::rounded, -0.8));
    column->addWidget(badgeText(L10n::t("Queue counsel. Golden retriever."), 11, TessaronPalette::muted()));
    auto* rule = new QWidget;
    rule->setFixedHeight(1);
    rule->setAutoFillBackground(true);
    QPalette rp = rule->palette();
    rp.setColor(QPalette::Window, TessaronPalette::badgeRule());
    rule->setPalette(rp);
    column->addWidget(rule);
    auto* facts = new QHBoxLayout;
    facts->addWidget(factRow(L10n::t("SPECIALTY"), L10n::t("Fetching evidence.")), 1, Qt::AlignTop);
    facts->addWidget(factRow(L10n::t("WEAKNESS"), L10n::t("Squeaky offsets.")), 1, Qt::AlignTop);
    column->addLayout(facts);
    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(0, 3, 0, 0);
    strip->addWidget(new Barcode);
    strip->addStretch(1);
    strip->addWidget(new SymbolView(QStringLiteral("pawprint.fill"), 12, TessaronPalette::introAccent()));
    column->addLayout(strip);

    setBallDetected(false);
}

void PersonnelBadge::setBoops(int boops)
{
    m_boops = boops;
    m_mascot->setBoops(boops);
}

void PersonnelBadge::setBallDetected(bool detected)
{
    m_ball = detected;
    m_seal->setText(sealText());
}

QString PersonnelBadge::sealText() const { return m_ball ? L10n::t("BALL\nDETECTED") : L10n::t("LICENSED\nTO CARE"); }

void PersonnelBadge::boop()
{
    setBoops(m_boops + 1);
    emit booped(m_boops);
}

void PersonnelBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setBrush(TessaronPalette::badgeCard());
    p.setPen(QPen(TessaronPalette::badgeEdge(), 1));
    p.drawRoundedRect(r, 17, 17);
}

} // namespace tessaron
