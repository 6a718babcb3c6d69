#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QList>

#include <optional>

namespace tessaron {

// How a value becomes JSON and back for `JSONFile`. By default the type supplies
// `toJson()` and a static `fromJson(const QJsonValue&)` returning an optional; lists decode all or
// nothing, so one bad element fails the whole list.
template <typename T> struct JSONCodec {
    static std::optional<QJsonValue> encode(const T& value) { return QJsonValue(value.toJson()); }
    static std::optional<T> decode(const QJsonValue& json) { return T::fromJson(json); }
};

template <typename T> struct JSONCodec<QList<T>> {
    static std::optional<QJsonValue> encode(const QList<T>& values)
    {
        QJsonArray array;
        for (const T& value : values) {
            std::optional<QJsonValue> element = JSONCodec<T>::encode(value);
            if (!element)
                return std::nullopt;
            array.append(*element);
        }
        return QJsonValue(array);
    }

    static std::optional<QList<T>> decode(const QJsonValue& json)
    {
        if (!json.isArray())
            return std::nullopt;
        const QJsonArray array = json.toArray();
        QList<T> values;
        values.reserve(array.size());
        for (const QJsonValue& element : array) {
            std::optional<T> value = JSONCodec<T>::decode(element);
            if (!value)
                return std::nullopt;
            values.append(std::move(*value));
        }
        return values;
    }
};

} // namespace tessaron
