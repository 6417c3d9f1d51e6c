#pragma once

#include <QIcon>

class QToolButton;

// The look of the icon buttons of a list action bar: a borderless 32 × 32 icon-only button whose
// symbol is drawn in a secondary (muted) text colour, or an even fainter tertiary one while the
// button is disabled, in which state it takes neither clicks nor keys.
class ListActionButtonStyle {
public:
    static constexpr int size = 32;

    explicit ListActionButtonStyle(bool disabled = false) : m_disabled(disabled) {}

    // Styles `button` with `icon`; apply again after a palette change to follow the new colours.
    void apply(QToolButton *button, const QIcon &icon) const;

    // `icon` redrawn as a single-colour mask in the secondary or tertiary colour of `palette`.
    static QIcon tinted(const QIcon &icon, const QPalette &palette, bool disabled);

private:
    bool m_disabled;
};
