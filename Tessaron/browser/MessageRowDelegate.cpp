#include "Tessaron/browser/MessageRowDelegate.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/RelativeTime.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/Symbols.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace tessaron {

using namespace BrowserStyle;

namespace {
constexpr double barWidth = 2.5;
constexpr double padX = 10;
constexpr double padY = 7;
constexpr double headHeight = 16;
constexpr double lineGap = 5;
constexpr double previewHeight = 15;
constexpr double spacing = 7;
constexpr double markSize = 10;
constexpr double symbolGap = 4;

QFont numberFont() { return KitFont::font(9, QFont::Black, FontDesign::monospaced); }
QFont keyFont() { return KitFont::font(12, QFont::DemiBold, FontDesign::monospaced); }
QFont positionFont() { return KitFont::font(9.5, QFont::Normal, FontDesign::monospaced); }
QFont timeFont() { return KitFont::font(9.5); }
QFont previewFont() { return KitFont::font(10.5); }
QFont previewMonoFont() { return KitFont::font(10.5, QFont::Normal, FontDesign::monospaced); }

double advance(const QFont& font, const QString& text) { return QFontMetricsF(font).horizontalAdvance(text); }

// The preview's symbol, if the kind shows one.
QString previewSymbol(const PayloadKind& kind)
{
    switch (kind.tag()) {
    case PayloadKind::avroConfluent:
        return QStringLiteral("doc.badge.gearshape");
    case PayloadKind::tombstone:
        return QStringLiteral("xmark.bin.fill");
    case PayloadKind::binary:
        return QStringLiteral("number");
    default:
        return {};
    }
}
} // namespace

MessageRowDelegate::MessageRowDelegate(MessageListModel* model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
    , m_previews(16 * 1024 * 1024) // bytes: a few hundred rows' lines
{ }

QSize MessageRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {std::max(option.rect.width(), 280), rowHeight + rowGap};
}

QString MessageRowDelegate::keyText(int row) const { return m_model->keyText(row); }
QString MessageRowDelegate::positionText(int row) const { return m_model->positionText(row); }
QString MessageRowDelegate::previewText(int row) const { return m_model->previewText(row); }

MessageRowDelegate::Geometry MessageRowDelegate::layout(const QRect& rect, int row) const
{
    Geometry g;
    const Message& message = m_model->messageAt(row);
    const double left = rect.left() + barWidth + padX;
    const double right = rect.right() + 1 - padX;
    const double top = rect.top() + padY;
    const QString number = QString::number(row + 1);
    const double numberWidth = std::max(16.0, advance(numberFont(), number));
    g.number = QRectF(left, top, numberWidth, headHeight);

    double tail = right;
    if (message.timestamp()) {
        const double w = advance(timeFont(), RelativeTime::sinceNow(*message.timestamp()));
        g.time = QRectF(tail - w, top, w, headHeight);
        tail -= w + spacing;
    }
    const double pw = advance(positionFont(), positionText(row));
    g.position = QRectF(tail - pw, top, pw, headHeight);
    tail = g.position.left() - 4; // the spacer's least length

    const double keyLeft = g.number.right() + spacing;
    double keyRoom = tail - keyLeft;
    const bool outlier = m_model->isOutlier(row);
    if (outlier)
        keyRoom -= spacing + markSize;
    const double keyWidth = std::min(std::max(0.0, keyRoom), advance(keyFont(), keyText(row)) + 1);
    g.key = QRectF(keyLeft, top, keyWidth, headHeight);
    if (outlier)
        g.mark = QRectF(g.key.right() + spacing, top + (headHeight - markSize) / 2, markSize, markSize);
    g.preview = QRectF(left, top + headHeight + lineGap, right - left, previewHeight);
    return g;
}

void MessageRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    const Message& message = m_model->messageAt(row);
    const MessageListModel::RowFace& face = m_model->faceAt(row);
    const bool selected = m_model->isSelected(row);
    const bool outlier = m_model->isOutlier(row);
    const bool hover = option.state & QStyle::State_MouseOver;
    const QRect cell = option.rect.adjusted(0, 0, -10, -rowGap);
    const QRectF rect = QRectF(cell);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const QColor accent = neutral();
    if (selected) {
        painter->fillPath(shape, withOpacity(accent, 0.2));
    } else {
        painter->fillPath(shape, white(hover ? 0.05 : 0.02));
    }
    if (outlier) {
        painter->save();
        painter->setClipPath(shape);
        painter->fillRect(QRectF(rect.left(), rect.top(), barWidth, rect.height()), warningOrange());
        painter->restore();
    }
    if (selected) {
        painter->setPen(QPen(withOpacity(accent, 0.35), 1));
        painter->drawPath(shape);
    }
    if (const auto* view = qobject_cast<const QAbstractItemView*>(parent());
        view && (option.state & QStyle::State_HasFocus) && FocusRing::shownOn(view))
        FocusRing::draw(*painter, rect, 8);

    const Geometry g = layout(cell, row);
    painter->setFont(numberFont());
    painter->setPen(TessaronPalette::legible(white(0.35)));
    PaintedText::draw(*painter, g.number, Qt::AlignRight | Qt::AlignVCenter, QString::number(row + 1));

    painter->setFont(keyFont());
    painter->setPen(TessaronPalette::legible(white(face.hasKey ? 0.9 : 0.3)));
    PaintedText::draw(*painter, g.key, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetricsF(keyFont()).elidedText(keyText(row), Qt::ElideMiddle, g.key.width()));
    if (outlier)
        Symbols::paint(*painter, QStringLiteral("exclamationmark.bubble.fill"), g.mark, warningOrange());

    painter->setFont(positionFont());
    painter->setPen(TessaronPalette::legible(white(0.3)));
    PaintedText::draw(*painter, g.position, Qt::AlignLeft | Qt::AlignVCenter, positionText(row));
    if (message.timestamp()) {
        painter->setFont(timeFont());
        PaintedText::draw(*painter, g.time, Qt::AlignLeft | Qt::AlignVCenter,
                          RelativeTime::sinceNow(*message.timestamp()));
    }

    // The preview: one line, cut at the end, drawn from its picture when the row was drawn before
    // at this width (it is laid out on whole pixels, so the picture lands where the text would).
    const QPointF origin(std::floor(g.preview.left()), std::floor(g.preview.top()));
    const QRectF area = g.preview.translated(-origin);
    if (PaintedText::isRecording()) {
        painter->translate(origin);
        paintPreview(*painter, area, row);
    } else {
        const MessageAddress address = MessageAddress::of(message);
        const QString text = previewText(row);
        // At the pixels the row lands on: the window's own ratio, or the scale of a picture the
        // window is drawn into (a 2x picture of a 1x window would otherwise get a 1x preview).
        const double dpr = std::max(painter->device()->devicePixelRatioF(), std::abs(painter->deviceTransform().m11()));
        PreviewPicture* kept = m_previews.object(address);
        if (!kept || kept->text != text || kept->size != area.size() || kept->picture.devicePixelRatioF() != dpr) {
            const QSize pixels(int(std::ceil(area.right() * dpr)), int(std::ceil(area.bottom() * dpr)));
            auto* made = new PreviewPicture{text, area.size(), QPixmap(pixels)};
            made->picture.setDevicePixelRatio(dpr);
            made->picture.fill(Qt::transparent);
            {
                QPainter picture(&made->picture);
                picture.setRenderHints(painter->renderHints());
                paintPreview(picture, area, row);
            }
            kept = made;
            m_previews.insert(address, made, std::max(1, pixels.width() * pixels.height() * 4));
        }
        painter->drawPixmap(origin, kept->picture);
    }
    painter->restore();
}

void MessageRowDelegate::paintPreview(QPainter& painter, QRectF area, int row) const
{
    const MessageListModel::RowFace& face = m_model->faceAt(row);
    const QString symbol = previewSymbol(face.kind);
    QColor color = white(0.5);
    if (face.kind.tag() == PayloadKind::tombstone)
        color = withOpacity(warningOrange(), 0.9);
    else if (face.kind.tag() == PayloadKind::binary)
        color = white(0.45);
    else if (face.kind.tag() == PayloadKind::text)
        color = white(0.65);
    if (!symbol.isEmpty()) {
        const double size = 10.5;
        Symbols::paint(painter, symbol, QRectF(area.left(), area.center().y() - size / 2, size, size), color);
        area.setLeft(area.left() + size + symbolGap);
    }
    const bool coloured = face.kind.tag() == PayloadKind::json || face.kind.tag() == PayloadKind::avroDecoded;
    const bool mono = coloured || face.kind.tag() == PayloadKind::text;
    const QFont font = mono ? previewMonoFont() : previewFont();
    painter.setFont(font);
    const QString shown = QFontMetricsF(font).elidedText(previewText(row), Qt::ElideRight, area.width());
    if (!coloured) {
        painter.setPen(TessaronPalette::legible(color));
        PaintedText::draw(painter, area, Qt::AlignLeft | Qt::AlignVCenter, shown);
    } else {
        const QFontMetricsF fm(font);
        for (const JSONHighlighter::Token& token : JSONHighlighter::tokens(shown)) {
            const double x = area.left() + fm.horizontalAdvance(shown.left(token.start));
            painter.setPen(TessaronPalette::legible(JSONHighlighter::color(token.kind)));
            PaintedText::draw(painter, QRectF(x, area.top(), area.right() - x + 20, area.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, shown.mid(token.start, token.length));
        }
    }
}

bool MessageRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (index.isValid() && m_model->isOutlier(index.row())) {
        const Geometry g = layout(option.rect.adjusted(0, 0, -10, -rowGap), index.row());
        if (g.mark.adjusted(-3, -3, 3, 3).contains(event->pos())) {
            QToolTip::showText(event->globalPos(), loc("This message disagrees with the shape of the rest"), view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace tessaron
