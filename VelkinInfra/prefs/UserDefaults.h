#pragma once

#include <QMap>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace tessaron {

class DebouncedFileWriter;

// The user-defaults store: typed values (bool, integer, double, text, list of texts) under full
// keys ("tessaron.onboarded"), kept as JSON under the XDG config folder so that their types
// survive a restart. A write changes the store at once and is followed by one `changed` signal,
// delivered on the thread the store lives in (the main thread for `standard()`); the file follows
// a quarter of a second after the last write of a burst, written off the writing thread. What is
// pending is written on `flush()`, on destruction, and for `standard()` when the application quits.
//
// Readers tell "absent" from a stored false or 0: they return nothing only when the key holds
// nothing; otherwise they give the store's reading of whatever is stored there.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    // The process's own store: <XDG config>/tessaron.velkin/preferences.json.
    static UserDefaults& standard();
    static QString standardFilePath();

    explicit UserDefaults(const QString& filePath, QObject* parent = nullptr);
    ~UserDefaults() override;

    QString filePath() const { return m_filePath; }

    bool contains(const QString& key) const;
    // The stored value with its own type; invalid when absent.
    QVariant object(const QString& key) const;

    std::optional<QString> string(const QString& key) const; // nothing also for a list
    std::optional<bool> boolean(const QString& key) const;
    std::optional<qint64> integer(const QString& key) const;
    std::optional<double> number(const QString& key) const;
    std::optional<QStringList> stringList(const QString& key) const;

    void setBool(const QString& key, bool value);
    void setInteger(const QString& key, qint64 value);
    void setDouble(const QString& key, double value);
    void setString(const QString& key, const QString& value);
    void setStringList(const QString& key, const QStringList& value);
    void remove(const QString& key);

    // Writes what is pending now, on the calling thread. False when the last write could not reach the disk.
    bool flush();
    // The same: a question about the disk waits for what is pending.
    bool lastWriteSucceeded();

signals:
    void changed(const QString& key);

private:
    void write(const QString& key, const QVariant& value);
    void announce(const QString& key);

    QString m_filePath;
    mutable QMutex m_mutex;
    QMap<QString, QVariant> m_values;
    std::unique_ptr<DebouncedFileWriter> m_writer;
};

} // namespace tessaron
