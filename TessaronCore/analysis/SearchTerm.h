#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace tessaron {

// A search text prepared once and matched against many texts: trimmed of spaces and tabs (never
// line breaks), then compared as a substring without regard to case. ASCII texts, the common case,
// are matched in place without decoding or folding.
class SearchTerm {
public:
    // Nothing when the trimmed text is empty: such a term matches nothing.
    static std::optional<SearchTerm> prepare(QStringView text);

    bool matches(QStringView text) const;
    // Nothing when the bytes are not UTF-8; otherwise whether their text matches.
    std::optional<bool> matchesUtf8(QByteArrayView bytes) const;

    // The trimmed term in the compared (case-folded, canonical) form.
    const QString& form() const { return m_form; }

private:
    QString m_form;
    QByteArray m_ascii;
    bool m_isAscii = false;
};

} // namespace tessaron
