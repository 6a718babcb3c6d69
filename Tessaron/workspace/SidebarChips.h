#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTimer;

namespace tessaron {

class FocusRing;

class HoverAmount;
class SpinnerMotion;
class TessaronMascot;

// The sidebar's search box: magnifier, a plain text field, and a clear button while there is text.
// Every edit is reported at once; setText() from the bound value keeps the caret where it is when
// the text is the same.
class SearchField : public QWidget {
    Q_OBJECT
public:
    SearchField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    void setPlaceholder(const QString& placeholder);
    QLineEdit* editor() const { return m_edit; }
    QAbstractButton* clearButton() const { return m_clear; }

signals:
    void textEdited(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* m_edit;
    QAbstractButton* m_clear;
    FocusRing* m_ring;
};

// A capsule naming one level of what the sidebar looks at: icon, value and a chevron, or a spinner
// while busy. What a click does is the sidebar's.
class ScopePill : public QAbstractButton {
    Q_OBJECT
public:
    ScopePill(const QString& icon, const QColor& tint, const QString& title, const QString& subtitle,
              QWidget* parent = nullptr);

    QString value() const { return text(); }
    void setValue(const QString& value);
    void setBusy(bool busy);
    bool busy() const { return m_busy; }
    HoverAmount* hoverAmount() const { return m_hover; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // "Title: value — subtitle", without the dash when there is no subtitle.
    static QString tooltipFor(const QString& title, const QString& value, const QString& subtitle);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void refreshTexts();

    QString m_icon;
    QColor m_tint;
    QString m_title;
    QString m_subtitle;
    bool m_busy = false;
    HoverAmount* m_hover;
    SpinnerMotion* m_spinner;
};

// A capsule button of the sidebar header ("Ask", "File…"). A disabled chip keeps its fill, dims
// its content and outline and ignores clicks.
class ActionChip : public QAbstractButton {
    Q_OBJECT
public:
    ActionChip(const QString& title, const QString& icon, const QColor& tint, bool prominent,
               QWidget* parent = nullptr);

    bool prominent() const { return m_prominent; }
    HoverAmount* hoverAmount() const { return m_hover; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_icon;
    QColor m_tint;
    bool m_prominent;
    HoverAmount* m_hover;
};

} // namespace tessaron
