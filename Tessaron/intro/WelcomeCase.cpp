#include "Tessaron/intro/WelcomeCase.h"

#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/ViewMotion.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tessaron {

namespace {

QString hex(const QColor& c) { return c.name(QColor::HexRgb); }

} // namespace

WelcomeCase::WelcomeCase(bool solved, QWidget* parent)
    : QWidget(parent)
{
    m_state.solved = solved;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(24);

    auto* header = new QHBoxLayout;
    auto* heading = new QVBoxLayout;
    heading->setSpacing(12);
    heading->addWidget(new Eyebrow(L10n::t("CASE 001 / THE SUSPICIOUS QUOTATION MARKS")));
    heading->addWidget(new ScreenTitle(L10n::t("One of these messages"), L10n::t("changed its story."), 34));
    heading->addWidget(intro::text(L10n::t("Click the one that doesn't match. Trust your inner retriever."), 12,
                                   TessaronPalette::muted()));
    header->addLayout(heading, 1);
    header->addWidget(intro::capsule(L10n::t("FICTIONAL DATA"), TessaronPalette::lavender(), QStringLiteral("flask")),
                      0, Qt::AlignBottom);
    column->addLayout(header);

    auto* body = new QHBoxLayout;
    body->setSpacing(24);
    auto* evidence = new QVBoxLayout;
    evidence->setSpacing(8);
    auto* listHeader = new QHBoxLayout;
    listHeader->setContentsMargins(0, 0, 0, 6);
    listHeader->addWidget(
        intro::text(QStringLiteral("demo.orders"), 11, TessaronPalette::ink(), QFont::Medium, FontDesign::monospaced));
    listHeader->addStretch(1);
    auto* count =
        intro::text(L10n::t("4 MESSAGES"), 8, TessaronPalette::muted(), QFont::Normal, FontDesign::monospaced);
    count->setWordWrap(false);
    listHeader->addWidget(count);
    evidence->addLayout(listHeader);
    const auto& messages = intro::demoMessages();
    for (int i = 0; i < messages.size(); ++i) {
        auto* button = new KitButton(
            QString(),
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, true, QMarginsF(14, 17, 14, 17)));
        auto* content = new QWidget;
        auto* r = new QHBoxLayout(content);
        r->setContentsMargins(0, 0, 0, 0);
        r->setSpacing(13);
        auto* offset = intro::text(QStringLiteral("#%1").arg(messages[i].offset()), 10, TessaronPalette::muted(),
                                   QFont::Normal, FontDesign::monospaced);
        offset->setWordWrap(false);
        r->addWidget(offset);
        auto* line = intro::text(QString(), 12, TessaronPalette::ink(), QFont::Normal, FontDesign::monospaced);
        line->setWordWrap(false);
        line->setTextFormat(Qt::RichText);
        r->addWidget(line, 1);
        auto* icon = new SymbolView(QStringLiteral("chevron.right"), 11, TessaronPalette::muted());
        icon->setObjectName(QStringLiteral("state"));
        r->addWidget(icon);
        button->setContent(content);
        const QString payload = QString::fromUtf8(messages[i].payload().value_or(QByteArray()));
        button->setAccessibleName(L10n::t("Message %d: %@", messages[i].offset(), payload));
        connect(button, &KitButton::clicked, this, [this, i] { pick(i); });
        m_rows.append(button);
        m_rowTexts.append(line);
        evidence->addWidget(button);
    }
    auto* foot =
        intro::text(L10n::t("This runs Tessaron's real shape analyser. No AI needed."), 10, TessaronPalette::muted());
    foot->setContentsMargins(0, 9, 0, 0);
    evidence->addWidget(foot);
    evidence->addStretch(1);
    body->addLayout(evidence, 1);

    auto* notesContent = new QWidget;
    auto* notes = new QVBoxLayout(notesContent);
    notes->setContentsMargins(20, 20, 20, 20);
    notes->setSpacing(17);
    auto* notesHeader = new QHBoxLayout;
    m_gavel = new Gavel(24, 0, TessaronPalette::introAccent());
    notesHeader->addWidget(m_gavel);
    notesHeader->addStretch(1);
    m_notesTitle = intro::text(QString(), 8, TessaronPalette::muted(), QFont::DemiBold, FontDesign::monospaced, 0.8);
    m_notesTitle->setWordWrap(false);
    notesHeader->addWidget(m_notesTitle);
    notes->addLayout(notesHeader);

    m_unsolved = new QWidget;
    auto* u = new QVBoxLayout(m_unsolved);
    u->setContentsMargins(0, 0, 0, 0);
    u->setSpacing(17);
    m_lead = intro::text(QString(), 20, TessaronPalette::ink(), QFont::Bold, FontDesign::rounded);
    m_hint = intro::text(QString(), 12, TessaronPalette::muted());
    m_help = new KitButton(
        L10n::t("Tessaron, a little help?"),
        std::make_unique<PlainButtonStyle>(KitFont::font(10, QFont::DemiBold), TessaronPalette::introAccent()));
    connect(m_help, &KitButton::clicked, this, &WelcomeCase::askForHelp);
    u->addWidget(m_lead);
    u->addWidget(m_hint);
    u->addWidget(m_help, 0, Qt::AlignLeft);
    notes->addWidget(m_unsolved);

    m_solvedBox = new QWidget;
    auto* s = new QVBoxLayout(m_solvedBox);
    s->setContentsMargins(0, 0, 0, 0);
    s->setSpacing(17);
    m_lawyered = intro::text(QStringLiteral("LAWYERED!"), 25, TessaronPalette::introAccent(), QFont::Black,
                             FontDesign::rounded, -0.8);
    m_lawyered->setObjectName(QStringLiteral("lawyered"));
    m_lawyered->setWordWrap(false);
    s->addWidget(m_lawyered, 0, Qt::AlignLeft);
    intro::tilt(m_lawyered, -5);
    s->addWidget(intro::text(L10n::t("It was the quotation marks."), 15, TessaronPalette::ink(), QFont::Bold,
                             FontDesign::rounded));
    s->addWidget(intro::text(L10n::t("‘total’ is a number in 3 messages and a string in 1. Same name. Different type."),
                             11, TessaronPalette::muted()));
    s->addWidget(intro::text(L10n::t("Those two little marks really thought they'd get away with it."), 11,
                             TessaronPalette::introAccent(), QFont::Medium, FontDesign::rounded));
    notes->addWidget(m_solvedBox);
    notes->addStretch(1);
    m_notes = panelSurface(notesContent, TessaronPalette::lavender());
    m_notes->setFixedSize(245, 284);
    body->addWidget(m_notes, 0, Qt::AlignTop);
    column->addLayout(body);
    column->addStretch(1);
    sync();
}

