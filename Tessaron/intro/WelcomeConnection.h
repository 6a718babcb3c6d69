#pragma once

#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/state/AppState.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <QCoroTask>

class QLabel;

namespace tessaron {

class BrokerFormSheet;
class FormField;
class KitButton;
class SymbolView;
class Eyebrow;
class ScreenTitle;

// The fifth chapter: a first Kafka or RabbitMQ broker, tested and then saved, or handed to the
// full broker form. Reports the saved broker to the flow; talks to brokers only through AppState.
// A change of language redraws its texts in place, leaving what is typed and the test's answer.
class WelcomeConnection : public QWidget {
    Q_OBJECT
public:
    WelcomeConnection(AppState* app, std::optional<Broker> savedBroker, QWidget* parent = nullptr);

    const intro::ConnectionDraft& draft() const { return m_draft; }
    bool testing() const { return m_testing; }
    const std::optional<AppState::TestResult>& result() const { return m_result; }
    const std::optional<Broker>& tested() const { return m_tested; }
    const std::optional<Broker>& savedBroker() const { return m_saved; }
    // Why the last save was refused; empty when it was not.
    QString saveRefusal() const { return m_refusal; }

    void setKind(BrokerKind kind);
    void runConnectionTest();
    void saveTestedBroker();
    void openBrokerForm();

    FormField* nameField() const { return m_name; }
    FormField* addressField() const { return m_address; }
    FormField* userField() const { return m_user; }
    FormField* passwordField() const { return m_password; }
    QList<KitButton*> kindButtons() const { return m_kinds; }
    KitButton* testButton() const { return m_test; }
    KitButton* saveButton() const { return m_save; }
    KitButton* formButton() const { return m_formLink; }
    QLabel* resultLine() const { return m_resultLine; }
    BrokerFormSheet* brokerForm() const { return m_form; }

signals:
    void brokerSaved(const Broker& broker);
    void testFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    static QCoro::Task<> save(QPointer<WelcomeConnection> page, QPointer<AppState> app, Broker broker,
                              std::optional<QString> secret);
    static QCoro::Task<> test(QPointer<WelcomeConnection> page, QPointer<AppState> app, Broker candidate,
                              std::optional<QString> secret, int generation);
    void fieldsChanged();
    void clearTest();
    void adoptFormBroker();
    void sync();
    // The fixed texts, from the lookup.
    void retranslate();

    QPointer<AppState> m_app;
    intro::ConnectionDraft m_draft;
    bool m_testing = false;
    int m_generation = 0;
    std::optional<AppState::TestResult> m_result;
    std::optional<Broker> m_tested;
    std::optional<QString> m_testedSecret;
    bool m_saving = false;
    std::optional<Broker> m_saved;
    std::optional<QUuid> m_advancedID;
    QString m_refusal;
    bool m_syncing = false;

    QList<KitButton*> m_kinds;
    Eyebrow* m_eyebrow;
    ScreenTitle* m_title;
    QLabel* m_pointMe;
    QList<QLabel*> m_promises;
    QLabel* m_couch;
    FormField* m_name;
    FormField* m_address;
    FormField* m_user;
    FormField* m_password;
    QWidget* m_rabbitRow;
    QLabel* m_rabbitHint;
    KitButton* m_test;
    KitButton* m_save;
    QWidget* m_resultBox;
    QLabel* m_resultLine;
    SymbolView* m_resultIcon;
    QLabel* m_reasonTitle;
    QLabel* m_reason;
    KitButton* m_formLink;
    QPointer<BrokerFormSheet> m_form;
};

} // namespace tessaron
