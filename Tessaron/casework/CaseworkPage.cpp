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
    auto* column = new QVBoxLayout(m_content);
    column->setSpacing(spacing);
    column->setContentsMargins(margins);
    column->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    setWidget(m_content);
    verticalScrollBar()->setValue(scrolled);
    return column;
}

} // namespace tessaron
