#pragma once

#include "Tessaron/kit/TessaronChart.h"

#include <QDateTime>
#include <QHash>
#include <QPoint>
#include <QUuid>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QBoxLayout;
class QGridLayout;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace tessaron {

class AddBrokerCard;
class AnimatedValue;
class AppState;
class BrokerCard;
class EffectSlot;
class Gavel;
class KitButton;
class SpeechBubble;
class TessaronChartCard;
class TessaronMascot;
class WaitingRoom;

// The reception: the mascot's greeting, boops, a chart, the mileage and the saved brokers as a
// docket of cards (favourites first) with a card that starts a new one, or the waiting room when
// nothing is saved. It changes nothing itself: opening, editing and favourites go through the state.
class ReceptionView : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumColumnWidth = 290;
    static constexpr int gridSpacing = 14;
    static constexpr int maximumContentWidth = 1180;
    static constexpr int pageMargin = 36;

    explicit ReceptionView(AppState* app, QWidget* parent = nullptr);
    ~ReceptionView() override;

    // How many columns of at least 290 points (14 apart) fit `width`; never fewer than one.
    static int columnCount(int width);
    // The columns the docket shows now.
    int columns() const { return m_columns; }

    // The clock the greeting reads; the system clock unless a test sets another.
    void setClock(std::function<QDateTime()> clock);

    int boops() const { return m_boops; }
    int chartIndex() const { return m_chartIndex; }
    void boop();
    // "Another": back to no boops and on to the next chart of the catalogue.
    void nextChart();
    // Puts a new, empty Kafka broker under edit, which opens the broker form.
    void addBroker();

    TessaronChart shownChart() const;
    QString bubbleText() const;
    QString brokersChipText() const;

    QList<BrokerCard*> cards() const { return m_cards; }
    AddBrokerCard* addCard() const { return m_addCard; }
    WaitingRoom* waitingRoom() const { return m_waitingRoom; }
    QAbstractButton* backButton() const;
    // The picture of the replaced bubble while it leaves.
    QWidget* leavingBubble() const { return m_leavingBubble; }
    KitButton* boopButton() const { return m_boopButton; }
    TessaronChartCard* chartCard() const { return m_chartCard; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void rebuildDocket();
    // Slides reordered cards from the places they held (by broker) to their new ones.
    void glideCards(const QHash<QUuid, QPoint>& stoodAt, const QList<QPoint>& places);
    void dropLeavingBubble();
    void layoutGrid();
    // Puts the header's chips side by side where they fit, else under each other.
    void layoutChips();
    void refreshBubble(bool animated);
    void refreshChrome();
    void applyBoops(bool animated);

    QPointer<AppState> m_app;
    std::function<QDateTime()> m_clock;
    int m_boops = 0;
    int m_chartIndex;
    int m_columns = 1;

    QScrollArea* m_scroll;
    KitButton* m_back;
    Gavel* m_gavel;
    QLabel* m_brokersChip;
    QBoxLayout* m_chips;
    KitButton* m_boopButton;
    TessaronMascot* m_mascot;
    QWidget* m_bubbleHolder;
    SpeechBubble* m_bubble = nullptr;
    std::unique_ptr<EffectSlot> m_bubbleEffect;
    QPointer<QWidget> m_leavingBubble;
    std::unique_ptr<EffectSlot> m_leavingEffect;
    AnimatedValue* m_bubbleEntrance;
    TessaronChartCard* m_chartCard;
    QVBoxLayout* m_docketBox;
    QWidget* m_docket = nullptr;
    QWidget* m_gridHost = nullptr;
    QGridLayout* m_grid = nullptr;
    QList<BrokerCard*> m_cards;
    AddBrokerCard* m_addCard = nullptr;
    WaitingRoom* m_waitingRoom = nullptr;
};

} // namespace tessaron
