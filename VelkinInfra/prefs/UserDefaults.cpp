#include "VelkinInfra/prefs/UserDefaults.h"

#include "VelkinInfra/json/ExactJson.h"
#include "VelkinInfra/storage/DebouncedFileWriter.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tessaron {

namespace {

// Doubles are tagged because JSON writes 2.0 as 2, which would come back as an integer.
const QString doubleTag = QStringLiteral("double");

using Values = QMap<QString, QVariant>;

bool readJson(const QByteArray& bytes, Values& map)
{
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument doc = exactJsonDocument(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QJsonValue v = it.value();
        switch (v.type()) {
        case QJsonValue::Bool:
            map.insert(it.key(), v.toBool());
            break;
        case QJsonValue::String:
            map.insert(it.key(), v.toString());
            break;
        case QJsonValue::Double: {
            const QVariant n = v.toVariant(); // LongLong for integers, Double otherwise
            if (n.typeId() == QMetaType::Double)
                map.insert(it.key(), n.toDouble());
            else
                map.insert(it.key(), n.toLongLong());
            break;
        }
        case QJsonValue::Array: {
            QStringList list;
            for (const QJsonValue& item : v.toArray())
                list << (item.isString() ? item.toString() : item.toVariant().toString());
            map.insert(it.key(), list);
            break;
        }
        case QJsonValue::Object: {
            const QJsonObject o = v.toObject();
            if (o.size() == 1 && o.contains(doubleTag))
                map.insert(it.key(), o.value(doubleTag).toDouble());
            break;
        }
        default:
            break;
        }
    }
    return true;
}

QByteArray writeJson(const Values& map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QVariant& v = it.value();
        switch (v.typeId()) {
        case QMetaType::Bool:
            root.insert(it.key(), v.toBool());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            root.insert(it.key(), v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            root.insert(it.key(), QJsonObject{{doubleTag, v.toDouble()}});
            break;
        case QMetaType::QStringList:
            root.insert(it.key(), QJsonArray::fromStringList(v.toStringList()));
            break;
        default:
            root.insert(it.key(), v.toString());
            break;
        }
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool decodes(const QByteArray& bytes)
{
    Values ignored;
    return readJson(bytes, ignored);
}

// Writes of one burst end in one write of the last state, off the writing thread.
constexpr std::chrono::milliseconds writeDebounce{250};

UserDefaults* standardStore = nullptr;

void flushStandard()
{
    if (standardStore)
        standardStore->flush();
}

bool isNumber(const QVariant& v)
{
    const int t = v.typeId();
    return t == QMetaType::LongLong || t == QMetaType::Int || t == QMetaType::Double;
}

qint64 truncated(double d)
{
    // A double outside the integer range has no integer reading.
    if (!std::isfinite(d) || d >= 9.2233720368547758e18 || d < -9.2233720368547758e18)
        return 0;
    return static_cast<qint64>(d);
}

} // namespace

UserDefaults& UserDefaults::standard()
{
    // Never destroyed: views and observers may read it until the very end of the process.
    static UserDefaults* store = [] {
        auto* s = new UserDefaults(standardFilePath());
        standardStore = s;
        if (auto* app = QCoreApplication::instance()) {
            if (s->thread() != app->thread())
                s->moveToThread(app->thread());
            QObject::connect(app, &QCoreApplication::aboutToQuit, s, &UserDefaults::flush, Qt::DirectConnection);
        }
        // Never destroyed, so what is pending is written when the process ends normally.
        std::atexit(flushStandard);
        return s;
    }();
    return *store;
}

QString UserDefaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tessaron.velkin/preferences.json");
}

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_writer(std::make_unique<DebouncedFileWriter>(filePath, QStringLiteral("tessaron.velkin.preferences"),
                                                     writeDebounce, decodes))
{
    // A file that does not read is the user's: the writer keeps it aside before replacing it.
    if (const std::optional<QByteArray> bytes = m_writer->read(); bytes && !readJson(*bytes, m_values)) {
        m_values.clear();
        m_writer->keepAsideBeforeNextWrite();
    }
}

UserDefaults::~UserDefaults() { flush(); }

bool UserDefaults::contains(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_values.contains(key);
}

QVariant UserDefaults::object(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_values.value(key);
}

std::optional<QString> UserDefaults::string(const QString& key) const
{
    const QVariant v = object(key);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::QStringList:
        return std::nullopt;
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return v.toString();
    }
}

std::optional<bool> UserDefaults::boolean(const QString& key) const
{
    const QVariant v = object(key);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return std::nullopt;
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Double:
        return v.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString s = v.toString().trimmed().toLower();
        if (s == QLatin1String("true") || s == QLatin1String("yes"))
            return true;
        return truncated(s.toDouble()) != 0 || s.toLongLong() != 0;
    }
    case QMetaType::QStringList:
        return false;
    default:
        return v.toLongLong() != 0;
    }
}

std::optional<qint64> UserDefaults::integer(const QString& key) const
{
    const QVariant v = object(key);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return std::nullopt;
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
        return truncated(v.toDouble());
    case QMetaType::QString: {
        const QString s = v.toString().trimmed();
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        return ok ? n : truncated(s.toDouble());
    }
    case QMetaType::QStringList:
        return 0;
    default:
        return v.toLongLong();
    }
}

std::optional<double> UserDefaults::number(const QString& key) const
{
    const QVariant v = object(key);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return std::nullopt;
    case QMetaType::Bool:
        return v.toBool() ? 1.0 : 0.0;
    case QMetaType::QString:
        return v.toString().trimmed().toDouble();
    case QMetaType::QStringList:
        return 0.0;
    default:
        return isNumber(v) ? v.toDouble() : 0.0;
    }
}

std::optional<QStringList> UserDefaults::stringList(const QString& key) const
{
    const QVariant v = object(key);
    if (v.typeId() != QMetaType::QStringList)
        return std::nullopt;
    return v.toStringList();
}

void UserDefaults::setBool(const QString& key, bool value) { write(key, QVariant(value)); }
void UserDefaults::setInteger(const QString& key, qint64 value) { write(key, QVariant(value)); }
void UserDefaults::setDouble(const QString& key, double value) { write(key, QVariant(value)); }
void UserDefaults::setString(const QString& key, const QString& value) { write(key, QVariant(value)); }
void UserDefaults::setStringList(const QString& key, const QStringList& value) { write(key, QVariant(value)); }
void UserDefaults::remove(const QString& key) { write(key, QVariant()); }

bool UserDefaults::flush()
{
    QMutexLocker lock(&m_mutex);
    return m_writer->flush();
}

bool UserDefaults::lastWriteSucceeded() { return flush(); }

void UserDefaults::write(const QString& key, const QVariant& value)
{
    {
        QMutexLocker lock(&m_mutex);
        if (value.isValid())
            m_values.insert(key, value);
        else
            m_values.remove(key);
        // Scheduled under the lock, so writes from two threads reach the file in the order they changed the map.
        m_writer->schedule(writeJson(m_values));
    }
    announce(key);
}

void UserDefaults::announce(const QString& key)
{
    if (QThread::currentThread() == thread())
        emit changed(key);
    else
        QMetaObject::invokeMethod(
            this, [this, key] { emit changed(key); }, Qt::QueuedConnection);
}

} // namespace tessaron
