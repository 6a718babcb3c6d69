#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;

namespace tessaron {

class TessaronMascot;

// A place with nothing to show: the mascot (it hops when clicked), a title and an optional
// explanation, centred. Shows its texts as given; the caller localises them.
class EmptyPane : public QWidget {
    Q_OBJECT
public:
    EmptyPane(const QString& title, const std::optional<QString>& detail, QWidget* parent = nullptr);

    void setTexts(const QString& title, const std::optional<QString>& detail);
    QString title() const;
    QString detail() const;
    int boops() const { return m_boops; }
    // The mascot, which counts its clicks.
    QWidget* mascot() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_boops = 0;
    TessaronMascot* m_mascot;
    QLabel* m_title;
    QLabel* m_detail;
};

} // namespace tessaron
