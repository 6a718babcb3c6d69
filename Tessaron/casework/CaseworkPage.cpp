#include "Tessaron/casework/CaseworkPage.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace tessaron {

CaseworkPage::CaseworkPage(QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
}

QVBoxLayout* CaseworkPage::fresh(int spacing, const QMargins& margins)
{
    const int scrolled = verticalScrollBar()->value();
    if (QWidget* old = takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    m_content = new QWidget();
    m_content->setAutoFillBackground(false);
    // The column sits on top of a stretch, not aligned to the top: an aligned layout is given its
    // preferred height, which is short of what wrapped lines need once the page is narrower than
    // the width that height was measured at.
    auto* page = new QVBoxLayout(m_content);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    auto* column = new QVBoxLayout();
    column->setSpacing(spacing);
    column->setContentsMargins(margins);
    page->addLayout(column);
    page->addStretch(1);
    setWidget(m_content);
    verticalScrollBar()->setValue(scrolled);
    return column;
}

} // namespace tessaron
