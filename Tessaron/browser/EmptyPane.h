#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;

namespace tessaron {

class KitButton;
class TessaronMascot;

// A place with nothing to show: the mascot (it hops when clicked), a title and an optional
// explanation, centred. Shows its texts as given; the caller localises them.
class EmptyPane : public QWidget {
    Q_OBJECT
public:
    EmptyPane(const QString& title, const std::optional<QString>& detail, QWidget* parent = nullptr);

    void setTexts(const QString& title, const std::optional<QString>& detail);
    int boops() const { return m_boops; }
    KitButton* mascotButton() const { return m_mascotButton; }

private:
    int m_boops = 0;
    KitButton* m_mascotButton;
    TessaronMascot* m_mascot;
    QLabel* m_title;
    QLabel* m_detail;
};

} // namespace tessaron
