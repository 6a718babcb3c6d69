#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/reception/BrokerFormSheet.h"

#include "Tessaron/kit/ConfirmSheet.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/SettingsControlStyle.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/SlamStamp.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/WelcomePrimaryStyle.h"
#include "Tessaron/kit/WelcomeTitle.h"
#include "Tessaron/reception/BrokerFormModel.h"
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

QWidget* divider(QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 255, int(255 * 0.07)));
    line->setPalette(p);
    return line;
}

KitButton* linkButton(const QString& text, QWidget* parent)
{
    return new KitButton(text, std::make_unique<PlainButtonStyle>(KitFont::font(10, QFont::Medium), accent()), parent);
}

// A kind, security-mode or mechanism button: a pill that shows whether it is the current choice.
KitButton* choiceButton(const QString& text, bool mechanism, QWidget* parent)
{
    const QMarginsF insets = mechanism ? QMarginsF(10, 8, 10, 8) : QMarginsF(10, 9, 10, 9);
    auto* button = new KitButton(text, std::make_unique<SettingsControlStyle>(accent(), false, true, insets), parent);
    button->setFont(mechanism ? KitFont::font(10.5, QFont::DemiBold, FontDesign::monospaced)
                              : KitFont::font(11, QFont::DemiBold));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setCheckable(false);
    return button;
}

void markChoice(KitButton* button, bool selected, bool mechanism)
{
    button->setSelected(selected);
    auto* style = static_cast<SettingsControlStyle*>(button->buttonStyle());
    if (style->selected() == selected)
        return;
    const QMarginsF insets = mechanism ? QMarginsF(10, 8, 10, 8) : QMarginsF(10, 9, 10, 9);
    button->setButtonStyle(std::make_unique<SettingsControlStyle>(accent(), selected, true, insets));
}

// A symbol and a sentence, top-aligned, the sentence wrapping.
QWidget* sentenceRow(SymbolView*& icon, QLabel*& sentence, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(6);
    icon = new SymbolView(QStringLiteral("lock.fill"), 9, jade(), row);
    box->addWidget(icon, 0, Qt::AlignTop);
    sentence = reception::label(QString(), KitFont::font(10.5), muted(), row, true);
    box->addWidget(sentence, 1);
    return row;
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
    m_model = new BrokerFormModel(broker, isNew, this);
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

    connect(m_model, &BrokerFormModel::changed, this, &BrokerFormSheet::sync);
    connect(m_model, &BrokerFormModel::testChanged, this, &BrokerFormSheet::syncTest);
    connect(m_model, &BrokerFormModel::refusalChanged, this, &BrokerFormSheet::syncRefusal);
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

void BrokerFormSheet::build()
{
    setWindowTitle(m_model->isNew() ? L10n::t("New broker.") : m_model->original().name);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());

    auto* scroll = new QScrollArea(this);
    m_scroll = scroll;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setObjectName(QStringLiteral("formScroll"));
    // The controls inside take the focus, each scrolled into view; the area itself is no stop.
    scroll->setFocusPolicy(Qt::NoFocus);
    SheetFit::keepFocusInView(scroll);
    scroll->setStyleSheet(QStringLiteral("#formScroll { background: transparent; }"));
    scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget();
    body->setAutoFillBackground(false);
    auto* cards = new QVBoxLayout(body);
    cards->setContentsMargins(28, 18, 28, 16);
    cards->setSpacing(14);
    cards->addWidget(buildWho());
    cards->addWidget(buildHow());
    cards->addWidget(buildWhat());
    cards->addWidget(buildKnock());
    cards->addStretch(1);
    scroll->setWidget(body);
    column->addWidget(scroll, 1);
    column->addWidget(buildFoot());
}

