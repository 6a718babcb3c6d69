#include "Tessaron/browser/MessageSearchField.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QLabel>
#include <QLineEdit>

namespace tessaron {

using namespace BrowserStyle;

MessageSearchField::MessageSearchField(BrokerSession* session, QWidget* parent)
    : Capsule(white(0.06), QMargins(8, 4, 8, 4), 6, 6, parent)
    , m_session(session)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    row()->addWidget(new SymbolView(QStringLiteral("magnifyingglass"), 10, white(0.4)));
    m_edit = new QLineEdit;
    m_edit->setFrame(false);
    m_edit->setFont(KitFont::font(11));
    m_edit->setPlaceholderText(loc("Find in these messages"));
    m_edit->setAccessibleName(loc("Find in these messages"));
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Text, TessaronPalette::ink());
    p.setColor(QPalette::PlaceholderText, white(0.35));
    m_edit->setPalette(p);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    ringFocusOf(m_edit);
    m_edit->setText(session->messageSearch());
    row()->addWidget(m_edit, 1);
    m_count = label(QString(), KitFont::font(9.5, QFont::Normal, FontDesign::monospaced), white(0.45));
    row()->addWidget(m_count);
    m_clear = new KitButton(QString(), std::make_unique<PlainButtonStyle>(KitFont::font(10), white(0.3)));
    m_clear->setLeadingSymbol(QStringLiteral("xmark.circle.fill"));
    m_clear->setAccessibleName(loc("Clear"));
    m_clear->setToolTip(loc("Clear"));
    row()->addWidget(m_clear);

    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_session)
            m_session->setMessageSearch(text);
    });
    connect(session, &BrokerSession::messageSearchChanged, this, [this] {
        if (m_session && m_edit->text() != m_session->messageSearch())
            m_edit->setText(m_session->messageSearch());
    });
    connect(m_clear, &KitButton::clicked, this, [this] {
        if (m_session)
            m_session->setMessageSearch(QString());
        m_edit->setFocus();
    });
    setCounts(std::nullopt, 0);
}

void MessageSearchField::setCounts(std::optional<qsizetype> matches, qsizetype total)
{
    m_count->setVisible(matches.has_value());
    m_clear->setVisible(matches.has_value());
    if (!matches)
        return;
    m_count->setText(L10n::t("%d of %d read", qint64(*matches), qint64(total)));
    setTextColor(m_count, *matches == 0 ? warningOrange() : white(0.45));
}

} // namespace tessaron
