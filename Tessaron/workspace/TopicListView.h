#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace tessaron {

class ActionChip;
class AppState;
class BrokerSession;
class ScopePill;
class SearchField;
class SidebarIconButton;
class SidebarListView;
class SidebarModel;
class SidebarPopover;
class SymbolView;
class TessaronWorking;

// The sidebar of one open broker: header with refresh, broker menu and the "Ask" and "File…"
// chips; broker and folder pills; the list heading with its options; the search; then the working
// mascot, an empty notice or the sectioned list; and the security footer. Everything it shows is
// read from the session and the application state; every action writes to them.
class TopicListView : public QWidget {
    Q_OBJECT
public:
    enum class Popover { brokerMenu, brokerPicker, namespacePicker, scopeHelp, listMenu };

    TopicListView(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    // Opens the popover, or closes it when it is open; returns it while open.
    SidebarPopover* togglePopover(Popover which);
    SidebarPopover* popover(Popover which) const;

    SidebarModel* model() const { return m_model; }
    SidebarListView* list() const { return m_list; }
    SearchField* searchField() const { return m_search; }
    SidebarIconButton* refreshButton() const { return m_refresh; }
    ActionChip* askChip() const { return m_ask; }
    ActionChip* fileChip() const { return m_file; }
    ScopePill* folderPill() const { return m_folderPill; }
    TessaronWorking* working() const { return m_working; }
    QWidget* emptyNotice() const { return m_notice; }
    QString noticeText() const;
    QString listHeading() const;
    QString countText() const;
    QString retainedText() const;

    // Whether the folder pill stands on a line of its own, below the broker pill.
    bool scopeWrapped() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildScopeRow();
    QWidget* buildListHeading();
    QWidget* buildBody();
    QWidget* buildFooter();
    SidebarPopover* buildPopover(Popover which);
    // One builder per popover (TopicListPopovers.cpp).
    SidebarPopover* buildBrokerMenu();
    SidebarPopover* buildBrokerPicker();
    SidebarPopover* buildNamespacePicker();
    SidebarPopover* buildScopeHelp();
    SidebarPopover* buildListMenu();
    QWidget* anchorOf(Popover which) const;

    void refreshHeader();
    void refreshScope();
    void arrangeScope();
    void refreshChips();
    void refreshBody();
    void refreshTexts();
    void startRefresh();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    SidebarModel* m_model;
    QWidget* m_card = nullptr;
    QLabel* m_kind = nullptr;
    QWidget* m_dot = nullptr;
    SidebarIconButton* m_refresh = nullptr;
    SidebarIconButton* m_more = nullptr;
    ActionChip* m_ask = nullptr;
    ActionChip* m_file = nullptr;
    QWidget* m_scopeRow = nullptr;
    QHBoxLayout* m_scopeFirst = nullptr;
    QHBoxLayout* m_scopeSecond = nullptr;
    ScopePill* m_brokerPill = nullptr;
    QWidget* m_chevron = nullptr;
    ScopePill* m_folderPill = nullptr;
    SidebarIconButton* m_scopeHelp = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_count = nullptr;
    SidebarIconButton* m_listOptions = nullptr;
    SearchField* m_search = nullptr;
    TessaronWorking* m_working = nullptr;
    QWidget* m_notice = nullptr;
    SymbolView* m_noticeIcon = nullptr;
    QLabel* m_noticeText = nullptr;
    SidebarListView* m_list = nullptr;
    SymbolView* m_lock = nullptr;
    QLabel* m_badge = nullptr;
    QLabel* m_retained = nullptr;
    QPointer<SidebarPopover> m_popovers[5];
    QPixmap m_glass;
};

} // namespace tessaron
