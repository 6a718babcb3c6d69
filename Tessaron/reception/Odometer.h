#pragma once

#include "Tessaron/kit/PanelSurface.h"

class QLabel;

namespace tessaron {

class AnimatedValue;
class UserDefaults;

// The "MILEAGE" panel: how many messages were read and how many RabbitMQ messages were disturbed
// over the life of the installation. Reads the two stored tallies and follows their changes.
class Odometer : public PanelSurface {
    Q_OBJECT
public:
    explicit Odometer(UserDefaults& store, QWidget* parent = nullptr);

    // "%06d": at least six digits, more when the value is larger; no grouping; never below zero.
    static QString digits(qint64 value);

    qint64 read() const { return m_read; }
    qint64 disturbed() const { return m_disturbed; }
    QString readText() const;
    QString disturbedText() const;
    QString closingLine() const;
    QColor disturbedColor() const;

private:
    void reload();
    qint64 stored(const QString& key) const;

    UserDefaults& m_store;
    qint64 m_read = 0;
    qint64 m_disturbed = 0;
    AnimatedValue* m_readRoll;
    AnimatedValue* m_disturbedRoll;
    QLabel* m_readValue;
    QLabel* m_disturbedValue;
    QLabel* m_closing;
};

} // namespace tessaron
