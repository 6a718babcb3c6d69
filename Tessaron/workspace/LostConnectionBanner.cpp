#include "Tessaron/workspace/LostConnectionBanner.h"
#include "VelkinUI/PaintedText.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

using namespace TessaronPalette;

namespace {

// The amber capsule of "Try again".
class CapsuleButton : public QAbstractButton {
public:
    CapsuleButton(const QString& title, QWidget* parent)
        : QAbstractButton(parent)
    {
        setText(title);
        setAccessibleName(title);
        setFont(KitFont::font(11, QFont::DemiBold, FontDesign::rounded));
        setFocusPolicy(Qt::StrongFocus);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        new FocusRing(this);
    }
    QSize sizeHint() const override
    {
        const QFontMetricsF fm(font());
        return {int(std::ceil(fm.horizontalAdvance(text()) + 22)), int(std::ceil(fm.height() + 12))};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(withOpacity(amber(), 0.4), 1));
        p.setBrush(withOpacity(amber(), isDown() ? 0.26 : 0.16));
        p.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
        if (FocusRing::shownOn(this))
            FocusRing::draw(p, QRectF(rect()), height() / 2.0);
        p.setPen(amber());
        PaintedText::draw(p, rect(), Qt::AlignCenter, text());
    }
};

} // namespace

LostConnectionBanner::LostConnectionBanner(BrokerSession* session, const QString& reason, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_detail(new QLabel(this))
    , m_tryAgain(new CapsuleButton(L10n::t("Try again"), this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 10, 14, 10);
    row->setSpacing(10);
    row->addWidget(new SymbolView(QStringLiteral("bolt.horizontal.circle.fill"), 13, amber(), this), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* title = new QLabel(L10n::t("The broker stopped answering."), this);
    title->setFont(KitFont::font(12, QFont::DemiBold, FontDesign::rounded));
    QPalette tp = title->palette();
    tp.setColor(QPalette::WindowText, ink());
    title->setPalette(tp);
    texts->addWidget(title);
    m_detail->setFont(KitFont::font(10.5));
    m_detail->setWordWrap(true);
    m_detail->setTextFormat(Qt::PlainText);
    QPalette dp = m_detail->palette();
    dp.setColor(QPalette::WindowText, white(0.6));
    m_detail->setPalette(dp);
    texts->addWidget(m_detail);
    row->addLayout(texts, 1);
    row->addSpacing(8);
    row->addWidget(m_tryAgain, 0, Qt::AlignTop);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    setReason(reason);

    connect(m_tryAgain, &QAbstractButton::clicked, this, [this] {
        if (!m_session)
            return;
        m_session->setLostConnection(std::nullopt);
        // Not awaited: the banner is gone at once and comes back if the listing fails again.
        startDetached(m_session->refreshTopics());
    });
}

void LostConnectionBanner::setReason(const QString& reason)
{
    m_detail->setText(L10n::t("What is on screen is what it last said. %@", L10n::isolated(reason)));
}

QString LostConnectionBanner::detailText() const { return m_detail->text(); }

void LostConnectionBanner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), withOpacity(amber(), 0.1));
    p.fillRect(QRect(0, height() - 1, width(), 1), withOpacity(amber(), 0.25));
}

} // namespace tessaron
