#pragma once

#include <QAbstractButton>

#include <memory>

namespace tessaron {

class AnimatedValue;
class ButtonStyle;
class EffectSlot;
struct ButtonState;

// A push button whose whole look comes from a ButtonStyle. Its label is a text with optional
// symbols before and after it, or any content widget laid inside the style's insets.
class KitButton : public QAbstractButton {
    Q_OBJECT
    // Set on a button that is one choice among several; assistive technology reads it.
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected)
public:
    explicit KitButton(const QString& text, std::unique_ptr<ButtonStyle> style, QWidget* parent = nullptr);
    ~KitButton() override;

    void setButtonStyle(std::unique_ptr<ButtonStyle> style);
    ButtonStyle* buttonStyle() const { return m_style.get(); }
    void setLeadingSymbol(const QString& name);
    void setTrailingSymbol(const QString& name);
    void setSymbolSpacing(double spacing);
    // Takes ownership; the content ignores the pointer so the whole tile stays one button.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }

    // Makes the button a selectable choice and marks it chosen or not. The look stays the style's.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    bool isSelectable() const { return m_selectable; }

    // Busy: at work (a spinner and "…" in its label); the style draws it at full strength although it
    // takes no click, so its label stays readable.
    void setBusy(bool busy);

    ButtonState state() const;
    bool isHovering() const { return m_hovered; }
    // For tests and the gallery: the hover state as if the pointer were over the button.
    void setHovering(bool hovering);
    // For tests and the gallery: the pressed look without a pointer.
    void showPressed(bool pressed);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void refresh();
    void applyHover(bool hovering, bool animate);
    void applyLayout();
    bool windowActive() const;

    std::unique_ptr<ButtonStyle> m_style;
    QWidget* m_content = nullptr;
    QString m_leading;
    QString m_trailing;
    double m_symbolSpacing = 4.0;
    bool m_hovered = false;
    bool m_pointerInside = false;
    bool m_lastPressed = false;
    bool m_selectable = false;
    bool m_selected = false;
    bool m_busy = false;
    AnimatedValue* m_press;
    AnimatedValue* m_hover;
    std::unique_ptr<EffectSlot> m_effect;
};

} // namespace tessaron
