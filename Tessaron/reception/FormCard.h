#pragma once

#include "Tessaron/kit/PanelSurface.h"

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace tessaron {

// A card of the broker form: a tinted eyebrow over its content on the panel surface.
class FormCard : public PanelSurface {
    Q_OBJECT
public:
    FormCard(const QString& eyebrow, const QColor& tint, QWidget* parent = nullptr);

    QVBoxLayout* content() const { return m_content; }
    void setCardTint(const QColor& tint);

private:
    QLabel* m_eyebrow;
    QVBoxLayout* m_content;
};

// A labelled text or password field with an optional hint beneath. Shows its texts as given.
class FormField : public QWidget {
    Q_OBJECT
public:
    FormField(const QString& label, const QString& placeholder, bool mono, bool secure, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit; }
    // Sets the text without moving the cursor when it is already the same.
    void setText(const QString& text);
    void setLabel(const QString& label);
    void setPlaceholder(const QString& placeholder);
    // An empty hint hides the hint line.
    void setHint(const QString& hint);
    QString hint() const;

private:
    QLabel* m_label;
    QLineEdit* m_edit;
    QLabel* m_hint;
};

} // namespace tessaron