QWidget* BrokerFormSheet::buildHeader()
{
    auto* header = new QWidget(this);
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(28, 18, 28, 14);
    column->setSpacing(12);
    auto* row = new QHBoxLayout();
    row->setSpacing(10);
    row->addWidget(new LogoMark(26, header));
    row->addWidget(reception::label(QStringLiteral("tessaron"), KitFont::font(15, QFont::Bold, FontDesign::rounded),
                                    ink(), header));
    row->addStretch(1);
    row->addWidget(reception::label(L10n::t("FILE %@", m_model->fileNumber()),
                                    KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.2), muted(), header));
    column->addLayout(row);
    const bool isNew = m_model->isNew();
    column->addWidget(new WelcomeTitle(isNew ? L10n::t("New broker.") : m_model->original().name,
                                       isNew ? L10n::t("Tell me where to knock.") : L10n::t("Let's update the file."),
                                       26, header));
    // The hairline along the header's bottom edge.
    auto* line = divider(header);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 255, int(255 * 0.08)));
    line->setPalette(p);
    auto* outer = new QWidget(this);
    auto* box = new QVBoxLayout(outer);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(header);
    box->addWidget(line);
    return outer;
}

QWidget* BrokerFormSheet::buildWho()
{
    auto* card = new FormCard(L10n::t("WHO"), accent());
    auto* kinds = new QHBoxLayout();
    kinds->setSpacing(8);
    for (const auto& [kind, text] : {std::pair{BrokerKind::kafka, QStringLiteral("Kafka")},
                                     std::pair{BrokerKind::rabbitmq, QStringLiteral("RabbitMQ")}}) {
        KitButton* button = choiceButton(text, false, card);
        const BrokerKind chosen = kind;
        connect(button, &QAbstractButton::clicked, this, [this, chosen] { m_model->setKind(chosen); });
        m_kindButtons.append(button);
        kinds->addWidget(button);
    }
    card->content()->addLayout(kinds);

    m_name = new FormField(L10n::t("Name"), L10n::t("Production · orders"), false, false, card);
    m_name->setText(m_model->name());
    connect(m_name->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setName);
    card->content()->addWidget(m_name);

    m_address = new FormField(QString(), QString(), true, false, card);
    m_address->setText(m_model->bootstrap());
    connect(m_address->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setBootstrap);
    card->content()->addWidget(m_address);

    m_vhost = new FormField(L10n::t("Virtual host"), QStringLiteral("/"), true, false, card);
    m_vhost->setHint(L10n::t("Blank means RabbitMQ's default, \"/\"."));
    m_vhost->setText(m_model->vhost());
    connect(m_vhost->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setVhost);
    card->content()->addWidget(m_vhost);
    return card;
}

