#include "Tessaron/actions/PayloadEditor.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tessaron {

namespace {

constexpr char16_t paragraph = 0x2029;
// What a stored paragraph break stands for, by its index in m_breaks.
const QString& breakText(char kind)
{
    static const QString texts[] = {QStringLiteral("\n"),      QStringLiteral("\r\n"), QStringLiteral("\r"),
                                    QString(QChar(paragraph)), QString(QChar(0xFDD0)), QString(QChar(0xFDD1))};
    return texts[std::clamp(int(kind), 0, 5)];
}

// The breaks a text document makes paragraphs of, in the order it reads them ("\r\n" is one).
struct Split {
    QString raw;
    QByteArray breaks;
};

Split split(const QString& text)
{
    Split s;
    s.raw.reserve(text.size());
    s.breaks.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        char kind = -1;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            kind = 1;
            ++i;
        } else if (c == u'\n') {
            kind = 0;
        } else if (c == u'\r') {
            kind = 2;
        } else if (c == paragraph) {
            kind = 3;
        } else if (c == 0xFDD0) {
            kind = 4;
        } else if (c == 0xFDD1) {
            kind = 5;
        }
        if (kind >= 0) {
            s.raw += QChar(paragraph);
            s.breaks += kind;
        } else {
            s.raw += QChar(c);
            s.breaks += char(0);
        }
    }
    return s;
}

} // namespace

PayloadEditor::PayloadEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChanged, this, &PayloadEditor::follow);
}

QString PayloadEditor::rawText() const
{
    QString raw;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            raw += QChar(paragraph);
        raw += block.text();
    }
    return raw;
}

void PayloadEditor::setExactText(const QString& text)
{
    const Split given = split(text);
    m_setting = true;
    setPlainText(text);
    m_setting = false;
    m_raw = rawText();
    // Should the document ever store the text differently, the breaks are not guessed.
    m_breaks = m_raw == given.raw ? given.breaks : QByteArray(m_raw.size(), char(0));
    emit exactTextChanged();
}

void PayloadEditor::follow()
{
    if (m_setting)
        return;
    const QString now = rawText();
    if (now == m_raw)
        return;
    // The edit is what lies between the unchanged start and the unchanged end; breaks outside it
    // keep what they stood for, and new ones are the user's "\n".
    const qsizetype shorter = std::min(now.size(), m_raw.size());
    qsizetype head = 0;
    while (head < shorter && now[head] == m_raw[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && now[now.size() - 1 - tail] == m_raw[m_raw.size() - 1 - tail])
        ++tail;
    QByteArray breaks = m_breaks.left(head);
    breaks += QByteArray(now.size() - head - tail, char(0));
    breaks += m_breaks.right(tail);
    m_breaks = breaks;
    m_raw = now;
    emit exactTextChanged();
}

QString PayloadEditor::exactText() const
{
    QString text;
    text.reserve(m_raw.size());
    for (qsizetype i = 0; i < m_raw.size(); ++i) {
        if (m_raw[i] == QChar(paragraph))
            text += breakText(i < m_breaks.size() ? m_breaks[i] : 0);
        else
            text += m_raw[i];
    }
    return text;
}

} // namespace tessaron
