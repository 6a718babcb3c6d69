#include "Tessaron/kit/WelcomeTitle.h"

#include "Tessaron/kit/WelcomePalette.h"
#include "VelkinUI/KitFont.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVBoxLayout>

#include <mutex>

namespace tessaron {

namespace {

// Read as one heading: both lines in its name, the two labels not read again on their own.
class TitleAccessible : public QAccessibleWidget {
public:
    explicit TitleAccessible(QWidget* title)
        : QAccessibleWidget(title, QAccessible::Heading)
    { }
    QString text(QAccessible::Text t) const override
    {
        // The lines as shown now: a retranslated title reads its new words.
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* title = static_cast<WelcomeTitle*>(widget());
        return title->firstLine()->text() + QLatin1Char(' ') + title->accentLine()->text();
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

QAccessibleInterface* titleFactory(const QString&, QObject* object)
{
    if (auto* title = qobject_cast<WelcomeTitle*>(object))
        return new TitleAccessible(title);
    return nullptr;
}

} // namespace

WelcomeTitle::WelcomeTitle(const QString& first, const QString& accent, double size, QWidget* parent)
    : QWidget(parent)
    , m_first(new QLabel(first, this))
    , m_accent(new QLabel(accent, this))
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(titleFactory); });
    const QFont font = KitFont::font(size, QFont::Black, FontDesign::rounded, -1.3);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QLabel* line : {m_first, m_accent}) {
        line->setTextFormat(Qt::PlainText);
        line->setFont(font);
        line->setWordWrap(true);
        line->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        column->addWidget(line);
    }
    QPalette p = m_accent->palette();
    p.setColor(QPalette::WindowText, WelcomePalette::accent());
    m_accent->setPalette(p);
}

} // namespace tessaron
