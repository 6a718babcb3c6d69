#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonDocument>
#include <QJsonParseError>

namespace tessaron {

// Qt's JSON reader drops a U+FEFF that opens a string when it arrives as raw bytes, which cuts the
// first character off a name or a pin. Written as an escape it survives; raw, those bytes can only
// stand inside strings (or open the document, where they stay as they are).
inline QJsonDocument exactJsonDocument(const QByteArray& bytes, QJsonParseError* error = nullptr)
{
    // A view of a literal, not a static QByteArray: this runs from exit handlers too, after
    // function statics made later than the handler's registration are gone.
    constexpr QByteArrayView mark("\xEF\xBB\xBF", 3);
    const qsizetype from = bytes.startsWith(mark) ? mark.size() : 0;
    if (bytes.indexOf(mark, from) < 0)
        return QJsonDocument::fromJson(bytes, error);
    QByteArray escaped = bytes.mid(from);
    escaped.replace(mark, QByteArrayLiteral("\\ufeff"));
    return QJsonDocument::fromJson(bytes.left(from) + escaped, error);
}

} // namespace tessaron
