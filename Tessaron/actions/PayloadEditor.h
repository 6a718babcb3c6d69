#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <QString>

namespace tessaron {

// The payload's editor. A text document turns every line break ("\r\n", "\r", "\n", U+2029) into
// one kind of paragraph break and its plain text turns no-break spaces into spaces, so reading the
// document back would quietly change the bytes of a message the user never touched. This editor
// keeps, for each break, the break it was given, and reads the characters as stored: the text
// comes back exactly as given, with the user's edits and nothing else.
class PayloadEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PayloadEditor(QWidget* parent = nullptr);

    void setExactText(const QString& text);
    QString exactText() const;

signals:
    void exactTextChanged();

private:
    // The document's characters as stored, with U+2029 between paragraphs.
    QString rawText() const;
    void follow();

    QString m_raw;
    // For each character of m_raw that is a paragraph break: which break it stands for (0 is "\n",
    // the break the user types).
    QByteArray m_breaks;
    bool m_setting = false;
};

} // namespace tessaron
