#include "VelkinHelpers/MarkdownText.h"

#include "TessaronCore/model/TextRules.h"
#include "VelkinHelpers/MarkdownInline.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/VelkinPalette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace tessaron {

namespace {

bool isFence(const QString& t) { return t.startsWith(QLatin1String("```")); }

// The heading level of a trimmed line, 0 when it is none.
int headingLevel(const QString& t)
{
    if (t.startsWith(QLatin1String("### ")))
        return 3;
    if (t.startsWith(QLatin1String("## ")))
        return 2;
    if (t.startsWith(QLatin1String("# ")))
        return 1;
    return 0;
}

bool isBullet(const QString& t) { return t.startsWith(QLatin1String("- ")) || t.startsWith(QLatin1String("* ")); }

const QRegularExpression& numberedItem()
{
    static const QRegularExpression re(QStringLiteral("^\\d+\\.\\s"), QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

// The length of a numbered item's marker, 0 when `t` is not a numbered item.
qsizetype numberedMarker(const QString& t)
{
    const QRegularExpressionMatch m = numberedItem().match(t);
    return m.hasMatch() ? m.capturedLength() : 0;
}

bool isItem(const QString& t) { return isBullet(t) || numberedMarker(t) > 0; }

// A line feed ends a line; a carriage return right before it is part of the break, so text written
// with CR LF endings reads like text written with LF alone.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

QColor white(double opacity)
{
    QColor c(Qt::white);
    c.setAlphaF(opacity);
    return c;
}

// Wrapped text keeps its whole height: the layout asks it for its height at the width it gets.
void wrapping(QLabel* label, QSizePolicy::Policy horizontal)
{
    QSizePolicy policy(horizontal, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
}

QLabel* textLabel(const QString& html, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel;
    label->setTextFormat(Qt::RichText);
    label->setText(html);
    label->setWordWrap(true);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    label->setPalette(palette);
    wrapping(label, QSizePolicy::Preferred);
    return label;
}

double headingSize(int level)
{
    switch (level) {
    case 1:
        return 19;
    case 2:
        return 16;
    case 3:
        return 14;
    default:
        return 13;
    }
}

} // namespace

MarkdownText::MarkdownText(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_column(new QVBoxLayout(this))
{
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(10);
    setText(text);
}

void MarkdownText::setText(const QString& text)
{
    m_text = text;
    rebuild();
}

QList<MarkdownText::Block> MarkdownText::parse(const QString& text)
{
    QList<Block> blocks;
    const QStringList lines = linesOf(text);
    const qsizetype count = lines.size();
    qsizetype i = 0;
    auto add = [&](Kind kind) { blocks.append(Block{int(blocks.size()), std::move(kind)}); };

    while (i < count) {
        const QString t = TextRules::trimmed(lines.at(i));
        if (isFence(t)) {
            QStringList code;
            ++i;
            while (i < count && !isFence(TextRules::trimmed(lines.at(i))))
                code.append(lines.at(i++));
            if (i < count)
                ++i; // the closing fence
            add(Kind::makeCode(code.join(u'\n')));
        } else if (const int level = headingLevel(t)) {
            add(Kind::makeHeading(level, t.mid(level + 1)));
            ++i;
        } else if (isItem(t)) {
            const bool ordered = !isBullet(t);
            QStringList items;
            while (i < count) {
                const QString item = TextRules::trimmed(lines.at(i));
                if (ordered) {
                    const qsizetype marker = numberedMarker(item);
                    if (marker == 0 || isBullet(item))
                        break;
                    items.append(item.mid(marker));
                } else {
                    if (!isBullet(item))
                        break;
                    items.append(item.mid(2));
                }
                ++i;
            }
            add(Kind::makeList(items, ordered));
        } else if (!t.isEmpty()) {
            QStringList paragraph;
            while (i < count) {
                const QString next = TextRules::trimmed(lines.at(i));
                if (next.isEmpty() || isFence(next) || headingLevel(next) || isItem(next))
                    break;
                paragraph.append(lines.at(i++));
            }
            add(Kind::makeParagraph(paragraph.join(u' ')));
        } else {
            ++i;
        }
    }
    return blocks;
}

QString MarkdownText::inlineHtml(const QString& text)
{
    return MarkdownInline::html(text, Brand::accent(), KitFont::family(FontDesign::monospaced));
}

void MarkdownText::rebuild()
{
    while (QLayoutItem* item = m_column->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const Block& block : parse(m_text))
        m_column->addWidget(viewFor(block.kind));
    m_column->addStretch(1); // blocks keep to the top when the view is taller than its text
}

QWidget* MarkdownText::viewFor(const Kind& kind)
{
    const QFont body = KitFont::font(13);
    switch (kind.tag) {
    case Kind::heading: {
        QLabel* label =
            textLabel(inlineHtml(kind.text), KitFont::font(headingSize(kind.level), QFont::Bold, FontDesign::rounded),
                      white(0.92));
        label->setContentsMargins(0, 4, 0, 0);
        return label;
    }
    case Kind::paragraph:
        return textLabel(inlineHtml(kind.text), body, white(0.88));
    case Kind::list: {
        auto* list = new QWidget;
        auto* column = new QVBoxLayout(list);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(4);
        for (qsizetype n = 0; n < kind.items.size(); ++n) {
            auto* row = new QHBoxLayout;
            row->setSpacing(8);
            const QString marker = kind.ordered ? QString::number(n + 1) + u'.' : QStringLiteral("•");
            QLabel* mark = textLabel(marker.toHtmlEscaped(), KitFont::font(13, QFont::DemiBold, FontDesign::rounded),
                                     Brand::accent());
            mark->setFixedWidth(16);
            mark->setWordWrap(false);
            mark->setAlignment(Qt::AlignRight | Qt::AlignTop);
            row->addWidget(mark, 0, Qt::AlignTop);
            row->addWidget(textLabel(inlineHtml(kind.items.at(n)), body, white(0.88)), 1, Qt::AlignTop);
            column->addLayout(row);
        }
        return list;
    }
    case Kind::code: {
        auto* label = new QLabel;
        label->setTextFormat(Qt::PlainText);
        label->setText(kind.text);
        label->setFont(KitFont::font(12, QFont::Normal, FontDesign::monospaced));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        wrapping(label, QSizePolicy::Expanding);
        // Rounded fill and hairline border in one go; the kit's panels are dark.
        label->setStyleSheet(QStringLiteral("QLabel { color: %1; background: %2; border: 1px solid %3;"
                                            " border-radius: 8px; padding: 9px; }")
                                 .arg(VelkinPalette::css(VelkinPalette::codeText()),
                                      VelkinPalette::css(VelkinPalette::codeFill()),
                                      VelkinPalette::css(VelkinPalette::codeBorder())));
        return label;
    }
    }
    return new QWidget;
}

} // namespace tessaron
