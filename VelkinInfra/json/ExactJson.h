#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace tessaron {

// Qt's JSON reader drops a U+FEFF that opens a string when it arrives as raw bytes, which cuts the
// first character off a name or a pin. Written as an escape it survives; raw, those bytes can only
// stand inside strings (or open the document, where they stay as they are).
inline QJsonDocument exactJsonDocument(const QByteArray& bytes, QJsonParseError* error = nullptr)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    const qsizetype from = bytes.startsWith(mark) ? mark.size() : 0;
    if (bytes.indexOf(mark, from) < 0)
        return QJsonDocument::fromJson(bytes, error);
    QByteArray escaped = bytes.mid(from);
    escaped.replace(mark, QByteArrayLiteral("\\ufeff"));
    return QJsonDocument::fromJson(bytes.left(from) + escaped, error);
}

} // namespace tessaron
