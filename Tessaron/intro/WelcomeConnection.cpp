#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/kit/FocusReturn.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/reception/FormCard.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaron {

WelcomeConnection::WelcomeConnection(AppState* app, std::optional<Broker> savedBroker, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_saved(std::move(savedBroker))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(40);

    auto* leftWidget = new QWidget;
    leftWidget->setFixedWidth(310);
    auto* left = new QVBoxLayout(leftWidget);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(20);
    m_eyebrow = new Eyebrow(QString());
    left->addWidget(m_eyebrow);
    m_title = new ScreenTitle(QString(), QString(), 43);
    left->addWidget(m_title);
    m_pointMe = intro::text(QString(), 14, TessaronPalette::muted());
    left->addWidget(m_pointMe);
    auto* promises = new QVBoxLayout;
    promises->setContentsMargins(0, 8, 0, 0);
    promises->setSpacing(12);
    for (const char* symbol : {"checkmark.shield", "key", "eye.slash"}) {
        QWidget* promise = intro::symbolRow(QString::fromLatin1(symbol), QString(), 11, TessaronPalette::muted());
        m_promises.append(promise->findChild<QLabel*>());
        promises->addWidget(promise);
    }
    left->addLayout(promises);
    m_couch = intro::text(QString(), 12, TessaronPalette::introAccent(), QFont::Medium, FontDesign::rounded);
    m_couch->setContentsMargins(0, 16, 0, 0);
    left->addWidget(m_couch);
    left->addStretch(1);
    row->addWidget(leftWidget, 0, Qt::AlignTop);

    auto* cardContent = new QWidget;
    auto* card = new QVBoxLayout(cardContent);
    card->setContentsMargins(22, 22, 22, 22);
    card->setSpacing(16);
    auto* kinds = new QHBoxLayout;
    kinds->setSpacing(8);
    for (BrokerKind kind : {BrokerKind(BrokerKind::kafka), BrokerKind(BrokerKind::rabbitmq)}) {
        auto* chip = new KitButton(
            kind == BrokerKind::kafka ? QStringLiteral("Kafka") : QStringLiteral("RabbitMQ"),
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, true, QMarginsF(14, 10, 14, 10)));
        chip->setFont(KitFont::font(11, QFont::DemiBold));
        chip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(chip, &KitButton::clicked, this, [this, kind] { setKind(kind); });
        m_kinds.append(chip);
        kinds->addWidget(chip, 1);
    }
    card->addLayout(kinds);
    m_name = new FormField(QString(), QStringLiteral("Local"), true, false);
    m_address = new FormField(QString(), QStringLiteral("localhost:9092"), true, false);
    card->addWidget(m_name);
    card->addWidget(m_address);
    m_rabbitRow = new QWidget;
    auto* rabbit = new QHBoxLayout(m_rabbitRow);
    rabbit->setContentsMargins(0, 0, 0, 0);
    rabbit->setSpacing(10);
    m_user = new FormField(QString(), QStringLiteral("guest"), true, false);
    m_password = new FormField(QString(), QString(), false, true);
    rabbit->addWidget(m_user, 1);
    rabbit->addWidget(m_password, 1);
    card->addWidget(m_rabbitRow);
    m_user->setText(m_draft.username);
    m_rabbitHint = intro::text(QString(), 10, TessaronPalette::muted());
    card->addWidget(m_rabbitHint);

    auto* buttons = new QHBoxLayout;
    m_test = new KitButton(QString(), std::make_unique<PrimaryButtonStyle>());
    m_test->setSymbolSpacing(9);
    connect(m_test, &KitButton::clicked, this, &WelcomeConnection::runConnectionTest);
    buttons->addWidget(m_test);
    m_save = new KitButton(
        QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11, QFont::DemiBold), TessaronPalette::mint()));
    connect(m_save, &KitButton::clicked, this, &WelcomeConnection::saveTestedBroker);
    buttons->addWidget(m_save);
    buttons->addStretch(1);
    card->addLayout(buttons);

    m_resultBox = new QWidget;
    auto* result = new QVBoxLayout(m_resultBox);
    result->setContentsMargins(0, 0, 0, 0);
    result->setSpacing(6);
    m_resultLine = intro::text(QString(), 11, TessaronPalette::mint());
    m_resultIcon = new SymbolView(QStringLiteral("checkmark.circle.fill"), 11, TessaronPalette::mint());
    auto* answeredRow = new QHBoxLayout;
    answeredRow->setSpacing(6);
    answeredRow->addWidget(m_resultIcon, 0, Qt::AlignTop);
    answeredRow->addWidget(m_resultLine, 1);
    m_reasonTitle = intro::text(QString(), 11, TessaronPalette::introAccent(), QFont::DemiBold);
    m_reason = intro::text(QString(), 10, TessaronPalette::introAccent());
    m_reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reason->setMaximumHeight(m_reason->fontMetrics().lineSpacing() * 4 + 2);
    result->addLayout(answeredRow);
    result->addWidget(m_reasonTitle);
    result->addWidget(m_reason);
    card->addWidget(m_resultBox);

    m_formLink = new KitButton(
        QString(), std::make_unique<PlainButtonStyle>(KitFont::font(10, QFont::Medium), TessaronPalette::muted()));
    connect(m_formLink, &KitButton::clicked, this, &WelcomeConnection::openBrokerForm);
    card->addWidget(m_formLink, 0, Qt::AlignLeft);
    card->addStretch(1);
    row->addWidget(panelSurface(cardContent, TessaronPalette::introAccent()), 1, Qt::AlignTop);

    for (FormField* field : {m_name, m_address, m_user, m_password})
        connect(field->edit(), &QLineEdit::textChanged, this, &WelcomeConnection::fieldsChanged);
    retranslate();
    sync();
    LanguageChange::onChange(this, [this] {
        retranslate();
        sync();
    });
}

