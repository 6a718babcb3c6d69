#include "Tessaron/reception/Odometer.h"

#include <algorithm>

#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/reception/ReceptionWidgets.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"

#include <QVBoxLayout>

#include <algorithm>

namespace tessaron {

using namespace TessaronPalette;

Odometer::Odometer(UserDefaults& store, QWidget* parent)
    : PanelSurface(accent(), parent)
    , m_store(store)
    , m_readRoll(new AnimatedValue(0.0, this))
    , m_disturbedRoll(new AnimatedValue(0.0, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);
    column->addWidget(new Eyebrow(L10n::t("MILEAGE"), this));

    const QFont valueFont = KitFont::font(26, QFont::Black, FontDesign::monospaced);
    const QFont captionFont = KitFont::font(10, QFont::Medium, FontDesign::rounded);
    const auto counter = [&](QLabel*& value, const QString& caption) {
        auto* box = new QVBoxLayout();
        box->setSpacing(1);
        value = reception::label(QString(), valueFont, accent(), this);
        box->addWidget(value);
        box->addWidget(reception::label(caption, captionFont, muted(), this));
        column->addLayout(box);
    };
    counter(m_readValue, L10n::t("messages read"));
    counter(m_disturbedValue, L10n::t("disturbed"));
    m_closing = reception::label(QString(), KitFont::font(10.5), muted(), this, true);
    column->addWidget(m_closing);
    column->addStretch(1);

    // The digits count up to a new value.
    connect(m_readRoll, &AnimatedValue::valueChanged, this,
            [this](double v) { m_readValue->setText(digits(qint64(std::llround(v)))); });
    connect(m_disturbedRoll, &AnimatedValue::valueChanged, this,
            [this](double v) { m_disturbedValue->setText(digits(qint64(std::llround(v)))); });
    connect(&m_store, &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::messagesRead || key == Prefs::messagesDisturbed)
            reload();
    });
    m_read = stored(Prefs::messagesRead);
    m_disturbed = stored(Prefs::messagesDisturbed);
    m_readRoll->setImmediately(double(m_read));
    m_disturbedRoll->setImmediately(double(m_disturbed));
    m_readValue->setText(readText());
    m_disturbedValue->setText(disturbedText());
    reception::setTextColor(m_disturbedValue, disturbedColor());
    m_closing->setText(closingLine());
}

QString Odometer::digits(qint64 value)
{
    return QString::number(std::max<qint64>(value, 0)).rightJustified(6, QLatin1Char('0'));
}

qint64 Odometer::stored(const QString& key) const
{
    // A tally only grows; a value below zero in the store is a damaged one and counts as none.
    return std::max<qint64>(m_store.integer(key).value_or(0), 0);
}

QString Odometer::readText() const { return digits(m_read); }
QString Odometer::disturbedText() const { return digits(m_disturbed); }

QString Odometer::closingLine() const
{
    return m_disturbed != 0 ? L10n::t("The disturbed ones are RabbitMQ. I did warn you.")
                            : L10n::t("None of them noticed.");
}

QColor Odometer::disturbedColor() const { return m_disturbed != 0 ? amber() : muted(); }

void Odometer::reload()
{
    const qint64 read = stored(Prefs::messagesRead);
    const qint64 disturbed = stored(Prefs::messagesDisturbed);
    if (read == m_read && disturbed == m_disturbed)
        return;
    m_read = read;
    m_disturbed = disturbed;
    const Motion motion = decorativeMotion(this, Motion::easeOut(0.4));
    m_readRoll->animateTo(double(m_read), motion);
    m_disturbedRoll->animateTo(double(m_disturbed), motion);
    reception::setTextColor(m_disturbedValue, disturbedColor());
    m_closing->setText(closingLine());
}

} // namespace tessaron