void WelcomeCase::pick(int index)
{
    // What a pick changes moves on the tap's spring.
    const Motion tap = decorativeMotion(this, Motion::withSpring(Spring{0.32, 0.7, 0.0}));
    if (m_state.pick(index)) {
        m_gavel->setStrikes(m_state.strikes);
        sync(tap);
        stampLawyered();
        emit solvedCase();
        return;
    }
    sync(tap);
}

void WelcomeCase::stampLawyered()
{
    if (!motionAllowed(this))
        return;
    // Lands from 1.6 times its size while it fades in, on the tap's spring, keeping its tilt.
    auto* effect = intro::tilt(m_lawyered, -5);
    auto* stamp = new AnimatedValue(0.0, m_lawyered);
    const auto apply = [label = m_lawyered, effect](double v) {
        const QPointF centre = QRectF(label->rect()).center();
        const double scale = 1.6 - 0.6 * v;
        effect->setTransform(Transforms::rotateAbout(-5, centre) * Transforms::scaleAbout(scale, scale, centre));
        effect->setOpacity(std::clamp(v, 0.0, 1.0));
    };
    connect(stamp, &AnimatedValue::valueChanged, m_lawyered, apply);
    connect(stamp, &AnimatedValue::finished, m_lawyered, [label = m_lawyered, stamp] {
        intro::tilt(label, -5);
        static_cast<TransformEffect*>(label->graphicsEffect())->setOpacity(1.0);
        stamp->deleteLater();
    });
    apply(0.0);
    stamp->animateTo(1.0, Motion::withSpring(Spring{0.32, 0.7, 0.0}));
}

void WelcomeCase::sync(const Motion& motion)
{
    const bool solved = m_state.solved;
    for (int i = 0; i < m_rows.size(); ++i) {
        const bool highlighted = solved && intro::isCulprit(i);
        m_rows[i]->setButtonStyle(std::make_unique<ControlStyle>(TessaronPalette::introAccent(), highlighted, true,
                                                                 QMarginsF(14, 17, 14, 17)));
        m_rows[i]->setProperty("highlighted", highlighted);
        const QString value = intro::demoTotals().at(i).toHtmlEscaped();
        m_rowTexts[i]->setText(
            QStringLiteral("<span style='color:%1'>{ </span><span style='color:%2'>\"total\": </span>"
                           "<span style='color:%3'>%4</span><span style='color:%1'>, \"paid\": true }</span>")
                .arg(hex(TessaronPalette::muted()), hex(TessaronPalette::lavender()),
                     hex(highlighted ? TessaronPalette::introAccent() : TessaronPalette::ink()), value));
        auto* icon = m_rows[i]->findChild<SymbolView*>(QStringLiteral("state"));
        const QString name = highlighted ? QStringLiteral("exclamationmark.bubble.fill")
            : m_state.selected == i      ? QStringLiteral("checkmark")
                                         : QStringLiteral("chevron.right");
        const QColor color = highlighted ? TessaronPalette::introAccent() : TessaronPalette::muted();
        if (icon->name() != name) {
            replaceContent(
                icon,
                [icon, name, color] {
                    icon->setName(name);
                    icon->setColor(color);
                },
                motion, false);
        }
    }
    m_notesTitle->setText(solved ? L10n::t("EVIDENCE FOUND") : L10n::t("TESSARON'S NOTES"));
    m_notes->setTint(solved ? TessaronPalette::introAccent() : TessaronPalette::lavender());
    m_unsolved->setVisible(!solved);
    m_solvedBox->setVisible(solved);
    if (!m_state.selected) {
        crossFadeText(m_lead, L10n::t("Four messages.\nOne plot twist."), motion);
        crossFadeText(m_hint,
                      L10n::t("I'm not saying it's the quotes. But I'd ask the quotes where they were last night."),
                      motion);
    } else {
        crossFadeText(m_lead, L10n::t("This witness checks out."), motion);
        crossFadeText(m_hint,
                      L10n::t("Look at the type of ‘total’. Sometimes the smallest detail makes the whole case."),
                      motion);
    }
}

} // namespace tessaron