void WelcomeConnection::retranslate()
{
    m_eyebrow->setText(L10n::t("ENOUGH PRACTICE. MEET THE REAL QUEUE."));
    m_title->firstLine()->setText(L10n::t("Where's"));
    m_title->accentLine()->setText(L10n::t("the case?"));
    m_title->setAccessibleName(m_title->firstLine()->text() + QLatin1Char(' ') + m_title->accentLine()->text());
    m_pointMe->setText(L10n::t("Point me at your broker.\nI'll knock first."));
    m_promises.at(0)->setText(L10n::t("Connection tested before saving."));
    m_promises.at(1)->setText(L10n::t("Passwords go to the keyring."));
    m_promises.at(2)->setText(L10n::t("No messages read in this step."));
    m_couch->setText(L10n::t("Can't find your broker?\nI also lose things under the couch."));
    m_name->setLabel(L10n::t("Name"));
    m_user->setLabel(L10n::t("User"));
    m_password->setLabel(L10n::t("Password"));
    m_password->setPlaceholder(L10n::t("Password"));
    m_rabbitHint->setText(L10n::t("Use the management port (15672), not the AMQP port (5672)."));
    m_save->setText(L10n::t("Save this broker"));
    m_reasonTitle->setText(L10n::t("Nobody answered. No dramatic conclusions."));
    m_formLink->setText(L10n::t("Need TLS, SASL or certificates?"));
}

void WelcomeConnection::setKind(BrokerKind kind)
{
    if (m_testing || m_draft.kind == kind)
        return;
    m_draft.kind = kind;
    clearTest();
    sync();
}

void WelcomeConnection::fieldsChanged()
{
    if (m_syncing)
        return;
    m_draft.name = m_name->edit()->text();
    m_draft.address = m_address->edit()->text();
    m_draft.username = m_user->edit()->text();
    m_draft.password = m_password->edit()->text();
    clearTest();
    sync();
}

void WelcomeConnection::clearTest()
{
    m_result.reset();
    m_tested.reset();
    m_testedSecret.reset();
    m_refusal.clear();
}

void WelcomeConnection::runConnectionTest()
{
    if (m_testing || !m_draft.canTest() || !m_app)
        return;
    const Broker candidate = m_draft.broker();
    m_testing = true;
    m_result.reset();
    m_refusal.clear();
    sync();
    startDetached(test(QPointer<WelcomeConnection>(this), m_app, candidate, m_draft.secret(), ++m_generation));
}

QCoro::Task<> WelcomeConnection::test(QPointer<WelcomeConnection> page, QPointer<AppState> app, Broker candidate,
                                      std::optional<QString> secret, int generation)
{
    if (!app)
        co_return;
    auto task = app->test(candidate, secret);
    const AppState::TestResult outcome = co_await std::move(task);
    // The chapter may have been left meanwhile (pages are rebuilt on entry), or its fields changed.
    if (!page || page->m_generation != generation)
        co_return;
    page->m_testing = false;
    if (page->m_draft.matches(candidate, secret)) {
        page->m_tested = candidate;
        page->m_testedSecret = secret;
        page->m_result = outcome;
    }
    page->sync();
    emit page->testFinished();
}

