#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/kit/SheetFit.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/browser/CapsuleButtonStyle.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/browser/PayloadDocument.h"
#include "Tessaron/browser/PayloadKinds.h"
#include "Tessaron/casework/TopicNotes.h"
#include "TessaronCore/model/TextRules.h"
#include "TessaronCore/model/MessageAddress.h"
#include "Tessaron/kit/FlowRow.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/l10n/MomentStyles.h"
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace tessaron {

using namespace BrowserStyle;

namespace {

QString rgba(const QColor& c)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alphaF());
}

// A panel with a filled rounded background around `content`.
QWidget* panel(QWidget* content, const QColor& fill, double radius, int padding)
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("panel"));
    frame->setStyleSheet(
        QStringLiteral("QFrame#panel { background: %1; border-radius: %2px; }").arg(rgba(fill)).arg(radius));
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(padding, padding, padding, padding);
    box->addWidget(content);
    return frame;
}

QWidget* symbolLine(const QString& symbol, double symbolSize, const QColor& symbolColor, QLabel* text, int spacing)
{
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(spacing);
    line->addWidget(new SymbolView(symbol, symbolSize, symbolColor), 0, Qt::AlignTop);
    line->addWidget(text, 1);
    return row;
}

QWidget* fact(const QString& symbol, const QString& text)
{
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    line->addWidget(new SymbolView(symbol, 8.5, white(0.35)));
    auto* label = new ElidedLabel(text, KitFont::font(10, QFont::Normal, FontDesign::monospaced), white(0.6));
    line->addWidget(label, 1);
    return row;
}

} // namespace

QString ExhibitView::timestampText(const QDateTime& moment, const QLocale& locale)
{
    return MomentStyles::standard(moment, locale);
}

namespace { } // namespace

ExhibitView::ExhibitView(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
{
    // With the rows beside it and the sidebar at its narrowest, this fits the smallest window.
    setMinimumWidth(240);
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_notes = new TopicNotes(app, session);
    m_stack->addWidget(m_notes);
    m_scroll = new QScrollArea;
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->viewport()->installEventFilter(this);
    // A control the keyboard reaches below the fold is brought into view whole.
    SheetFit::keepFocusInView(m_scroll);
    m_stack->addWidget(m_scroll);

    connect(session, &BrokerSession::selectedMessageChanged, this, &ExhibitView::refresh);
    connect(session, &BrokerSession::messagesChanged, this, &ExhibitView::refresh);
    connect(session, &BrokerSession::shapeVerdictChanged, this, &ExhibitView::refresh);
    refresh();
}

bool ExhibitView::showsNotes() const { return m_stack->currentWidget() == m_notes; }

void ExhibitView::refresh()
{
    if (!m_session)
        return;
    // The session's current message, found where a page read on leaves it first (above the rows
    // it lands on, or where it was): every page of "Read further" asks again.
    const QList<Message>& held = m_session->messages();
    const std::optional<QString>& selected = m_session->selectedMessage();
    const std::optional<MessageAddress> address = selected ? MessageAddress::of(*selected) : std::nullopt;
    qsizetype at = -1;
    if (address) {
        for (const qsizetype guess : {m_heldAt + held.size() - m_heldCount, m_heldAt}) {
            if (guess >= 0 && guess < held.size() && address->matches(held.at(guess))) {
                at = guess;
                break;
            }
        }
        if (at < 0)
            at = address->indexIn(held);
    }
    m_heldAt = at;
    m_heldCount = held.size();
    const std::optional<Message> message = at >= 0 ? std::optional<Message>(held.at(at)) : std::nullopt;
    const std::optional<int> number = at >= 0 ? std::optional<int>(int(at + 1)) : std::nullopt;
    if (at < 0) {
        m_shown.reset();
        m_number.reset();
        m_suspects.clear();
        m_document = nullptr;
        m_builtKey.clear();
        if (QWidget* old = m_scroll->takeWidget())
            old->deleteLater();
        m_stack->setCurrentWidget(m_notes);
        return;
    }

    const std::optional<ShapeVerdict::Drift> drift = m_session->shapeVerdict().driftDetail();
    const bool outlier = drift && drift->outlierIDs.contains(message->id());
    QSet<QString> suspects;
    if (outlier) {
        for (const FieldDifference& difference : drift->differences)
            suspects.insert(difference.field);
    }
    // Rebuild only when something the exhibit shows changed (how many disagree shows only on one
    // that disagrees); a new number alone is written over.
    const QString key = message->id() + QLatin1Char('#') + (outlier ? QStringLiteral("!") : QString())
        + QString::number(outlier ? drift->outlierCount() : 0) + QLatin1Char('#')
        + QStringList(suspects.values()).join(QLatin1Char(','))
        + QString::number(qHash(message->decoded().value_or(Message::Decoded{})))
        + message->decodeFailure().value_or(QString());
    m_shown = message->id();
    const bool renumbered = m_number != number;
    m_number = number;
    m_suspects = suspects;
    m_stack->setCurrentWidget(m_scroll);
    // It is a Tab stop, for scrolling by keyboard: reached, it says which exhibit it shows.
    const QString stamp = L10n::t("EXHIBIT %d", *number);
    if (key == m_builtKey && m_stamp) {
        if (renumbered) {
            m_stamp->setText(stamp);
            m_scroll->setAccessibleName(stamp);
        }
        return;
    }
    m_builtKey = key;
    m_document = nullptr;
    if (QWidget* old = m_scroll->takeWidget())
        old->deleteLater();
    m_scroll->setWidget(build(*message, *number, outlier, drift ? drift->outlierCount() : 0));
    // A scroll area fills the widget it takes; the page is drawn on the column's own surface.
    m_scroll->widget()->setAutoFillBackground(false);
    m_scroll->setAccessibleName(stamp);
    fitDocument();
}

// A long document is never taller than the view: it scrolls inside itself instead, so the
// page stays within a widget's height limit and only the rows in view are laid out.
void ExhibitView::fitDocument()
{
    if (m_document)
        m_document->setViewHeight(m_scroll->viewport()->height() - 32);
}

bool ExhibitView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        fitDocument();
    return QWidget::eventFilter(watched, event);
}

