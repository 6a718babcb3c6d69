#include "TessaronCore/l10n/L10nTable.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace tessaron;

namespace {

struct Token {
    enum Kind { identifier, literal, punct } kind;
    std::string text; // a literal's bytes after its escapes are applied
    int line;
};

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A small C++ tokenizer: enough to find calls of the lookup with a literal argument while
// skipping comments, character literals and raw strings. A file that is half written (an
// unterminated comment or literal) is read up to that point only.
std::vector<Token> tokenize(const std::string& s)
{
    std::vector<Token> tokens;
    int line = 1;
    size_t i = 0;
    const size_t n = s.size();
    auto readQuoted = [&](char quote, std::string& out) -> bool {
        ++i; // opening quote
        while (i < n && s[i] != quote) {
            if (s[i] == '\n')
                return false;
            if (s[i] != '\\') {
                out += s[i++];
                continue;
            }
            if (++i >= n)
                return false;
            const char e = s[i++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                int v = e - '0';
                for (int k = 0; k < 2 && i < n && s[i] >= '0' && s[i] <= '7'; ++k)
                    v = v * 8 + (s[i++] - '0');
                out += char(v);
                break;
            }
            case 'x': {
                int v = 0;
                while (i < n && std::isxdigit(static_cast<unsigned char>(s[i])))
                    v = v * 16 + std::stoi(std::string(1, s[i++]), nullptr, 16);
                out += char(v);
                break;
            }
            case 'u':
            case 'U': {
                const int len = e == 'u' ? 4 : 8;
                if (i + len > n)
                    return false;
                appendUtf8(out, uint32_t(std::stoul(s.substr(i, len), nullptr, 16)));
                i += len;
                break;
            }
            case '\n':
                ++line;
                break;
            default:
                out += e;
                break; // \" \' \\ \?
            }
        }
        if (i >= n)
            return false;
        ++i; // closing quote
        return true;
    };
    while (i < n) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '/') {
            while (i < n && s[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const size_t end = s.find("*/", i + 2);
            if (end == std::string::npos)
                break;
            for (size_t k = i; k < end; ++k)
                line += s[k] == '\n';
            i = end + 2;
        } else if (c == '#' && (tokens.empty() || tokens.back().line != line)) {
            // Preprocessor line (with its continuations): nothing to look up there.
            while (i < n && s[i] != '\n') {
                if (s[i] == '\\' && i + 1 < n && s[i + 1] == '\n') {
                    ++line;
                    ++i;
                }
                ++i;
            }
        } else if (isIdentChar(c)) {
            const size_t start = i;
            while (i < n && isIdentChar(s[i]))
                ++i;
            std::string word = s.substr(start, i - start);
            if (i < n && s[i] == '"'
                && (word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR")) {
                const size_t open = s.find('(', i);
                if (open == std::string::npos)
                    break;
                const std::string close = ")" + s.substr(i + 1, open - i - 1) + "\"";
                const size_t end = s.find(close, open);
                if (end == std::string::npos)
                    break;
                std::string body = s.substr(open + 1, end - open - 1);
                for (char b : body)
                    line += b == '\n';
                tokens.push_back({Token::literal, body, line});
                i = end + close.size();
            } else if (i < n && s[i] == '"' && (word == "u8" || word == "u" || word == "U" || word == "L")) {
                std::string body;
                const int at = line;
                if (!readQuoted('"', body))
                    break;
                tokens.push_back({Token::literal, body, at});
            } else if (i < n && s[i] == '\'' && std::isdigit(static_cast<unsigned char>(word[0]))) {
                ++i; // digit separator
            } else {
                tokens.push_back({Token::identifier, word, line});
            }
        } else if (c == '"') {
            std::string body;
            const int at = line;
            if (!readQuoted('"', body))
                break;
            tokens.push_back({Token::literal, body, at});
        } else if (c == '\'') {
            std::string ignored;
            if (!readQuoted('\'', ignored))
                break;
        } else if (c == ':' && i + 1 < n && s[i + 1] == ':') {
            tokens.push_back({Token::punct, "::", line});
            i += 2;
        } else if (c == '-' && i + 1 < n && s[i + 1] == '>') {
            tokens.push_back({Token::punct, "->", line});
            i += 2;
        } else {
            tokens.push_back({Token::punct, std::string(1, c), line});
            ++i;
        }
    }
    return tokens;
}

bool is(const std::vector<Token>& t, size_t i, const char* text)
{
    return i < t.size() && t[i].kind != Token::literal && t[i].text == text;
}

// The literal key at tokens[i...] (after the opening parenthesis), when the argument is one.
std::optional<std::string> literalArgument(const std::vector<Token>& t, size_t i)
{
    int wrappers = 0;
    if (is(t, i, "QStringLiteral") && is(t, i + 1, "(")) {
        i += 2;
        wrappers = 1;
    } else if (is(t, i, "QString") && is(t, i + 1, "::") && is(t, i + 2, "fromUtf8") && is(t, i + 3, "(")) {
        i += 4;
        wrappers = 1;
    }
    if (i >= t.size() || t[i].kind != Token::literal)
        return std::nullopt;
    std::string key;
    while (i < t.size() && t[i].kind == Token::literal)
        key += t[i++].text;
    if (wrappers && !is(t, i++, ")"))
        return std::nullopt;
    if (!is(t, i, ",") && !is(t, i, ")"))
        return std::nullopt; // an expression built from the literal, not a key
    return key;
}

} // namespace

