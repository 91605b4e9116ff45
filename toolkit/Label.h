#pragma once

#include "toolkit/Control.h"

#include <QString>

namespace toolkit {

// How a label lines up its caption.
inline constexpr int16_t vbLeftJustify = 0;
inline constexpr int16_t vbRightJustify = 1;

// A line of fixed text on a window or frame. An "&" in the caption marks
// nothing here (a label takes no focus); "&&" shows one "&". Where the font
// on this system is wider or taller than the one the label was sized for,
// the text still shows whole: the label keeps its place and grows to the
// right and down on the screen, while Width and Height keep the values set.
class Label : public Control {
public:
    explicit Label(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);
    void SetAlignment(int16_t value);

protected:
    void fontChanged() override;

private:
    void fitText();
    QString m_strCaption;
};

} // namespace toolkit
