#pragma once

#include "Tessaron/kit/PopoverFrame.h"

#include <QAbstractButton>
#include <QColor>
#include <QFrame>
#include <QPainterPath>
#include <QPointer>
#include <QString>

#include <optional>

class QLabel;
class QTimer;
class QVBoxLayout;

namespace tessaron {

class HoverAmount;
class SpinnerMotion;

// A 26 × 26 icon button of the sidebar: symbol in muted grey, in its tint under the pointer, a spinner
// while busy. Busy does not disable it; only a disabled button ignores clicks and hover.
class SidebarIconButton : public QAbstractButton {
    Q_OBJECT
public:
    SidebarIconButton(const QString& icon, const QString& help, const QColor& tint, QWidget* parent = nullptr);

    bool busy() const { return m_busy; }
    void setBusy(bool busy);
    bool hovering() const;
    HoverAmount* hoverAmount() const { return m_hover; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_icon;
    QColor m_tint;
    bool m_busy = false;
    HoverAmount* m_hover;
    SpinnerMotion* m_spinner;
};

// The frame of every sidebar popover: an eyebrow, the caller's rows, an optional remark, in the
// kit's popover 262 points wide (PopoverFrame: below its control with an arrow pointing at it);
// clicking the control again while it is open only closes it. It deletes itself when closed.
class SidebarPopover : public PopoverFrame {
    Q_OBJECT
public:
    static constexpr int fixedWidth = 262;

    SidebarPopover(const QString& eyebrow, const QColor& tint, const std::optional<QString>& remark,
                   QWidget* parent = nullptr);

    void addRow(QWidget* row);

private:
    QVBoxLayout* m_rows;
};

// One clickable row of a popover: icon, title, optional subtitle, trailing text and check mark.
class PopoverRow : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        std::optional<QString> subtitle;
        bool subtitleIsProse = false;
        std::optional<QString> icon;
        std::optional<QColor> tint; // the accent when none
        bool selected = false;
        std::optional<QString> trailing;
        bool destructive = false;
    };

    PopoverRow(const QString& title, Look look, QWidget* parent = nullptr);

    const Look& look() const { return m_look; }
    bool hovering() const;
    HoverAmount* hoverAmount() const { return m_hover; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor tint() const;
    QStringList subtitleLines(double width) const;

    Look m_look;
    HoverAmount* m_hover;
};

// A small on/off switch.
class SwitchButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SwitchButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A popover row with a switch; no hover look and no action of its own.
class PopoverToggle : public QWidget {
    Q_OBJECT
public:
    PopoverToggle(const QString& title, const std::optional<QString>& subtitle, const std::optional<QString>& icon,
                  bool isOn, QWidget* parent = nullptr);

    bool isOn() const;
    void setOn(bool on);
    SwitchButton* toggle() const { return m_switch; }

signals:
    void toggled(bool on);

private:
    SwitchButton* m_switch;
};

// A thin rule between groups of popover rows.
class PopoverDivider : public QWidget {
    Q_OBJECT
public:
    explicit PopoverDivider(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessaron
