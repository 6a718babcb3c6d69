// The broker form's cards, built once: the header, who, how he gets in, what he reads, the knock
// (the connection test) and the foot.
#include "Tessaron/reception/BrokerFormSheet.h"

#include "Tessaron/kit/SheetFit.h"
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

QWidget* divider(QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, sectionRule());
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
    auto* button = new KitButton(text, std::make_unique<ControlStyle>(accent(), false, true, insets), parent);
    button->setFont(mechanism ? KitFont::font(10.5, QFont::DemiBold, FontDesign::monospaced)
                              : KitFont::font(11, QFont::DemiBold));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setCheckable(false);
    return button;
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
    seeThrough(scroll);
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
    column->addWidget(new ScreenTitle(isNew ? L10n::t("New broker.") : m_model->original().name,
                                      isNew ? L10n::t("Tell me where to knock.") : L10n::t("Let's update the file."),
                                      26, header));
    // The hairline along the header's bottom edge.
    auto* line = divider(header);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, formRule());
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
    connect(m_name->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setName);
    card->content()->addWidget(m_name);

    m_address = new FormField(QString(), QString(), true, false, card);
    m_address->setText(m_model->bootstrap());
    connect(m_address->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setBootstrap);
    card->content()->addWidget(m_address);

    m_vhost = new FormField(L10n::t("Virtual host"), QStringLiteral("/"), true, false, card);
    m_vhost->setHint(L10n::t("Blank means RabbitMQ's default, \"/\"."));
    m_vhost->setText(m_model->vhost());
    connect(m_vhost->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setVhost);
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

    card->content()->addWidget(buildTls(card));
    card->content()->addWidget(buildCredentials(card));
    return card;
}

QWidget* BrokerFormSheet::buildTls(QWidget* card)
{
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

    tls->addLayout(buildClientCertificate());
    return m_tls;
}

QLayout* BrokerFormSheet::buildClientCertificate()
{
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
    mtls->setStyleSheet(QStringLiteral("#mtlsBadge { background: %1; border-radius: 7px; }").arg(css(quietFill())));
    certHead->addWidget(mtls);
    certHead->addStretch(1);
    m_clientClear = linkButton(L10n::t("Clear"), m_tls);
    connect(m_clientClear, &QAbstractButton::clicked, m_model, &BrokerFormLogic::clearClientCertificate);
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
    connect(m_passphrase->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setKeyPassphrase);
    certBlock->addWidget(m_passphrase);
    return certBlock;
}

QWidget* BrokerFormSheet::buildCredentials(QWidget* card)
{
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
    for (const QString& name : BrokerFormLogic::mechanisms()) {
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
    connect(m_user->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setUsername);
    login->addWidget(m_user, 1, Qt::AlignTop);
    m_password = new FormField(L10n::t("Password"), QString(), false, true, m_credentials);
    m_password->setText(m_model->password());
    m_password->setHint(m_model->isNew() ? L10n::t("Goes to your keyring, never to a file.")
                                         : L10n::t("Blank keeps the one already in your keyring."));
    connect(m_password->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setPassword);
    login->addWidget(m_password, 1, Qt::AlignTop);
    credentials->addLayout(login);
    return m_credentials;
}

QWidget* BrokerFormSheet::buildWhat()
{
    m_whatCard = new FormCard(L10n::t("WHAT HE READS"), mint());
    FormCard* card = m_whatCard;
    card->content()->addWidget(sentenceRow(m_registryIcon, m_registrySentence, card));
    m_registry = new FormField(L10n::t("Schema Registry"), QStringLiteral("http://localhost:8081"), true, false, card);
    m_registry->setHint(L10n::t("Confluent-compatible. Leave blank if this cluster has none."));
    m_registry->setText(m_model->registryURL());
    connect(m_registry->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setRegistryURL);
    card->content()->addWidget(m_registry);

    m_registryLogin = new QWidget(card);
    auto* login = new QHBoxLayout(m_registryLogin);
    login->setContentsMargins(0, 0, 0, 0);
    login->setSpacing(10);
    m_registryUser = new FormField(L10n::t("Registry user"), L10n::t("optional"), true, false, m_registryLogin);
    m_registryUser->setText(m_model->registryUsername());
    connect(m_registryUser->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setRegistryUsername);
    login->addWidget(m_registryUser, 1, Qt::AlignTop);
    m_registryPassword = new FormField(L10n::t("Registry password"), QString(), false, true, m_registryLogin);
    m_registryPassword->setText(m_model->registryPassword());
    const bool keeps = !m_model->isNew() && !m_model->original().schemaRegistryUsername.isEmpty();
    m_registryPassword->setHint(keeps ? L10n::t("Blank keeps the one already in your keyring.")
                                      : L10n::t("Goes to your keyring, never to a file."));
    connect(m_registryPassword->edit(), &QLineEdit::textEdited, m_model, &BrokerFormLogic::setRegistryPassword);
    login->addWidget(m_registryPassword, 1, Qt::AlignTop);
    card->content()->addWidget(m_registryLogin);
    return card;
}

QWidget* BrokerFormSheet::buildKnock()
{
    auto* card = new FormCard(L10n::t("KNOCK FIRST"), jade());
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    m_test = new KitButton(QString(), std::make_unique<PrimaryButtonStyle>(), card);
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
        lp.setColor(QPalette::Window, cardRule());
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
        m_forget = new KitButton(QString(),
                                 std::make_unique<ControlStyle>(amber(), false, true, QMarginsF(12, 12, 12, 12)), foot);
        m_forget->setLeadingSymbol(QStringLiteral("trash"));
        m_forget->setFont(KitFont::font(12, QFont::DemiBold));
        m_forget->setToolTip(L10n::t("Forget this broker"));
        m_forget->setAccessibleName(L10n::t("Forget this broker"));
        connect(m_forget, &QAbstractButton::clicked, this, &BrokerFormSheet::confirmForget);
        buttons->addWidget(m_forget);
    }
    buttons->addStretch(1);
    m_cancel = new KitButton(L10n::t("Cancel"),
                             std::make_unique<ControlStyle>(accent(), false, false, QMarginsF(13, 10, 13, 10)), foot);
    m_cancel->setFont(KitFont::font(12, QFont::DemiBold));
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_cancel);
    m_save = new KitButton(m_model->isNew() ? L10n::t("File it") : L10n::t("Save"),
                           std::make_unique<PrimaryButtonStyle>(), foot);
    m_save->setTrailingSymbol(QStringLiteral("pawprint.fill"));
    m_save->setSymbolSpacing(12);
    connect(m_save, &QAbstractButton::clicked, this, &BrokerFormSheet::save);
    buttons->addWidget(m_save);
    column->addLayout(buttons);
    return foot;
}

} // namespace tessaron