class TestL10nKeysInSource : public QObject {
    Q_OBJECT
private slots:
    void everyLiteralLookupIsAKey()
    {
        const QString root = QStringLiteral(TESSARON_SOURCE_DIR);
        QStringList misses;
        int calls = 0;
        QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = QDir(root).relativeFilePath(path);
            const QString top = relative.section(QLatin1Char('/'), 0, 0);
            // Tests, build trees and hidden folders hold no product texts.
            if (top == QLatin1String("tests") || top.startsWith(QLatin1String("build"))
                || top.startsWith(QLatin1Char('.')) || relative.contains(QLatin1String("/."))
                || relative.contains(QLatin1String("_autogen/")))
                continue;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const std::vector<Token> t = tokenize(file.readAll().toStdString());
            for (size_t i = 0; i < t.size(); ++i) {
                size_t arg = 0;
                if (is(t, i, "L10n") && is(t, i + 1, "::") && is(t, i + 2, "t") && is(t, i + 3, "("))
                    arg = i + 4;
                else if (is(t, i, "loc") && is(t, i + 1, "(") && !(i > 0 && (is(t, i - 1, ".") || is(t, i - 1, "->"))))
                    arg = i + 2;
                else
                    continue;
                const auto key = literalArgument(t, arg);
                if (!key)
                    continue;
                ++calls;
                if (!L10nTable::portuguese(*key)) {
                    misses << QStringLiteral("%1:%2: \"%3\"")
                                  .arg(relative)
                                  .arg(t[i].line)
                                  .arg(
                                      QString::fromUtf8(key->c_str()).replace(QLatin1Char('\n'), QLatin1String("\\n")));
                }
            }
        }
        qInfo("%d literal lookups checked", calls);
        QVERIFY2(
            misses.isEmpty(),
            qPrintable(QStringLiteral("texts that are not keys of the table:\n") + misses.join(QLatin1Char('\n'))));
    }

    void theTokenizerFindsTheCallsItShould()
    {
        const std::string code = "// L10n::t(\"in a comment\")\n"
                                 "auto a = L10n::t(\"Your \"\n \"broker\");\n"
                                 "auto b = loc(QStringLiteral(\"Open\"));\n"
                                 "auto c = L10n::t(\"%d topics\" + suffix);\n"
                                 "auto d = x.loc(\"member call\");\n"
                                 "char q = '\"'; auto e = L10n::t(u8\"Caf\\u00e9\", 1'000);\n";
        const auto t = tokenize(code);
        std::vector<std::string> found;
        for (size_t i = 0; i < t.size(); ++i) {
            if (is(t, i, "L10n") && is(t, i + 3, "(")) {
                if (auto k = literalArgument(t, i + 4))
                    found.push_back(*k);
            } else if (is(t, i, "loc") && !is(t, i - 1, ".")) {
                if (auto k = literalArgument(t, i + 2))
                    found.push_back(*k);
            }
        }
        QCOMPARE(found.size(), size_t(3));
        QCOMPARE(found[0], std::string("Your broker"));
        QCOMPARE(found[1], std::string("Open"));
        QCOMPARE(found[2], std::string("Caf\xc3\xa9"));
    }

    void halfWrittenCodeIsReadUpToWhereItBreaks()
    {
        const auto unterminated = tokenize("auto a = L10n::t(\"Open\");\nauto b = L10n::t(\"Clo");
        QVERIFY(!unterminated.empty());
        QCOMPARE(literalArgument(unterminated, 7), std::optional<std::string>("Open"));
        QCOMPARE(tokenize("x /* never closed L10n::t(\"a\")").size(), size_t(1));
        const auto raw = tokenize("auto r = R\"(L10n::t(\"inside\"))\"; loc(\"Open\")");
        QCOMPARE(std::count_if(raw.begin(), raw.end(), [](const Token& t) { return t.text == "L10n"; }), 0);
    }
};

QTEST_GUILESS_MAIN(TestL10nKeysInSource)
#include "tst_L10nKeysInSource.moc"
