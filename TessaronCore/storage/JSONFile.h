#pragma once

#include "TessaronCore/storage/AppSupport.h"
#include "VelkinInfra/storage/DebouncedFileWriter.h"
#include "TessaronCore/storage/JSONCodec.h"
#include "VelkinInfra/json/ExactJson.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

#include <chrono>
#include <cmath>
#include <optional>

namespace tessaron {

// One value stored as one pretty-printed JSON file (keys sorted) in the application's folder.
// Best-effort: nothing throws; a load that fails gives nothing, a write that fails gives false.
// A file that exists but does not decode is copied aside before the first write replaces it.
//
// `save` debounces on the store's own serial queue; `saveNow`, `remove` and `load` work on the
// calling thread. Every method may be called from any thread.
template <typename T, typename Codec = JSONCodec<T>> class JSONFile {
public:
    explicit JSONFile(const QString& name, double debounce = 0.25)
        : m_debounce(debounce)
        , m_writer(AppSupport::url(name), QStringLiteral("tessaron.velkin.jsonfile.") + name,
                   std::chrono::milliseconds(std::llround(std::max(0.0, debounce) * 1000.0)),
                   [](const QByteArray& bytes) { return decode(bytes).has_value(); })
    { }

    const QString& url() const { return m_writer.path(); }
    double debounce() const { return m_debounce; }

    // Absent when the file is missing, unreadable or does not decode as a whole. A file that is
    // there but did not load is kept aside before the next write, even if it loads by then.
    std::optional<T> load() const
    {
        const std::optional<QByteArray> bytes = m_writer.read();
        if (!bytes)
            return std::nullopt;
        std::optional<T> value = decode(*bytes);
        if (!value && !bytes->isEmpty())
            m_writer.keepAsideBeforeNextWrite();
        return value;
    }

    // Writes `value` once the store has been quiet for `debounce` seconds. A value that cannot be
    // encoded changes nothing.
    void save(const T& value)
    {
        if (std::optional<QByteArray> bytes = encode(value))
            m_writer.schedule(std::move(*bytes));
    }

    // Cancels any pending write and writes `value` at once. True when the file now holds it.
    bool saveNow(const T& value)
    {
        const std::optional<QByteArray> bytes = encode(value);
        return bytes && m_writer.writeNow(*bytes);
    }

    // Cancels any pending write and removes the file.
    void remove() { m_writer.remove(); }

    static std::optional<QByteArray> encode(const T& value)
    {
        const std::optional<QJsonValue> json = Codec::encode(value);
        if (!json)
            return std::nullopt;
        if (json->isArray())
            return QJsonDocument(json->toArray()).toJson(QJsonDocument::Indented);
        if (json->isObject())
            return QJsonDocument(json->toObject()).toJson(QJsonDocument::Indented);
        return std::nullopt; // a JSON document holds an array or an object
    }

    static std::optional<T> decode(const QByteArray& bytes)
    {
        QJsonParseError error;
        const QJsonDocument document = exactJsonDocument(bytes, &error);
        if (error.error != QJsonParseError::NoError)
            return std::nullopt;
        if (document.isArray())
            return Codec::decode(QJsonValue(document.array()));
        if (document.isObject())
            return Codec::decode(QJsonValue(document.object()));
        return std::nullopt;
    }

private:
    double m_debounce;
    DebouncedFileWriter m_writer;
};

} // namespace tessaron
