#include "Tessaron/casework/VerdictBar.h"

#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/casework/VerdictLogic.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/Motion.h"
#include "VelkinUI/TransformEffect.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace tessaron {

using namespace CaseworkStyle;

namespace {

// The objection card's own surface: a faint orange wash in a rounded outline.
class ObjectionCard : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        // Drawn again whenever a line on it changes: the outline is kept while the size holds.
        const double dpr = devicePixelRatioF();
        if (m_surface.size() != size() * dpr || m_surface.devicePixelRatio() != dpr) {
            m_surface = QPixmap(size() * dpr);
            m_surface.setDevicePixelRatio(dpr);
            m_surface.fill(Qt::transparent);
            QPainter painter(&m_surface);
            painter.setRenderHint(QPainter::Antialiasing);
            const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
            painter.setPen(QPen(withOpacity(warningOrange(), 0.25), 1.0));
            painter.setBrush(withOpacity(warningOrange(), 0.07));
            painter.drawRoundedRect(box, 12, 12);
        }
        QPainter(this).drawPixmap(0, 0, m_surface);
    }

private:
    QPixmap m_surface;
};

} // namespace

VerdictBar::VerdictBar(const ShapeVerdict& verdict, int strikes, QWidget* parent)
    : QWidget(parent)
    , m_verdict(verdict)
    , m_strikes(strikes)
{
    m_box = new QVBoxLayout(this);
    m_box->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    rebuild();
    LanguageChange::onChange(this, [this] { rebuild(); });
}

void VerdictBar::setVerdict(const ShapeVerdict& verdict, int strikes)
{
    m_strikes = strikes;
    if (verdict == m_verdict) {
        if (m_gavel)
            m_gavel->setStrikes(strikes);
        return;
    }
    const bool wasObjection = shows() == Shows::objection;
    if (wasObjection && m_content) {
        if (const std::optional<ShapeVerdict::Drift> drift = verdict.driftDetail(); drift && retell(*drift)) {
            m_verdict = verdict;
            if (m_gavel)
                m_gavel->setStrikes(strikes);
            return;
        }
    }
    // A card that goes away fades out where it stood, over whatever takes its place.
    QPixmap leaving;
    QRect leavingAt;
    if (wasObjection && m_content && isVisible() && verdict.tag() != ShapeVerdict::Case::drift) {
        leaving = m_content->grab();
        leavingAt = m_content->geometry();
    }
    m_verdict = verdict;
    rebuild();
    if (!leaving.isNull() && shows() != Shows::objection) {
        auto* ghost = new QLabel(this);
        ghost->setObjectName(QStringLiteral("leavingObjection"));
        ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
        ghost->setPixmap(leaving);
        ghost->setGeometry(leavingAt);
        ghost->show();
        auto slot = std::make_shared<EffectSlot>(ghost);
        auto* exit = new AnimatedValue(1.0, ghost);
        connect(exit, &AnimatedValue::valueChanged, ghost, [slot](double t) { slot->apply(QTransform(), t); });
        connect(exit, &AnimatedValue::finished, ghost, &QObject::deleteLater);
        slot->apply(QTransform(), 1.0);
        exit->animateTo(0.0, Motion::easeInOut(0.25));
    }
    // The card enters when the verdict turns into a drift: a fade with a slight growth from its top
    // edge, or the fade alone under reduced motion.
    if (!wasObjection && shows() == Shows::objection && m_content && isVisible()) {
        const bool still = motionReduced();
        QPointer<QWidget> card = m_content;
        auto slot = std::make_shared<EffectSlot>(card);
        auto* entrance = new AnimatedValue(0.0, card);
        auto apply = [card, slot, still](double t) {
            if (!card)
                return;
            const double scale = still ? 1.0 : 0.97 + 0.03 * t;
            const QPointF top(card->width() / 2.0, 0.0);
            slot->apply(Transforms::scaleAbout(scale, scale, top), t);
        };
        apply(0.0);
        connect(entrance, &AnimatedValue::valueChanged, card, apply);
        connect(entrance, &AnimatedValue::finished, card, [apply, entrance] {
            apply(1.0);
            entrance->deleteLater();
        });
        entrance->animateTo(1.0, Motion::easeInOut(0.25));
    }
}

VerdictBar::Shows VerdictBar::shows() const
{
    if (m_verdict.tag() == ShapeVerdict::Case::drift)
        return Shows::objection;
    return VerdictLogic::line(m_verdict) ? Shows::line : Shows::nothing;
}

