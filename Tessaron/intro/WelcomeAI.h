#pragma once

#include "VelkinAI/AICLI.h"

#include <QMap>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace tessaron {

class AppState;
class KitButton;
class SymbolView;

// The fourth chapter: which AI command-line tool answers the Ask feature. A click on a card
// stores the choice at once; the cards show which tools the application state found, searching
// again on every visit and on "Check again".
class WelcomeAI : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeAI(AppState* app, QWidget* parent = nullptr);

    static QStringList values();
    QString provider() const;
    void choose(const QString& value);
    bool scanning() const;
    QMap<AICLI, QString> found() const;
    void checkAgain();

    QList<KitButton*> cards() const { return m_cards; }
    KitButton* checkAgainButton() const { return m_again; }
    QLabel* footerText() const { return m_footer; }
    // The install command shown on a card, empty when none is.
    QString installShown(int card) const;
    // The status line's symbol on a card.
    QString statusSymbol(int card) const;

signals:
    void scanFinished();

private:
    void sync();

    QPointer<AppState> m_app;
    QList<KitButton*> m_cards;
    QList<QLabel*> m_status;
    QList<SymbolView*> m_statusMarks;
    QList<QLabel*> m_install;
    QList<QWidget*> m_marks;
    KitButton* m_again;
    QLabel* m_footer;
};

} // namespace tessaron
