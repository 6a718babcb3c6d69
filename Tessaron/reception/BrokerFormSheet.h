#pragma once

#include "TessaronCore/model/BrokerKind.h"
#include "TessaronCore/model/BrokerSecurity.h"

#include <QCoroTask>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>
#include <utility>

class QHBoxLayout;
class QLabel;

class QScrollArea;
class QVBoxLayout;

class QLayout;

namespace tessaron {

class ConfirmSheet;

class AppState;
class BrokerFormLogic;
class FormCard;
class FormField;
class KitButton;
class SlamStamp;
class SymbolView;

class ElidedLabel;

// The sheet that adds or edits the broker under edit in the state: who it is, how it is reached,
// what it reads (not on RabbitMQ), a connection test, and forget, cancel and save at its foot.
// A window-modal dialog, shown with open(). Return saves when saving is possible; Escape cancels.
// Closing it in any way clears the state's broker under edit. The caller owns it and may delete
// it once finished() has fired.
class BrokerFormSheet : public QDialog {
    Q_OBJECT
public:
    // Asks for one file and calls back with its absolute path; never called back when cancelled.
    using FileChooser = std::function<void(const QString& title, std::function<void(const QString& path)> chosen)>;

    BrokerFormSheet(AppState* app, QWidget* parent = nullptr);
    ~BrokerFormSheet() override;

    BrokerFormLogic* model() const { return m_model; }
    // Replaces the file dialog (tests).
    void setFileChooser(FileChooser chooser);

    // The parts tests drive.
    FormField* nameField() const { return m_name; }
    FormField* addressField() const { return m_address; }
    FormField* vhostField() const { return m_vhost; }
    FormField* userField() const { return m_user; }
    FormField* passwordField() const { return m_password; }
    FormField* passphraseField() const { return m_passphrase; }
    FormField* registryField() const { return m_registry; }
    FormField* registryUserField() const { return m_registryUser; }
    FormField* registryPasswordField() const { return m_registryPassword; }
    QList<KitButton*> kindButtons() const { return m_kindButtons; }
    QList<KitButton*> securityButtons() const { return m_securityButtons; }
    QList<KitButton*> mechanismButtons() const { return m_mechanismButtons; }
    KitButton* caButton() const { return m_caChoose; }
    KitButton* certificateButton() const { return m_certChoose; }
    KitButton* keyButton() const { return m_keyChoose; }
    KitButton* testButton() const { return m_test; }
    KitButton* saveButton() const { return m_save; }
    KitButton* cancelButton() const { return m_cancel; }
    KitButton* forgetButton() const { return m_forget; }
    QWidget* registryCard() const;
    QWidget* tlsSection() const { return m_tls; }
    QWidget* credentialsSection() const { return m_credentials; }
    QLabel* refusalLabel() const { return m_refusal; }
    QLabel* testLine() const { return m_testLine; }
    // The forget confirmation while it is shown.
    ConfirmSheet* confirmation() const;

    void runTest();
    void save();
    QCoro::Task<> saveAndClose();
    void confirmForget();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();
    // Draws the form again in the language now in force, from the model, which holds everything
    // typed; the scroll position and the field with the focus stay.
    void followLanguage();
    QWidget* buildHeader();
    QWidget* buildWho();
    QWidget* buildHow();
    // The how card's TLS block (with the client certificate) and its SASL block.
    QWidget* buildTls(QWidget* card);
    QLayout* buildClientCertificate();
    QWidget* buildCredentials(QWidget* card);
    QWidget* buildWhat();
    QWidget* buildKnock();
    QWidget* buildFoot();
    void sync();
    void syncTest();
    void syncRefusal();
    void choose(const QString& title, std::function<void(const QString&)> chosen);
    void closed();

    QPointer<AppState> m_app;
    BrokerFormLogic* m_model;
    // The kind and security the sections were last drawn for.
    std::optional<std::pair<BrokerKind, BrokerSecurity>> m_shownMode;
    FileChooser m_chooser;
    bool m_finished = false;
    bool m_saving = false;

    QScrollArea* m_scroll = nullptr;
    FormField* m_name = nullptr;
    FormField* m_address = nullptr;
    FormField* m_vhost = nullptr;
    FormField* m_user = nullptr;
    FormField* m_password = nullptr;
    FormField* m_passphrase = nullptr;
    FormField* m_registry = nullptr;
    FormField* m_registryUser = nullptr;
    FormField* m_registryPassword = nullptr;
    QList<KitButton*> m_kindButtons;
    QList<KitButton*> m_securityButtons;
    QList<KitButton*> m_mechanismButtons;
    FormCard* m_howCard = nullptr;
    FormCard* m_whatCard = nullptr;
    SymbolView* m_securityIcon = nullptr;
    QLabel* m_securitySentence = nullptr;
    QWidget* m_tls = nullptr;
    KitButton* m_useSystem = nullptr;
    KitButton* m_caChoose = nullptr;
    SymbolView* m_caIcon = nullptr;
    ElidedLabel* m_caText = nullptr;
    KitButton* m_clientClear = nullptr;
    ElidedLabel* m_certText = nullptr;
    KitButton* m_certChoose = nullptr;
    ElidedLabel* m_keyText = nullptr;
    KitButton* m_keyChoose = nullptr;
    QWidget* m_bothOrNeither = nullptr;
    QWidget* m_credentials = nullptr;
    QWidget* m_mechanismBlock = nullptr;
    SymbolView* m_registryIcon = nullptr;
    QLabel* m_registrySentence = nullptr;
    QWidget* m_registryLogin = nullptr;
    KitButton* m_test = nullptr;
    QHBoxLayout* m_knockRow = nullptr;
    SlamStamp* m_stamp = nullptr;
    int m_shownStrikes = 0;
    QLabel* m_testLine = nullptr;
    QLabel* m_testReason = nullptr;
    QLabel* m_refusal = nullptr;
    KitButton* m_forget = nullptr;
    KitButton* m_cancel = nullptr;
    KitButton* m_save = nullptr;
    QPointer<ConfirmSheet> m_confirmation;
};

} // namespace tessaron