QWidget* BrokerFormSheet::buildHow()
{
    m_howCard = new FormCard(L10n::t("HOW HE GETS IN"), accent());
    FormCard* card = m_howCard;
    auto* modes = new QHBoxLayout();
    modes->setSpacing(8);
    const QList<std::pair<BrokerSecurity, QString>> choices{{BrokerSecurity::plaintext, L10n::t("None")},
                                                            {BrokerSecurity::ssl, QStringLiteral("TLS")},
                                                            {BrokerSecurity::saslPlaintext, QStringLiteral("SASL")},
                                                            {BrokerSecurity::saslSSL, QStringLiteral("SASL + TLS")}};
    for (const auto& [security, text] : choices) {
        KitButton* button = choiceButton(text, false, card);
        const BrokerSecurity chosen = security;
        connect(button, &QAbstractButton::clicked, this, [this, chosen] { m_model->setSecurity(chosen); });
        m_securityButtons.append(button);
        modes->addWidget(button);
    }
    card->content()->addLayout(modes);
    card->content()->addWidget(sentenceRow(m_securityIcon, m_securitySentence, card));

    // TLS: the certificate authority and the client certificate.
    m_tls = new QWidget(card);
    auto* tls = new QVBoxLayout(m_tls);
    tls->setContentsMargins(0, 0, 0, 0);
    tls->setSpacing(11);
    tls->addWidget(divider(m_tls));

    auto* caBlock = new QVBoxLayout();
    caBlock->setSpacing(5);
    caBlock->setContentsMargins(0, 2, 0, 0);
    auto* caHead = new QHBoxLayout();
    caHead->setSpacing(8);
    caHead->addWidget(
        reception::label(L10n::t("Certificate authority"), KitFont::font(10, QFont::Medium), muted(), m_tls));
    caHead->addStretch(1);
    m_useSystem = linkButton(L10n::t("Use the system's"), m_tls);
    connect(m_useSystem, &QAbstractButton::clicked, this, [this] { m_model->setCaPath(QString()); });
    caHead->addWidget(m_useSystem);
    m_caChoose = linkButton(QString(), m_tls);
    connect(m_caChoose, &QAbstractButton::clicked, this, [this] {
        choose(L10n::t("Choose a certificate authority"), [this](const QString& path) { m_model->setCaPath(path); });
    });
    caHead->addWidget(m_caChoose);
    caBlock->addLayout(caHead);
    auto* caStatus = new QHBoxLayout();
    caStatus->setSpacing(6);
    m_caIcon = new SymbolView(QStringLiteral("checkmark.seal.fill"), 9, jade(), m_tls);
    caStatus->addWidget(m_caIcon);
    m_caText = ElidedLabel::filling(QString(), KitFont::font(10.5), muted(), Qt::ElideLeft, m_tls);
    caStatus->addWidget(m_caText, 1);
    caBlock->addLayout(caStatus);
    tls->addLayout(caBlock);

    auto* certBlock = new QVBoxLayout();
    certBlock->setSpacing(5);
    certBlock->setContentsMargins(0, 2, 0, 0);
    auto* certHead = new QHBoxLayout();
    certHead->setSpacing(8);
    certHead->addWidget(
        reception::label(L10n::t("Your certificate"), KitFont::font(10, QFont::Medium), muted(), m_tls));
    auto* mtls = reception::label(QStringLiteral("mTLS"), KitFont::font(8, QFont::Black, FontDesign::monospaced),
                                  withOpacity(muted(), 0.8), m_tls);
    mtls->setContentsMargins(5, 2, 5, 2);
    mtls->setObjectName(QStringLiteral("mtlsBadge"));
    mtls->setStyleSheet(QStringLiteral("#mtlsBadge { background: rgba(255, 255, 255, 15); border-radius: 7px; }"));
    certHead->addWidget(mtls);
    certHead->addStretch(1);
    m_clientClear = linkButton(L10n::t("Clear"), m_tls);
    connect(m_clientClear, &QAbstractButton::clicked, m_model, &BrokerFormModel::clearClientCertificate);
    certHead->addWidget(m_clientClear);
    certBlock->addLayout(certHead);
    const auto fileRow = [&](const QString& label, ElidedLabel*& text, KitButton*& button,
                             std::function<void(const QString&)> write) {
        auto* row = new QHBoxLayout();
        row->setSpacing(7);
        QLabel* name = reception::label(label, KitFont::font(10), muted(), m_tls);
        name->setFixedWidth(74);
        row->addWidget(name);
        text = ElidedLabel::filling(QString(), KitFont::font(10.5), muted(), Qt::ElideLeft, m_tls);
        row->addWidget(text, 1);
        button = linkButton(QString(), m_tls);
        connect(button, &QAbstractButton::clicked, this, [this, write] { choose(QString(), write); });
        row->addWidget(button);
        certBlock->addLayout(row);
    };
    fileRow(L10n::t("Certificate"), m_certText, m_certChoose,
            [this](const QString& path) { m_model->setClientCertPath(path); });
    fileRow(L10n::t("Private key"), m_keyText, m_keyChoose,
            [this](const QString& path) { m_model->setClientKeyPath(path); });
    m_bothOrNeither = new QWidget(m_tls);
    {
        auto* row = new QHBoxLayout(m_bothOrNeither);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(6);
        row->addWidget(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 10, amber(), m_bothOrNeither), 0,
                       Qt::AlignTop);
        row->addWidget(reception::label(L10n::t("Both or neither — a certificate without its key proves nothing, and "
                                                "the handshake fails obscurely."),
                                        KitFont::font(10), amber(), m_bothOrNeither, true),
                       1);
    }
    certBlock->addWidget(m_bothOrNeither);
    m_passphrase = new FormField(L10n::t("Key passphrase"), QString(), false, true, m_tls);
    m_passphrase->setText(m_model->keyPassphrase());
    connect(m_passphrase->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setKeyPassphrase);
    certBlock->addWidget(m_passphrase);
    tls->addLayout(certBlock);
    card->content()->addWidget(m_tls);

    // SASL: the mechanism (not on RabbitMQ), the user and the password.
    m_credentials = new QWidget(card);
    auto* credentials = new QVBoxLayout(m_credentials);
    credentials->setContentsMargins(0, 0, 0, 0);
    credentials->setSpacing(11);
    credentials->addWidget(divider(m_credentials));
    m_mechanismBlock = new QWidget(m_credentials);
    auto* mechanism = new QVBoxLayout(m_mechanismBlock);
    mechanism->setContentsMargins(0, 0, 0, 0);
    mechanism->setSpacing(7);
    mechanism->addWidget(
        reception::label(L10n::t("Mechanism"), KitFont::font(10, QFont::Medium), muted(), m_mechanismBlock));
    auto* mechanisms = new QHBoxLayout();
    mechanisms->setSpacing(8);
    for (const QString& name : BrokerFormModel::mechanisms()) {
        KitButton* button = choiceButton(name, true, m_mechanismBlock);
        connect(button, &QAbstractButton::clicked, this, [this, name] { m_model->setMechanism(name); });
        m_mechanismButtons.append(button);
        mechanisms->addWidget(button);
    }
    mechanism->addLayout(mechanisms);
    credentials->addWidget(m_mechanismBlock);
    auto* login = new QHBoxLayout();
    login->setSpacing(10);
    m_user = new FormField(L10n::t("User"), QString(), true, false, m_credentials);
    m_user->setText(m_model->username());
    connect(m_user->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setUsername);
    login->addWidget(m_user, 1, Qt::AlignTop);
    m_password = new FormField(L10n::t("Password"), QString(), false, true, m_credentials);
    m_password->setText(m_model->password());
    m_password->setHint(m_model->isNew() ? L10n::t("Goes to your keyring, never to a file.")
                                         : L10n::t("Blank keeps the one already in your keyring."));
    connect(m_password->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setPassword);
    login->addWidget(m_password, 1, Qt::AlignTop);
    credentials->addLayout(login);
    card->content()->addWidget(m_credentials);
    return card;
}

