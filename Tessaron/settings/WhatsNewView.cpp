#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/kit/FocusReturn.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/kit/LanguageChange.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/CascadeModifier.h"
#include "VelkinUI/KitButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>

namespace tessaron {

using namespace SettingsChrome;
namespace Palette = TessaronPalette;

void WhatsNewView::openOnRequest(QWidget* view)
{
    if (openOver(view))
        return;
    const std::optional<WhatsNewEntry> entry = WhatsNewEntry::entryOnRequest();
    if (!entry)
        return;
    auto* sheet = new WhatsNewView(*entry, view->window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    FocusReturn::track(sheet);
    sheet->open();
}

WhatsNewView* WhatsNewView::openOver(const QWidget* view)
{
    const QList<WhatsNewView*> sheets = view->window()->findChildren<WhatsNewView*>(Qt::FindDirectChildrenOnly);
    for (WhatsNewView* sheet : sheets) {
        if (sheet->isVisible())
            return sheet;
    }
    return nullptr;
}

WhatsNewView::WhatsNewView(WhatsNewEntry entry, QWidget* parent)
    : QDialog(parent)
    , m_entry(std::move(entry))
{
    setObjectName(QStringLiteral("whatsNewSheet"));
    SheetFit::follow(this, QSize(660, 700));
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Palette::ink());
    setPalette(palette);
    column(this, 0);
    build();
    // Nothing here is the user's but the pats: the sheet is drawn again in the new language.
    LanguageChange::onChange(this, [this] { build(); });
}

void WhatsNewView::build()
{
    delete m_body;
    m_body = new QWidget(this);
    layout()->addWidget(m_body);
    setWindowTitle(L10n::t("What's new"));
    auto* layout = column(m_body, 0);

    auto* header = new QWidget(m_body);
    header->setObjectName(QStringLiteral("whatsNewHeader"));
    header->setAttribute(Qt::WA_StyledBackground);
    header->setStyleSheet(
        QStringLiteral("#whatsNewHeader { border-bottom: 1px solid %1; }").arg(Palette::css(Palette::hairline())));
    auto* headerLayout = row(header, 10);
    headerLayout->setContentsMargins(30, 16, 30, 16);
    KitButton* mascot = mascotButton(28, m_mascot, header);
    connect(mascot, &QAbstractButton::clicked, this, &WhatsNewView::boop);
    m_mascot->setBoops(m_pats);
    headerLayout->addWidget(mascot);
    headerLayout->addWidget(
        label(QStringLiteral("tessaron"), KitFont::font(16, QFont::Bold, FontDesign::rounded), Palette::ink(), header));
    headerLayout->addWidget(label(L10n::t("/ WHAT CHANGED"),
                                  KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.2), Palette::muted(),
                                  header));
    headerLayout->addStretch(1);
    QLabel* pill = label(m_entry.version, KitFont::font(10, QFont::DemiBold, FontDesign::monospaced), accent(), header);
    pill->setObjectName(QStringLiteral("versionPill"));
    pill->setContentsMargins(9, 5, 9, 5);
    pill->setStyleSheet(QStringLiteral("#versionPill { background: %1; border-radius: 10px; }")
                            .arg(Palette::withOpacity(accent(), 0.12).name(QColor::HexArgb)));
    headerLayout->addWidget(pill);
    layout->addWidget(header);

    auto* scroll = new QScrollArea(m_body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setObjectName(QStringLiteral("whatsNewScroll"));
    Palette::seeThrough(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget;
    body->setAutoFillBackground(false);
    auto* bodyLayout = column(body, 22);
    bodyLayout->setContentsMargins(30, 26, 30, 24);
    auto* titleBlock = new QWidget(body);
    auto* titleLayout = column(titleBlock, 11);
    titleLayout->addWidget(new Eyebrow(L10n::t("CASE NOTES / %@", m_entry.version), titleBlock));
    const QString headline = L10n::t(m_entry.headline);
    const QString accentPart = L10n::t(m_entry.headlineAccent);
    auto* title = new ScreenTitle(headline, accentPart, 32, titleBlock);
    title->setObjectName(QStringLiteral("whatsNewTitle"));
    titleLayout->addWidget(title);
    titleBlock->setAccessibleName(headline + u' ' + accentPart);
    bodyLayout->addWidget(titleBlock);
    auto* cards = new QWidget(body);
    auto* cardsLayout = column(cards, 10);
    const QColor tints[] = {accent(), Palette::mint(), Palette::lavender()};
    for (int index = 0; index < m_entry.items.size(); ++index) {
        const WhatsNewEntry::Item& item = m_entry.items.at(index);
        const QColor tint = tints[index % 3];
        auto* card = new QWidget;
        auto* cardLayout = row(card, 14);
        cardLayout->setContentsMargins(14, 14, 14, 14);
        cardLayout->addWidget(iconBadge(item.icon, tint, card, 38, 14), 0, Qt::AlignTop);
        QLabel* text =
            wrapping(L10n::t(item.text), KitFont::font(12.5), Palette::withOpacity(Palette::ink(), 0.84), card);
        text->setObjectName(QStringLiteral("itemText"));
        cardLayout->addWidget(text, 1);
        PanelSurface* surface = panelSurface(card, tint);
        surface->setObjectName(QStringLiteral("itemCard%1").arg(index));
        cardsLayout->addWidget(surface);
        // Cards come in one after another the first time they show.
        if (!motionReduced())
            cascade(surface, 0.04 * index, 18);
    }
    bodyLayout->addWidget(cards);
    bodyLayout->addStretch(1);
    scroll->setWidget(body);
    // setWidget() turns the background on; the window's ground shows through.
    body->setAutoFillBackground(false);
    layout->addWidget(scroll, 1);

    auto* footer = new QWidget(m_body);
    footer->setObjectName(QStringLiteral("whatsNewFooter"));
    footer->setAttribute(Qt::WA_StyledBackground);
    footer->setStyleSheet(QStringLiteral("#whatsNewFooter { background: %1; border-top: 1px solid %2; }")
                              .arg(Palette::css(Palette::footerGround()), Palette::css(Palette::hairline())));
    auto* footerLayout = row(footer, 14);
    footerLayout->setContentsMargins(30, 18, 30, 18);
    auto* counts = new QWidget(footer);
    auto* countsLayout = column(counts, 5);
    countsLayout->addWidget(label(L10n::t("%d THINGS", m_entry.items.size()),
                                  KitFont::font(9, QFont::Medium, FontDesign::monospaced), accent(), counts));
    countsLayout->addWidget(
        label(L10n::t("All of them already in your copy."), KitFont::font(11), Palette::muted(), counts));
    footerLayout->addWidget(counts);
    footerLayout->addStretch(1);
    m_close = new KitButton(L10n::t("Nice work, buddy."), std::make_unique<PrimaryButtonStyle>(), footer);
    m_close->setObjectName(QStringLiteral("niceWork"));
    m_close->setTrailingSymbol(QStringLiteral("pawprint.fill"));
    m_close->setSymbolSpacing(6);
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);
    footerLayout->addWidget(m_close);
    layout->addWidget(footer);
    m_close->setFocus();
}

void WhatsNewView::boop()
{
    ++m_pats;
    m_mascot->setBoops(m_pats);
}

void WhatsNewView::done(int result)
{
    // The running version, not the entry's: notes opened on request for an older entry count the
    // running version as seen all the same.
    WhatsNewEntry::markSeen();
    QDialog::done(result);
}

void WhatsNewView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WhatsNewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, QRectF(rect()), accent(), false);
}

} // namespace tessaron