QWidget* ExhibitView::build(const Message& message, int number, bool outlier, qsizetype outlierCount)
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);
    const PayloadKind kind = PayloadKinds::of(message);

    column->addLayout(buildHeading(message, kind, number, outlier, outlierCount));
    if (!message.headers().isEmpty())
        column->addLayout(buildAnnotations(message));
    column->addLayout(buildRecord(message, kind));
    column->addLayout(buildActions(message));
    column->addStretch(1);
    return page;
}

QLayout* ExhibitView::buildHeading(const Message& message, const PayloadKind& kind, int number, bool outlier,
                                   qsizetype outlierCount)
{
    // 1. Heading: the stamp and kind, the facts, the drift note.
    auto* heading = new QVBoxLayout;
    heading->setSpacing(9);
    auto* stampRow = new QHBoxLayout;
    stampRow->setSpacing(9);
    m_stamp = new LawyeredStamp(L10n::t("EXHIBIT %d", number), outlier ? warningOrange() : Brand::accent());
    stampRow->addWidget(m_stamp);
    auto* chip = label(kind.label(), KitFont::font(10, QFont::Medium, FontDesign::rounded), white(0.6));
    chip->setObjectName(QStringLiteral("kindChip"));
    chip->setStyleSheet(QStringLiteral("QLabel#kindChip { background: %1; border-radius: 6px; padding: 3px 7px; }")
                            .arg(rgba(white(0.07))));
    stampRow->addWidget(chip);
    stampRow->addStretch(1);
    heading->addLayout(stampRow);

    // The facts wrap onto a second line before any of them is cut short.
    auto* facts = new FlowRow(nullptr, 10, 4);
    facts->addWidget(fact(QStringLiteral("number"),
                          QStringLiteral("p%1 · %2").arg(message.partition()).arg(qint64(message.offset()))));
    if (const std::optional<QString> key = message.keyString())
        facts->addWidget(fact(QStringLiteral("key.horizontal"), *key));
    if (message.timestamp())
        facts->addWidget(fact(QStringLiteral("clock"), timestampText(*message.timestamp(), L10n::interfaceLocale())));
    heading->addLayout(facts);

    if (outlier) {
        auto* note = new QWidget;
        auto* noteColumn = new QVBoxLayout(note);
        noteColumn->setContentsMargins(0, 0, 0, 0);
        noteColumn->setSpacing(4);
        auto* claim =
            label(outlierCount == 1 ? loc("This one is the only one that disagrees.")
                                    : L10n::t("This one is among the %d that disagree.", qint64(outlierCount)),
                  KitFont::font(11, QFont::DemiBold, FontDesign::rounded), warningOrange());
        noteColumn->addWidget(symbolLine(QStringLiteral("exclamationmark.bubble.fill"), 10, warningOrange(), claim, 7));
        noteColumn->addWidget(
            label(loc("Marked below, on the exact line where it differs."), KitFont::font(10), white(0.5)));
        heading->addWidget(panel(note, withOpacity(warningOrange(), 0.08), 9, 10));
    }
    return heading;
}