QWidget* BrokerFormSheet::buildWhat()
{
    m_whatCard = new FormCard(L10n::t("WHAT HE READS"), mint());
    FormCard* card = m_whatCard;
    card->content()->addWidget(sentenceRow(m_registryIcon, m_registrySentence, card));
    m_registry = new FormField(L10n::t("Schema Registry"), QStringLiteral("http://localhost:8081"), true, false, card);
    m_registry->setHint(L10n::t("Confluent-compatible. Leave blank if this cluster has none."));
    m_registry->setText(m_model->registryURL());
    connect(m_registry->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setRegistryURL);
    card->content()->addWidget(m_registry);

    m_registryLogin = new QWidget(card);
    auto* login = new QHBoxLayout(m_registryLogin);
    login->setContentsMargins(0, 0, 0, 0);
    login->setSpacing(10);
    m_registryUser = new FormField(L10n::t("Registry user"), L10n::t("optional"), true, false, m_registryLogin);
    m_registryUser->setText(m_model->registryUsername());
    connect(m_registryUser->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setRegistryUsername);
    login->addWidget(m_registryUser, 1, Qt::AlignTop);
    m_registryPassword = new FormField(L10n::t("Registry password"), QString(), false, true, m_registryLogin);
    m_registryPassword->setText(m_model->registryPassword());
    const bool keeps = !m_model->isNew() && !m_model->original().schemaRegistryUsername.isEmpty();
    m_registryPassword->setHint(keeps ? L10n::t("Blank keeps the one already in your keyring.")
                                      : L10n::t("Goes to your keyring, never to a file."));
    connect(m_registryPassword->edit(), &QLineEdit::textEdited, m_model, &BrokerFormModel::setRegistryPassword);
    login->addWidget(m_registryPassword, 1, Qt::AlignTop);
    card->content()->addWidget(m_registryLogin);
    return card;
}

