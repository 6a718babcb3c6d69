#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/kit/FocusReturn.h"

#include "Tessaron/reception/ConfirmSheet.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/SlamStamp.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/reception/BrokerFormLogic.h"
#include "Tessaron/reception/FormCard.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "Tessaron/reception/ReceptionWidgets.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

namespace {

void markChoice(KitButton* button, bool selected, bool mechanism)
{
    button->setSelected(selected);
    auto* style = static_cast<ControlStyle*>(button->buttonStyle());
    if (style->selected() == selected)
        return;
    const QMarginsF insets = mechanism ? QMarginsF(10, 8, 10, 8) : QMarginsF(10, 9, 10, 9);
    button->setButtonStyle(std::make_unique<ControlStyle>(accent(), selected, true, insets));
}

} // namespace

BrokerFormSheet::BrokerFormSheet(AppState* app, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
{
    Broker broker;
    bool isNew = true;
    if (app && app->editing()) {
        broker = *app->editing();
        for (const Broker& saved : app->brokers())
            isNew = isNew && saved.id != broker.id;
    } else {
        broker.id = QUuid::createUuid();
        broker.saslMechanism = QStringLiteral("PLAIN");
    }
    m_model = new BrokerFormLogic(broker, isNew, this);
    m_chooser = [this](const QString& title, std::function<void(const QString&)> chosen) {
        auto* dialog = new QFileDialog(this, title);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::WindowModal);
        connect(dialog, &QFileDialog::fileSelected, this, [chosen](const QString& path) {
            if (!path.isEmpty())
                chosen(QFileInfo(path).absoluteFilePath());
        });
        FocusReturn::track(dialog);
        dialog->open();
    };

    setWindowModality(Qt::WindowModal);
    setModal(true);
    // 660 × 740 where the window allows it; on a smaller one the cards scroll between the header
    // and the foot.
    SheetFit::follow(this, QSize(660, 740));
    setAttribute(Qt::WA_TranslucentBackground, false);
    build();
    LanguageChange::onChange(this, [this] { followLanguage(); });

    connect(m_model, &BrokerFormLogic::changed, this, &BrokerFormSheet::sync);
    connect(m_model, &BrokerFormLogic::testChanged, this, &BrokerFormSheet::syncTest);
    connect(m_model, &BrokerFormLogic::refusalChanged, this, &BrokerFormSheet::syncRefusal);
    connect(this, &QDialog::finished, this, &BrokerFormSheet::closed);
    if (m_app) {
        // Saved or forgotten elsewhere (or another broker put under edit): this form is done.
        connect(m_app, &AppState::editingChanged, this, [this] {
            if (!isVisible() || m_finished)
                return;
            if (!m_app->editing() || m_app->editing()->id != m_model->original().id)
                done(QDialog::Accepted);
        });
    }
    sync();
    syncTest();
    syncRefusal();
}

BrokerFormSheet::~BrokerFormSheet() = default;

void BrokerFormSheet::setFileChooser(FileChooser chooser)
{
    if (chooser)
        m_chooser = std::move(chooser);
}

QWidget* BrokerFormSheet::registryCard() const { return m_whatCard; }

ConfirmSheet* BrokerFormSheet::confirmation() const { return m_confirmation; }

