#include "Tessaron/kit/WelcomeTitle.h"

#include "Tessaron/kit/WelcomePalette.h"
#include "VelkinUI/KitFont.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

WelcomeTitle::WelcomeTitle(const QString& first, const QString& accent, double size, QWidget* parent)
    : QWidget(parent)
    , m_first(new QLabel(first, this))
    , m_accent(new QLabel(accent, this))
{
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
    setAccessibleName(first + QLatin1Char(' ') + accent);
}

} // namespace tessaron
