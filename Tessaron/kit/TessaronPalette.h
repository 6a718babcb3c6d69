#pragma once

#include <QColor>
#include <QString>

class QAbstractScrollArea;

namespace tessaron::TessaronPalette {

// The fixed colours of every screen, each an opaque sRGB colour made once.
const QColor& canvas();   // near-black ground behind the window and popovers
const QColor& ink();      // warm off-white text on dark panels
const QColor& muted();    // grey secondary text and idle icons
const QColor& mint();     // pale green: pins, the Schema Registry
const QColor& lavender(); // pale violet: consumer groups
const QColor& amber();    // warnings, refusals, destructive controls
const QColor& jade();     // secure or successful states

// The accent of the screens: the third colour of the current accent theme, read afresh.
QColor accent();
// The introduction's accent: the same colour, fixed on first read, so a theme changed during the
// introduction leaves it as it was.
const QColor& introAccent();

// The standard widgets' grounds (the application style's palette).
QColor panel();      // menus, tooltips, buttons
QColor field();      // text fields and lists
QColor bevelLight(); // the palette's Light, Midlight, Mid and Dark, for what Fusion still bevels
QColor bevelMidlight();
QColor bevelMid();
QColor bevelDark();
QColor bevelShadow();

// Colours that are no one's own: white as a surface's neutral tint, as text on dark, as a knob.
QColor plainWhite();

// Faint white over the dark grounds, by what it draws.
QColor quietFill();        // a badge, a chip or a small backing at rest
QColor quietFillHovered(); // the same under the pointer
QColor hairline();         // a divider between regions
QColor footerHairline();   // the rule above the settings footer
QColor cardRule();         // a rule inside a card's footer
QColor formRule();         // a rule under a form's header
QColor sectionRule();      // a rule between a form's sections
QColor countersDivider();  // between the about window's counters
QColor bubbleFill();       // a speech bubble
QColor bubbleEdge();
QColor trackFill(); // a toggle's or a slider's empty track
QColor trackEdge();
QColor sliderHandle();
QColor scrollHandle(bool hovered);
// The dashed outline of the card that adds a broker, brighter as the pointer's `hover` (0 to 1) grows.
QColor addCardOutline(double hover);

// Text fields drawn by a style sheet: sunk below the panel, a faint edge.
QColor fieldFill();
QColor fieldEdge();
QColor fieldDisabledText();
QColor editorFill(); // the produce sheet's payload editor, deeper than a field
QColor editorEdge();

QColor sidebarShade();  // the settings window's sidebar over its backdrop
QColor footerGround();  // a footer over scrolled content
QColor railDotUnseen(); // a step of the introduction not yet reached

// The persona pieces: the staff pass, the stamp, the introduction's capsules, the chart's track.
QColor badgeCard();
QColor badgeEdge();
QColor badgeRule();
QColor badgeBarcode();
QColor badgeShadow();
QColor stampGround();
QColor capsuleFill();
QColor capsuleEdge();
QColor chartTrack();
QColor headingRule(); // the line after a form heading
// A rule of the introduction at `opacity`.
QColor introRule(double opacity = 0.10);

// A style-sheet colour: `rgba(r, g, b, a)`, alpha from 0 to 255.
QString css(const QColor& color);
// Lets the ground show through a scroll area (its sheet is scoped by its object name).
void seeThrough(QAbstractScrollArea* scroll);

// `color` at `opacity` (0 to 1) of its own alpha.
QColor withOpacity(const QColor& color, double opacity);
// White at `opacity`.
QColor white(double opacity);

// A light text colour made legible on the dark grounds: a translucent or grey text is lifted (in
// opacity, then towards ink) until it reads at 4.5:1 (with a margin for small type) over the lightest panel on the
// canvas. Dark text (on amber or mint) is left as it is.
QColor legible(const QColor& text);

} // namespace tessaron::TessaronPalette