QWidget* BrokerFormSheet::buildKnock()
{
    auto* card = new FormCard(L10n::t("KNOCK FIRST"), jade());
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    m_test = new KitButton(QString(), std::make_unique<WelcomePrimaryStyle>(), card);
    connect(m_test, &QAbstractButton::clicked, this, &BrokerFormSheet::runTest);
    row->addWidget(m_test);
    m_knockRow = row;
    row->addStretch(1);
    card->content()->addLayout(row);
    auto* lines = new QVBoxLayout();
    lines->setSpacing(3);
    m_testLine = reception::label(QString(), KitFont::font(10.5), muted(), card, true);
    lines->addWidget(m_testLine);
    m_testReason =
        reception::label(QString(), KitFont::font(10, QFont::Normal, FontDesign::monospaced), muted(), card, true);
    m_testReason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lines->addWidget(m_testReason);
    card->content()->addLayout(lines);
    return card;
}

QWidget* BrokerFormSheet::buildFoot()
{
    auto* foot = new QWidget(this);
    foot->setAutoFillBackground(true);
    QPalette p = foot->palette();
    p.setColor(QPalette::Window, withOpacity(canvas(), 0.9));
    foot->setPalette(p);
    auto* column = new QVBoxLayout(foot);
    column->setContentsMargins(28, 14, 28, 18);
    column->setSpacing(12);

    auto* rule = new QHBoxLayout();
    rule->setSpacing(8);
    const auto hairline = [foot] {
        QWidget* line = divider(foot);
        QPalette lp = line->palette();
        lp.setColor(QPalette::Window, QColor(255, 255, 255, int(255 * 0.10)));
        line->setPalette(lp);
        return line;
    };
    rule->addWidget(hairline(), 1);
    rule->addWidget(reception::label(L10n::t("SIGNED"), KitFont::font(7.5, QFont::Black, FontDesign::monospaced, 1.2),
                                     withOpacity(muted(), 0.8), foot));
    rule->addWidget(hairline(), 1);
    column->addLayout(rule);

    // A save that did not reach the disk or the keyring says why here, and the form stays open.
    m_refusal = reception::label(QString(), KitFont::font(11, QFont::Medium, FontDesign::rounded), amber(), foot, true);
    m_refusal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_refusal);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(10);
    if (!m_model->isNew()) {
        m_forget = new KitButton(
            QString(), std::make_unique<SettingsControlStyle>(amber(), false, true, QMarginsF(12, 12, 12, 12)), foot);
        m_forget->setLeadingSymbol(QStringLiteral("trash"));
        m_forget->setFont(KitFont::font(12, QFont::DemiBold));
        m_forget->setToolTip(L10n::t("Forget this broker"));
        m_forget->setAccessibleName(L10n::t("Forget this broker"));
        connect(m_forget, &QAbstractButton::clicked, this, &BrokerFormSheet::confirmForget);
        buttons->addWidget(m_forget);
    }
    buttons->addStretch(1);
    m_cancel =
        new KitButton(L10n::t("Cancel"),
                      std::make_unique<SettingsControlStyle>(accent(), false, false, QMarginsF(13, 10, 13, 10)), foot);
    m_cancel->setFont(KitFont::font(12, QFont::DemiBold));
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_cancel);
    m_save = new KitButton(m_model->isNew() ? L10n::t("File it") : L10n::t("Save"),
                           std::make_unique<WelcomePrimaryStyle>(), foot);
    m_save->setTrailingSymbol(QStringLiteral("pawprint.fill"));
    m_save->setSymbolSpacing(12);
    connect(m_save, &QAbstractButton::clicked, this, &BrokerFormSheet::save);
    buttons->addWidget(m_save);
    column->addLayout(buttons);
    return foot;
}

void BrokerFormSheet::sync()
{
    const BrokerFormModel& m = *m_model;
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
        markChoice(m_mechanismButtons[i], m.mechanism() == BrokerFormModel::mechanisms()[i], true);

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
    const BrokerFormModel& m = *m_model;
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
        m_model->runTest(m_app);
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
