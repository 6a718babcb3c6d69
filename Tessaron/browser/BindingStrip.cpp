#include "Tessaron/browser/BindingStrip.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/browser/Capsule.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tessaron {

using namespace BrowserStyle;

BindingStrip::BindingStrip(BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_row(new QHBoxLayout(this))
{
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(6);
    m_row->addWidget(new SymbolView(QStringLiteral("arrow.triangle.branch"), 9, white(0.4)));
    m_row->addStretch(1);
    connect(session, &BrokerSession::bindingsChanged, this, &BindingStrip::refresh);
    connect(session, &BrokerSession::selectedTopicChanged, this, &BindingStrip::refresh);
    refresh();
}

bool BindingStrip::showsFanOutRemark() const { return m_remark && m_shows == Shows::chips; }

void BindingStrip::refresh()
{
    if (m_content) {
        delete m_content;
        m_content = nullptr;
    }
    m_remark = nullptr;
    m_chipTexts.clear();
    m_shows = Shows::nothing;
    if (!m_session)
        return;
    const std::optional<QString> selected = m_session->selectedTopic();
    if (!selected || m_session->bindingsQueue() != *selected)
        return;

    m_content = new QWidget;
    auto* line = new QHBoxLayout(m_content);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    const QList<QueueBinding>& bindings = m_session->bindings();
    if (m_session->bindingsFailed()) {
        m_shows = Shows::failed;
        line->addWidget(label(loc("Couldn't read this queue's bindings, so what routes here is unknown."),
                              KitFont::font(10), white(0.5)));
    } else if (bindings.isEmpty()) {
        m_shows = Shows::unbound;
        line->addWidget(label(loc("Bound to nothing — only a direct publish by name reaches this queue."),
                              KitFont::font(10), warningOrange()));
    } else {
        m_shows = Shows::chips;
        bool allDefault = true;
        for (const QueueBinding& binding : bindings) {
            allDefault = allDefault && binding.isDefaultExchange();
            auto* chip = new Capsule(white(0.05), QMargins(7, 3, 7, 3), 4);
            const QString source = binding.isDefaultExchange() ? loc("(default exchange)") : binding.source;
            chip->row()->addWidget(label(source, KitFont::font(10, QFont::DemiBold, FontDesign::monospaced),
                                         binding.isDefaultExchange() ? white(0.5) : neutral()));
            QString text = source;
            if (!binding.routingKey.isEmpty()) {
                const QString arrow = QStringLiteral("→ ") + binding.routingKey;
                chip->row()->addWidget(label(arrow, KitFont::font(9.5), white(0.4)));
                text += QLatin1Char(' ') + arrow;
            }
            m_chipTexts << text;
            line->addWidget(chip);
        }
        if (allDefault) {
            m_remark = label(loc("· nothing fans out to it"), KitFont::font(9.5), white(0.35));
            line->addWidget(m_remark);
        }
    }
    m_row->insertWidget(1, m_content);
}

} // namespace tessaron