QLayout* ExhibitView::buildAnnotations(const Message& message)
{
    const QColor neutralTint = neutral();
    // 2. Annotations: every header in order, repeated names included.
    auto* annotations = new QVBoxLayout;
    annotations->setSpacing(6);
    annotations->addWidget(new FormHeading(loc("Annotations"), std::nullopt, neutralTint));
    for (const Message::Header& header : message.headers()) {
        auto* row = new QHBoxLayout;
        row->setSpacing(7);
        auto* name = label(header.name, KitFont::font(10, QFont::DemiBold, FontDesign::monospaced),
                           withOpacity(neutralTint, 0.9));
        name->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row->addWidget(name, 0, Qt::AlignTop);
        const std::optional<QString> text = decodeUtf8(header.value);
        auto* value = label(text.value_or(loc("<binary>")), KitFont::font(10), white(0.65));
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row->addWidget(value, 1);
        annotations->addLayout(row);
    }
    return annotations;
}

QLayout* ExhibitView::buildRecord(const Message& message, const PayloadKind& kind)
{
    const QColor neutralTint = neutral();
    // 3. The record, in the form its kind calls for.
    auto* record = new QVBoxLayout;
    record->setSpacing(6);
    record->addWidget(new FormHeading(loc("The record"), std::nullopt, neutralTint));
    // A payload cut by the read says so where it is shown and copied from.
    if (const std::optional<int64_t> whole = message.wholePayloadSize()) {
        auto* cut = label(L10n::t("Only the first %lld of %lld bytes were read. Copy takes these bytes only, and no "
                                  "corrected copy is filed from them.",
                                  qint64(message.payload().value_or(QByteArray()).size()), qint64(*whole)),
                          KitFont::font(11), warningOrange());
        cut->setWordWrap(true);
        cut->setObjectName(QStringLiteral("cutNote"));
        record->addWidget(
            panel(symbolLine(QStringLiteral("exclamationmark.triangle.fill"), 11, warningOrange(), cut, 6),
                  withOpacity(warningOrange(), 0.07), 9, 10));
    }
    switch (kind.tag()) {
    case PayloadKind::json:
        m_document =
            new PayloadDocument(JSONHighlighter::prettyPrint(message.payloadString().value_or(QString())), m_suspects);
        record->addWidget(m_document);
        break;
    case PayloadKind::avroDecoded: {
        auto* note =
            label(L10n::t("Decoded with schema %d from the registry. The bytes on the broker are Avro; this is "
                          "what they say.",
                          qint64(kind.schemaID().value_or(0))),
                  KitFont::font(10.5), TessaronPalette::ink());
        note->setWordWrap(true);
        record->addWidget(symbolLine(QStringLiteral("doc.badge.gearshape"), 10, neutralTint, note, 6));
        m_document =
            new PayloadDocument(JSONHighlighter::prettyPrint(message.payloadString().value_or(QString())), m_suspects);
        record->addWidget(m_document);
        break;
    }
    case PayloadKind::text:
        m_document = new PayloadDocument(message.payloadString().value_or(QString()), {});
        record->addWidget(m_document);
        break;
    case PayloadKind::binary: {
        const qint64 bytes = message.payload().value_or(QByteArray()).size();
        auto* text = label(bytes == 1 ? loc("1 byte of binary") : L10n::t("%d bytes of binary", bytes),
                           KitFont::font(12), white(0.55));
        record->addWidget(panel(text, white(0.04), 9, 12));
        break;
    }
    case PayloadKind::tombstone: {
        auto* text =
            label(loc("Tombstone — this key is deleted. Not an empty message."), KitFont::font(12), warningOrange());
        text->setWordWrap(true);
        record->addWidget(panel(symbolLine(QStringLiteral("xmark.bin.fill"), 12, warningOrange(), text, 6),
                                withOpacity(warningOrange(), 0.07), 9, 12));
        break;
    }
    case PayloadKind::avroConfluent: {
        auto* box = new QWidget;
        auto* stack = new QVBoxLayout(box);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(6);
        auto* title = label(L10n::t("Avro, schema %d", qint64(kind.schemaID().value_or(0))),
                            KitFont::font(12, QFont::Medium, FontDesign::rounded), TessaronPalette::ink());
        stack->addWidget(symbolLine(QStringLiteral("doc.badge.gearshape"), 12, TessaronPalette::ink(), title, 6));
        auto* why = label(message.decodeFailure().value_or(loc(
                              "Tessaron can read the schema id off the wire, but not the body — that needs a Schema "
                              "Registry. Add one on the broker's form.")),
                          KitFont::font(11), white(0.5));
        why->setWordWrap(true);
        why->setTextInteractionFlags(Qt::TextSelectableByMouse);
        stack->addWidget(why);
        record->addWidget(panel(box, white(0.04), 9, 12));
        break;
    }
    }
    return record;
}

