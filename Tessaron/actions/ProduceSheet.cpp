#include "Tessaron/actions/ProduceSheet.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/actions/PayloadEditor.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

namespace {

// The orange panel that says why a copy of this message is not filed.
class SourceRefusal : public QWidget {
public:
    SourceRefusal(const QString& why, QWidget* parent)
        : QWidget(parent)
    {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(12, 12, 12, 12);
        row->setSpacing(8);
        // The hand of a refusal that never changes: it does not swing, so it needs no animation.
        auto* hand = new SymbolView(QStringLiteral("hand.raised.fill"), 12, warningOrange(), this);
        row->addWidget(hand, 0, Qt::AlignTop);
        row->addWidget(label(why, KitFont::font(10.5), warningOrange(), this, true), 1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(warningOrange(), 0.07));
        painter.drawRoundedRect(QRectF(rect()), 10, 10);
    }
};

// The editor's frame: black at 28 % in a rounded rectangle outlined in white at 8 %.
void stylePayload(PayloadEditor* editor)
{
    editor->setFont(KitFont::font(11.5, QFont::Normal, FontDesign::monospaced));
    editor->setMinimumHeight(150);
    editor->setTabChangesFocus(true);
    editor->setObjectName(QStringLiteral("payloadEditor"));
    editor->setStyleSheet(
        QStringLiteral("QPlainTextEdit#payloadEditor { background: %3; border: 1px solid %4; border-radius: 8px; "
                       "padding: 7px; color: %1; }"
                       "QPlainTextEdit#payloadEditor:focus { border: 1px solid %2; }")
            .arg(ink().name(), withOpacity(accent(), 0.7).name(QColor::HexArgb),
                 TessaronPalette::css(TessaronPalette::editorFill()),
                 TessaronPalette::css(TessaronPalette::editorEdge())));
}

QString refusalOf(const Message& source)
{
    if (source.payloadKind().isAvro())
        return L10n::t("This message is Avro. What you see is the decoded record; filing it back would put JSON on a "
                       "topic every consumer reads as Avro — the copy would be the broken message. Tessaron can't "
                       "re-encode with the schema yet, so he won't file this one.");
    return L10n::t("Only the first %lld of this message's %lld bytes were read: a copy would file them as if they "
                   "were the whole message, so Tessaron won't file this one.",
                   qint64(source.payload().value_or(QByteArray()).size()),
                   qint64(source.wholePayloadSize().value_or(0)));
}

} // namespace

ProduceSheet::ProduceSheet(std::optional<Message> source, AppState*, BrokerSession* session, QWidget* parent)
    : WritingSheet(ProduceLogic::title(source),
                   ProduceLogic::subtitle(session ? session->currentTopic() : std::nullopt), false, session, parent)
    , m_source(std::move(source))
    , m_refused(ProduceLogic::sourceIsAvro(m_source) || ProduceLogic::sourceIsCut(m_source))
    , m_keyed(!session || session->broker().kind != BrokerKind::rabbitmq)
{
    const std::optional<Topic> current = session ? session->currentTopic() : std::nullopt;
    ActionPage* sheetPage = page();
    QVBoxLayout* content = sheetPage->content();
    const QColor tint = accent();

    if (m_refused)
        content->addWidget(new SourceRefusal(refusalOf(*m_source), sheetPage));
    m_where = new FormHeading(QString(), 1, tint, sheetPage);
    content->addWidget(m_where);
    m_topic = new QLineEdit(sheetPage);
    styleField(m_topic, true);
    content->addWidget(m_topic);

    m_what = new FormHeading(QString(), 2, tint, sheetPage);
    content->addWidget(m_what);
    auto* what = new QVBoxLayout;
    what->setSpacing(6);
    m_key = new QLineEdit(sheetPage);
    styleField(m_key, true);
    what->addWidget(m_key);
    m_keyNote = label(QString(), KitFont::font(10), warningOrange(), sheetPage, true);
    m_keyNote->hide();
    what->addWidget(m_keyNote);
    m_payload = new PayloadEditor(sheetPage);
    stylePayload(m_payload);
    what->addWidget(m_payload);
    content->addLayout(what);

    addReason(3, true);
    addFooter();
    retranslate();

    const ProduceLogic::Prefill prefill = ProduceLogic::prefill(m_source, current);
    m_topic->setText(prefill.topic);
    m_key->setText(prefill.key);
    m_key->setVisible(m_keyed);
    m_keyNote->setVisible(m_keyed && prefill.keyNotText);
    m_payload->setExactText(prefill.payload);

    connect(m_topic, &QLineEdit::textChanged, this, &ProduceSheet::refresh);
    connect(m_payload, &PayloadEditor::exactTextChanged, this, &ProduceSheet::refresh);
    connect(fileButton(), &QAbstractButton::clicked, this, &ProduceSheet::file);
    setTabOrder(m_topic, m_key);
    setTabOrder(m_key, m_payload);
    setTabOrder(m_payload, reasonField());
    setTabOrder(reasonField(), cancelButton());
    setTabOrder(cancelButton(), fileButton());
    m_topic->setFocus();
    refresh();
}

void ProduceSheet::retranslate()
{
    WritingSheet::retranslate();
    setTitles(ProduceLogic::title(m_source),
              ProduceLogic::subtitle(session() ? session()->currentTopic() : std::nullopt));
    m_where->setText(L10n::t("Where"));
    m_topic->setAccessibleName(L10n::t("Where"));
    m_what->setText(L10n::t("What"));
    m_key->setPlaceholderText(L10n::t("Key (optional)"));
    m_key->setAccessibleName(L10n::t("Key (optional)"));
    m_keyNote->setText(L10n::t("This message's key isn't UTF-8 text, so it can't be carried over. Type a key, or the "
                               "copy goes without one."));
    m_payload->setAccessibleName(L10n::t("What"));
    setReasonTexts(L10n::t("Reprocessing after the schema fix"),
                   L10n::t("Travels with the message as a tessaron-reason header, so whoever finds it later "
                           "knows it came from here and why."));
    const bool queue = session() && session()->broker().kind == BrokerKind::rabbitmq;
    setFooterTexts(queue ? L10n::t("This adds a real message to a real queue.")
                         : L10n::t("This adds a real message to a real topic."),
                   L10n::t("File it"), L10n::t("Filing…"));
}

ProduceLogic::Form ProduceSheet::form() const
{
    return {m_topic->text(), m_keyed ? m_key->text() : QString(), m_payload->exactText(), reasonField()->text()};
}

bool ProduceSheet::canFile() const { return !isWorking() && ProduceLogic::canFile(form(), m_refused); }

void ProduceSheet::refresh() { fileButton()->setEnabled(canFile()); }

void ProduceSheet::file()
{
    if (!canFile())
        return;
    write([form = form()](BrokerSession& session) {
        return session.produce(form.topic, form.key, form.payload, form.reason);
    });
}

} // namespace tessaron