void BrokerFormSheet::followLanguage()
{
    const int scrolled = m_scroll->verticalScrollBar()->value();
    const QList<QLineEdit*> before = m_scroll->widget()->findChildren<QLineEdit*>();
    const qsizetype focused = before.indexOf(qobject_cast<QLineEdit*>(focusWidget()));
    QLayout* old = layout();
    while (QLayoutItem* item = old->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    delete old;
    // The lists and the stamp went with the old widgets.
    m_kindButtons.clear();
    m_securityButtons.clear();
    m_mechanismButtons.clear();
    m_stamp = nullptr;
    build();
    sync();
    syncTest();
    syncRefusal();
    // Widgets put into a shown dialog only show at the next turn of the event loop; these show now,
    // so the scroll position and the focus can be given back at once.
    for (int i = 0; i < layout()->count(); ++i) {
        if (QWidget* part = layout()->itemAt(i)->widget())
            part->show();
    }
    m_scroll->widget()->show();
    layout()->activate();
    m_scroll->widget()->adjustSize();
    m_scroll->verticalScrollBar()->setValue(scrolled);
    const QList<QLineEdit*> after = m_scroll->widget()->findChildren<QLineEdit*>();
    if (focused >= 0 && focused < after.size())
        after.at(focused)->setFocus();
}

// TLS: the certificate authority and the client certificate.
// SASL: the mechanism (not on RabbitMQ), the user and the password.
void BrokerFormSheet::sync()
{
    const BrokerFormLogic& m = *m_model;
    // Sections that a change of kind or security brings in or takes away fade over 0.2 s.
    const std::pair mode{m.kind(), m.security()};
    const Motion motion =
        m_shownMode && *m_shownMode != mode ? decorativeMotion(this, Motion::easeInOut(0.2)) : Motion::none();
    m_shownMode = mode;
    const auto reveal = [&motion](QWidget* section, bool shown) { fadeVisible(section, shown, motion); };
    markChoice(m_kindButtons[0], m.kind() == BrokerKind::kafka, false);
    markChoice(m_kindButtons[1], m.kind() == BrokerKind::rabbitmq, false);
    const QList<BrokerSecurity> modes{BrokerSecurity::plaintext, BrokerSecurity::ssl, BrokerSecurity::saslPlaintext,
                                      BrokerSecurity::saslSSL};
    for (qsizetype i = 0; i < modes.size(); ++i)
        markChoice(m_securityButtons[i], m.security() == modes[i], false);
    for (qsizetype i = 0; i < m_mechanismButtons.size(); ++i)
        markChoice(m_mechanismButtons[i], m.mechanism() == BrokerFormLogic::mechanisms()[i], true);

    if (m.isRabbit()) {
        m_address->setLabel(L10n::t("Management API"));
        m_address->setPlaceholder(QStringLiteral("localhost:15672"));
        m_address->setHint(L10n::t("The management port — 15672 by default, not AMQP's 5672 — and the plugin has to "
                                   "be on."));
    } else {
        m_address->setLabel(L10n::t("Bootstrap servers"));
        m_address->setPlaceholder(QStringLiteral("localhost:9092"));
        m_address->setHint(L10n::t("host:port, comma-separated for more than one"));
    }
    reveal(m_vhost, m.showsVirtualHost());

    const bool plaintext = m.security() == BrokerSecurity::plaintext;
    m_howCard->setCardTint(plaintext ? amber() : accent());
    m_securityIcon->setName(plaintext ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("lock.fill"));
    m_securityIcon->setColor(plaintext ? amber() : jade());
    m_securitySentence->setText(m.securitySentence());

    reveal(m_tls, m.showsTLS());
    m_useSystem->setVisible(!m.usesSystemTrust());
    m_caChoose->setText(m.usesSystemTrust() ? L10n::t("Choose a PEM…") : L10n::t("Change…"));
    m_caIcon->setName(m.usesSystemTrust() ? QStringLiteral("checkmark.seal.fill")
                                          : QStringLiteral("doc.badge.ellipsis"));
    m_caIcon->setColor(m.usesSystemTrust() ? jade() : accent());
    m_caText->setFont(m.usesSystemTrust() ? KitFont::font(10.5)
                                          : KitFont::font(10.5, QFont::Normal, FontDesign::monospaced));
    m_caText->setText(m.usesSystemTrust() ? L10n::t("This computer's trust store — right for a managed cluster.")
                                          : QFileInfo(m.caPath()).fileName());
    m_caText->setToolTip(PlainText::toolTip(m.caPath()));
    m_clientClear->setVisible(m.showsClientClear());
    const auto syncFile = [](ElidedLabel* text, KitButton* button, const QString& path, const QString& hint) {
        if (path.isEmpty()) {
            text->setFont(KitFont::font(10.5));
            text->setColor(withOpacity(muted(), 0.7));
            text->setText(hint);
            text->setToolTip(QString());
        } else {
            text->setFont(KitFont::font(10.5, QFont::Normal, FontDesign::monospaced));
            text->setColor(withOpacity(ink(), 0.8));
            text->setText(QFileInfo(path).fileName());
            text->setToolTip(PlainText::toolTip(path));
        }
        button->setText(path.isEmpty() ? L10n::t("Choose…") : L10n::t("Change…"));
        button->updateGeometry();
    };
    syncFile(m_certText, m_certChoose, m.clientCertPath(), L10n::t("Only if the broker demands one"));
    syncFile(m_keyText, m_keyChoose, m.clientKeyPath(), L10n::t("The key for that certificate"));
    m_bothOrNeither->setVisible(m.showsBothOrNeither());
    m_passphrase->setVisible(m.showsKeyPassphrase());
    m_passphrase->setHint(m.isNew() ? L10n::t("Goes to your keyring, never to a file.")
                                    : L10n::t("Blank keeps the one already in your keyring."));

    reveal(m_credentials, m.showsCredentials());
    reveal(m_mechanismBlock, m.showsMechanism());

    reveal(m_whatCard, m.showsRegistryCard());
    m_registryIcon->setName(m.registryNamed() ? QStringLiteral("doc.text.magnifyingglass")
                                              : QStringLiteral("doc.questionmark"));
    m_registryIcon->setColor(m.registryNamed() ? mint() : muted());
    m_registrySentence->setText(
        m.registryNamed()
            ? L10n::t(
                "Avro messages are decoded with the schema they name, then read like JSON — drift, search and the "
                "whole case file included.")
            : L10n::t("Avro messages stay as bytes without a Schema Registry. Tessaron will still read them — he'll "
                      "just file them as something he can't see into."));
    m_registryLogin->setVisible(m.showsRegistryLogin());
    // Without a registry user the password waits, drawn faint.
    m_registryPassword->setEnabled(m.registryPasswordEnabled());
    if (m.registryPasswordEnabled()) {
        m_registryPassword->setGraphicsEffect(nullptr);
    } else if (!m_registryPassword->graphicsEffect()) {
        auto* faint = new QGraphicsOpacityEffect(m_registryPassword);
        faint->setOpacity(0.45);
        m_registryPassword->setGraphicsEffect(faint);
    }

    m_save->setEnabled(m.canSave());
    syncTest();
}

void BrokerFormSheet::syncTest()
{
    const BrokerFormLogic& m = *m_model;
    const bool testing = m.testing();
    auto* content = new QWidget();
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(9);
    const QColor ground = canvas();
    if (testing)
        row->addWidget(new Spinner(12, ground, SpinnerLook::spokes, content));
    row->addWidget(reception::label(testing ? L10n::t("Knocking…") : L10n::t("Test connection"),
                                    KitFont::font(12, QFont::Bold, FontDesign::rounded), ground, content));
    if (!testing)
        row->addWidget(new SymbolView(QStringLiteral("bolt.horizontal"), 12, ground, content));
    m_test->setContent(content);
    m_test->setAccessibleName(testing ? L10n::t("Knocking…") : L10n::t("Test connection"));
    m_test->setEnabled(m.canSave() && !testing);
    m_test->setBusy(testing);

    const std::optional<AppState::TestResult>& result = m.testResult();
    if (!result) {
        delete m_stamp;
        m_stamp = nullptr;
        m_shownStrikes = m.stampStrikes();
        m_testLine->setFont(KitFont::font(10.5));
        reception::setTextColor(m_testLine, muted());
        m_testLine->setText(L10n::t("Nothing is read in this step. He only checks that somebody is home."));
        m_testReason->hide();
        return;
    }
    if (m.stampStrikes() != m_shownStrikes || !m_stamp) {
        // Every finished test slams the stamp again, even with the same answer; a stamp drawn
        // again for another language lies where it landed.
        const bool slam = m.stampStrikes() != m_shownStrikes;
        delete m_stamp;
        // A child of the card itself, so its tilted edges are not clipped by the row.
        m_stamp =
            new SlamStamp(result->isAnswered() ? QStringLiteral("ANSWERED") : QStringLiteral("NO ANSWER"),
                          result->isAnswered() ? jade() : amber(), slam ? 0 : m.stampStrikes(), m_test->parentWidget());
        m_knockRow->insertWidget(1, m_stamp);
        m_stamp->setTrigger(m.stampStrikes());
        m_shownStrikes = m.stampStrikes();
    }
    m_testLine->setFont(KitFont::font(11, QFont::Medium, FontDesign::rounded));
    if (result->isAnswered()) {
        reception::setTextColor(m_testLine, jade());
        m_testLine->setText(result->topics() == 1 ? L10n::t("It answered. One topic.")
                                                  : L10n::t("It answered. %d topics.", result->topics()));
        m_testReason->hide();
    } else {
        reception::setTextColor(m_testLine, amber());
        m_testLine->setText(L10n::t("Nobody answered. No dramatic conclusions."));
        m_testReason->setText(result->reason());
        m_testReason->show();
    }
}

void BrokerFormSheet::syncRefusal()
{
    const std::optional<QString>& refusal = m_model->refusal();
    m_refusal->setText(refusal.value_or(QString()));
    m_refusal->setVisible(refusal.has_value());
}

void BrokerFormSheet::choose(const QString& title, std::function<void(const QString&)> chosen)
{
    QPointer<BrokerFormSheet> self(this);
    m_chooser(title, [self, chosen](const QString& path) {
        // The form may have closed while the chooser was open.
        if (self && !self->m_finished && !path.isEmpty())
            chosen(path);
    });
}

void BrokerFormSheet::runTest()
{
    if (m_app)
        startDetached(m_model->runTest(m_app));
}

void BrokerFormSheet::save()
{
    if (!m_app || !m_model->canSave() || m_finished || m_saving)
        return;
    m_saving = true;
    startDetached(saveAndClose());
}

QCoro::Task<> BrokerFormSheet::saveAndClose()
{
    QPointer<BrokerFormSheet> self(this);
    auto saving = m_model->save(m_app);
    const bool saved = co_await std::move(saving);
    if (!self)
        co_return;
    m_saving = false;
    if (saved && !m_finished)
        done(QDialog::Accepted);
}

void BrokerFormSheet::confirmForget()
{
    if (m_model->isNew() || m_confirmation || m_finished)
        return;
    // Named by its saved name, whatever the name field says now.
    const QString title = L10n::t("Forget \"%@\"?", L10n::isolated(m_model->original().name));
    auto* box = new ConfirmSheet(title,
                                 L10n::t("The broker is forgotten and its password leaves your keyring. Nothing on the "
                                         "broker itself is touched."),
                                 L10n::t("Forget it"), this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Return does not forget: only the button itself does; Escape cancels.
    connect(box, &ConfirmSheet::confirmed, this, [this] {
        if (!m_app || m_finished)
            return;
        QPointer<BrokerFormSheet> self(this);
        const bool forgotten = m_model->forget(*m_app);
        if (self && forgotten && !m_finished)
            done(QDialog::Accepted);
    });
    m_confirmation = box;
    FocusReturn::track(box);
    box->open();
}

void BrokerFormSheet::keyPressEvent(QKeyEvent* event)
{
    // Return is the save button's shortcut, from anywhere in the form; nothing else answers to it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & ~(Qt::KeypadModifier))) {
        event->accept();
        if (m_save->isEnabled())
            save();
        return;
    }
    QDialog::keyPressEvent(event);
}

void BrokerFormSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, QRectF(rect()), accent(), false);
}

void BrokerFormSheet::closed()
{
    if (m_finished)
        return;
    m_finished = true;
    // A test still running answers into nothing.
    m_model->abandonTest();
    if (m_confirmation)
        m_confirmation->close();
    if (m_app && m_app->editing() && m_app->editing()->id == m_model->original().id)
        m_app->setEditing(std::nullopt);
}

} // namespace tessaron