QLayout* ExhibitView::buildActions(const Message& message)
{
    const QColor neutralTint = neutral();
    // 4. Actions.
    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    auto* copy = new KitButton(
        loc("Copy"),
        std::make_unique<PlainButtonStyle>(KitFont::font(11, QFont::Medium, FontDesign::rounded), white(0.5)));
    copy->setLeadingSymbol(QStringLiteral("doc.on.doc"));
    copy->setObjectName(QStringLiteral("copy"));
    copy->setEnabled(!message.isTombstone());
    connect(copy, &KitButton::clicked, this, &ExhibitView::copyPayload);
    actions->addWidget(copy);
    actions->addStretch(1);
    auto* file = new KitButton(loc("File a corrected copy"),
                               std::make_unique<CapsuleButtonStyle>(KitFont::font(11, QFont::DemiBold), neutralTint,
                                                                    neutralTint, 0.14, 0.35, QMarginsF(12, 6, 12, 6)));
    file->setLeadingSymbol(QStringLiteral("square.and.pencil"));
    file->setObjectName(QStringLiteral("fileCopy"));
    connect(file, &KitButton::clicked, this, &ExhibitView::fileCorrectedCopy);
    actions->addWidget(file);
    return actions;
}

void ExhibitView::copyPayload()
{
    if (!m_session)
        return;
    const std::optional<Message> message = m_session->currentMessage();
    if (!message)
        return;
    if (const std::optional<QString> text = copiedText(*message))
        QApplication::clipboard()->setText(*text);
}

std::optional<QString> ExhibitView::copiedText(const Message& message)
{
    // Bytes that are not text go as hex; a tombstone has nothing to copy, and the clipboard keeps
    // what it holds.
    switch (PayloadKinds::of(message).tag()) {
    case PayloadKind::tombstone:
        return std::nullopt;
    case PayloadKind::binary:
    case PayloadKind::avroConfluent:
        return QString::fromLatin1(message.payload().value_or(QByteArray()).toHex(' '));
    default:
        // Every byte as read, a leading byte-order mark too.
        if (const std::optional<QByteArray> bytes = message.readablePayload())
            return TextRules::strictUtf8(*bytes);
        return std::nullopt;
    }
}

void ExhibitView::fileCorrectedCopy()
{
    if (!m_session || !m_app)
        return;
    if (const std::optional<Message> message = m_session->currentMessage())
        m_app->setAction(AppState::Action::makeProduce(*message));
}

} // namespace tessaron