void VerdictBar::rebuild()
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = nullptr;
    m_gavel = nullptr;
    m_lead = nullptr;
    m_lines.clear();
    m_more = nullptr;
    m_sentence.clear();

    if (const auto line = VerdictLogic::line(m_verdict)) {
        auto* row = new QWidget(this);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(6);
        const QColor iconColor = line->tone == CaseworkLogic::Tone::muted ? white(0.45) : toneColor(line->tone);
        // The symbol stands beside the first line of the sentence, however many lines it wraps to.
        const QFont font = KitFont::font(11, QFont::Normal, FontDesign::rounded);
        auto* symbol = new SymbolView(line->symbol, 10, iconColor);
        symbol->setFixedHeight(int(std::ceil(QFontMetricsF(font).height())));
        h->addWidget(symbol, 0, Qt::AlignTop);
        h->addWidget(label(line->sentence, font, white(0.5), true), 1);
        m_sentence = line->sentence;
        m_content = row;
    } else if (const auto drift = m_verdict.driftDetail()) {
        auto* card = new ObjectionCard(this);
        auto* h = new QHBoxLayout(card);
        h->setContentsMargins(12, 10, 12, 10);
        h->setSpacing(11);
        auto* gavelColumn = new QVBoxLayout();
        gavelColumn->setContentsMargins(0, 2, 0, 0);
        m_gavel = new Gavel(15, m_strikes, warningOrange());
        gavelColumn->addWidget(m_gavel);
        gavelColumn->addStretch(1);
        h->addLayout(gavelColumn);

        auto* column = new QVBoxLayout();
        column->setSpacing(5);
        auto* stampRow = new QHBoxLayout();
        stampRow->setSpacing(8);
        m_sentence = VerdictLogic::objectionSentence(*drift);
        stampRow->addWidget(new LawyeredStamp(QStringLiteral("OBJECTION"), warningOrange()), 0, Qt::AlignTop);
        m_lead = label(m_sentence, KitFont::font(12, QFont::DemiBold, FontDesign::rounded), ink(), true);
        stampRow->addWidget(m_lead, 1);
        column->addLayout(stampRow);
        for (qsizetype i = 0; i < std::min<qsizetype>(3, drift->differences.size()); ++i) {
            auto* line = new DifferenceLine(drift->differences[i]);
            m_lines.append(line);
            column->addWidget(line);
        }
        if (const auto more = VerdictLogic::moreDifferences(*drift)) {
            m_more = label(*more, KitFont::font(10, QFont::Normal, FontDesign::rounded), white(0.4), true);
            column->addWidget(m_more);
        }
        h->addLayout(column, 1);
        m_content = card;
    }
    if (m_content)
        m_box->addWidget(m_content);
    updateGeometry();
}

bool VerdictBar::retell(const ShapeVerdict::Drift& drift)
{
    const std::optional<QString> more = VerdictLogic::moreDifferences(drift);
    if (!m_lead || m_lines.size() != std::min<qsizetype>(3, drift.differences.size())
        || more.has_value() != bool(m_more))
        return false;
    m_sentence = VerdictLogic::objectionSentence(drift);
    m_lead->setText(m_sentence);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i])
            m_lines[i]->setDifference(drift.differences[i]);
    }
    if (m_more)
        m_more->setText(*more);
    return true;
}

DifferenceLine::DifferenceLine(const FieldDifference& difference, QWidget* parent)
    : QWidget(parent)
    , m_difference(difference)
{
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(5);
    m_field = label(difference.field, KitFont::font(11, QFont::DemiBold, FontDesign::monospaced), warningOrange());
    h->addWidget(m_field, 0, Qt::AlignTop);
    m_sentence = label(sentence(), KitFont::font(11, QFont::Normal, FontDesign::rounded), white(0.7), true);
    h->addWidget(m_sentence, 1);
}

void DifferenceLine::setDifference(const FieldDifference& difference)
{
    if (difference == m_difference)
        return;
    m_difference = difference;
    m_field->setText(difference.field);
    m_sentence->setText(sentence());
}

QString DifferenceLine::sentence() const
{
    return VerdictLogic::differenceSentence(m_difference.majority, m_difference.outlier);
}

ObjectionMark::ObjectionMark(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(loc("This message disagrees with the shape of the rest"));
    setAccessibleName(loc("Objection"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ObjectionMark::sizeHint() const { return QSize(13, 13); }

void ObjectionMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Symbols::paint(painter, QStringLiteral("exclamationmark.bubble.fill"),
                   Symbols::boxForSize(QRectF(rect()).center(), 10), warningOrange());
}

} // namespace tessaron