void WelcomeConnection::saveTestedBroker()
{
    if (!m_app || !m_tested || !m_result || !m_result->isAnswered())
        return;
    if (m_saving || (m_saved && m_saved->id == m_tested->id))
        return;
    m_saving = true;
    startDetached(save(this, m_app, *m_tested, m_testedSecret));
}

QCoro::Task<> WelcomeConnection::save(QPointer<WelcomeConnection> page, QPointer<AppState> app, Broker broker,
                                      std::optional<QString> secret)
{
    auto saving = app->save(broker, secret);
    const std::optional<QString> refusal = co_await std::move(saving);
    if (!page)
        co_return;
    page->m_saving = false;
    if (refusal) {
        // Not on file: say why, and the flow does not count a broker.
        page->m_refusal = *refusal;
        page->sync();
        co_return;
    }
    page->m_refusal.clear();
    page->m_saved = broker;
    page->sync();
    emit page->brokerSaved(broker);
}

void WelcomeConnection::openBrokerForm()
{
    if (m_testing || !m_app || m_form)
        return;
    const Broker draft = m_draft.broker();
    m_tested = draft;
    m_advancedID = draft.id;
    m_app->setEditing(draft);
    // The reception's own form, nested over the introduction.
    m_form = new BrokerFormSheet(m_app, window());
    m_form->setWindowModality(Qt::WindowModal);
    connect(m_form, &QDialog::finished, this, [this] {
        if (m_form)
            m_form->deleteLater();
        adoptFormBroker();
    });
    FocusReturn::track(m_form);
    m_form->open();
}

void WelcomeConnection::adoptFormBroker()
{
    if (!m_advancedID || !m_app)
        return;
    for (const Broker& b : m_app->brokers()) {
        if (b.id == *m_advancedID) {
            m_saved = b;
            sync();
            emit brokerSaved(b);
            return;
        }
    }
}

void WelcomeConnection::keyPressEvent(QKeyEvent* event)
{
    // Return in a field only ends the edit: the chapter never moves on or tests from it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
            edit->clearFocus();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WelcomeConnection::sync()
{
    m_syncing = true;
    const bool rabbit = m_draft.kind == BrokerKind::rabbitmq;
    for (int i = 0; i < m_kinds.size(); ++i) {
        const bool selected = (i == 1) == rabbit;
        m_kinds[i]->setButtonStyle(
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), selected, true, QMarginsF(14, 10, 14, 10)));
        m_kinds[i]->setSelected(selected);
        m_kinds[i]->setEnabled(!m_testing);
    }
    m_address->setLabel(rabbit ? L10n::t("Management API") : L10n::t("Bootstrap address"));
    m_address->setPlaceholder(rabbit ? QStringLiteral("localhost:15672") : QStringLiteral("localhost:9092"));
    m_rabbitRow->setVisible(rabbit);
    m_rabbitHint->setVisible(rabbit);
    m_test->setText(m_testing ? L10n::t("Knocking…") : L10n::t("Test connection"));
    m_test->setTrailingSymbol(m_testing ? QString() : QStringLiteral("bolt.horizontal"));
    m_test->setEnabled(!m_testing && m_draft.canTest());
    m_test->setBusy(m_testing);
    const bool answered = m_result && m_result->isAnswered();
    const bool isSaved = m_tested && m_saved && m_saved->id == m_tested->id;
    m_save->setVisible(answered && m_tested && !isSaved);
    m_formLink->setEnabled(!m_testing);
    m_resultBox->setVisible(m_result.has_value());
    if (m_result) {
        if (answered) {
            m_resultLine->setText(!m_refusal.isEmpty() ? m_refusal
                                      : isSaved        ? L10n::t("On file. Welcome to the firm.")
                                      : m_result->topics() == 1
                                      ? L10n::t("It answered. One topic or queue found.")
                                      : L10n::t("It answered. %d topics or queues found.", m_result->topics()));
            QPalette p = m_resultLine->palette();
            p.setColor(QPalette::WindowText,
                       m_refusal.isEmpty() ? TessaronPalette::mint() : TessaronPalette::introAccent());
            m_resultLine->setPalette(p);
        }
        m_resultLine->setVisible(answered);
        m_resultIcon->setVisible(answered && m_refusal.isEmpty());
        m_reasonTitle->setVisible(!answered);
        m_reason->setVisible(!answered);
        m_reason->setText(answered ? QString() : m_result->reason());
        m_reason->setToolTip(answered ? QString() : PlainText::toolTip(m_result->reason()));
    }
    m_syncing = false;
}

} // namespace tessaron
