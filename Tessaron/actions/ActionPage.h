#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace tessaron {

class ElidedLabel;
class ScreenTitle;

// The frame every action sheet is drawn in, 640 × 680 where the window allows it and never resized
// by its content: the mark, the wordmark and a one-line subtitle cut in the middle, a large title, a
// scrolling body, the "SIGNED" rule above the footer's buttons, and a backdrop tinted by how grave
// the action is. Header and footer always show; on a small window only the body is shorter.
class ActionPage : public QWidget {
    Q_OBJECT
public:
    enum class Weight { routine, consequential };
    static constexpr int pageWidth = 640;
    static constexpr int pageHeight = 680;

    ActionPage(const QString& title, const QString& subtitle, Weight weight, QWidget* parent = nullptr);

    static QColor tint(Weight weight);
    Weight weight() const { return m_weight; }
    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    QString subtitle() const;
    // The body's column (leading, 14 points between elements) and the footer's row.
    QVBoxLayout* content() const { return m_content; }
    QHBoxLayout* footer() const { return m_footer; }
    QScrollArea* scrollArea() const { return m_scroll; }
    // Makes the page the whole of `sheet`, which takes the page's size where the window it covers
    // allows it.
    void fill(QWidget* sheet);
    // Scrolls the body so that `widget` shows, now and whenever the body's layout moves it, until
    // another widget is revealed.
    void reveal(QWidget* widget);
    // Whether `widget` lies wholly inside the body's visible part.
    bool inView(const QWidget* widget) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Brings the revealed widget into view again while it holds the focus; once the focus is
    // elsewhere the body is the user's to scroll.
    void followRevealed();

    Weight m_weight;
    ElidedLabel* m_subtitle;
    ScreenTitle* m_title;
    QScrollArea* m_scroll;
    QVBoxLayout* m_content;
    QHBoxLayout* m_footer;
    QPointer<QWidget> m_revealed;
};

} // namespace tessaron
