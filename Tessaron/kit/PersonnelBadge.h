#pragma once

#include <QWidget>

class QLabel;

namespace tessaron {

class KitButton;
class TessaronMascot;

// The mascot's staff pass: his photo (boop it), name, role, licence seal, two joke rows and a
// barcode. Keeps no count: the page owns the boops and learns of each through booped().
class PersonnelBadge : public QWidget {
    Q_OBJECT
public:
    static constexpr int barCount = 42;

    explicit PersonnelBadge(int boops = 0, QWidget* parent = nullptr);

    int boops() const { return m_boops; }
    void setBoops(int boops);
    void setBallDetected(bool detected);
    QString sealText() const;
    KitButton* boopButton() const { return m_boop; }
    // Adds one boop and then reports it.
    void boop();

signals:
    void booped(int boops);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_boops;
    bool m_ball = false;
    KitButton* m_boop;
    TessaronMascot* m_mascot;
    QLabel* m_seal;
};

} // namespace tessaron
