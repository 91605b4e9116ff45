#pragma once

#include "toolkit/Control.h"

#include <QRectF>
#include <QStaticText>
#include <QString>

class QPainter;

#include <functional>

namespace toolkit {

class Container;
class Frame;
class TextBoxWidget;

// A single-line text box. Without a border and locked it is drawn as bare
// text from its top-left corner, so its size is exactly its text's measured
// size; otherwise it is an ordinary edit field.
class TextBox : public Control {
public:
    explicit TextBox(Container& parent);
    ~TextBox() override;

    QString Text() const;
    // Raises Change when the text really changes.
    void SetText(const QString& value);
    bool Locked() const { return m_blnLocked; }
    void SetLocked(bool value);
    int16_t BorderStyle() const { return m_intBorderStyle; }
    void SetBorderStyle(int16_t value);
    int32_t SelStart() const;
    void SetSelStart(int32_t value);

    // Raised synchronously when the code changes the text and queued when the
    // user does.
    std::function<void()> OnChange;

    // Toolkit internals: a frame that draws the box in its own paint (its
    // widget then stays hidden), and the drawing of its bare text.
    void SetPainter(Frame* frame);
    void PaintBare(QPainter& p, const QRectF& at) const;

protected:
    void applyGeometry() override;
    void applyVisibility() override;
    void applyColors() override;
    void fontChanged() override;

private:
    friend class TextBoxWidget;
    bool plain() const { return m_intBorderStyle == 0 && m_blnLocked; }
    void raiseChange();

    TextBoxWidget* m_edit;
    Frame* m_painter = nullptr;
    // The text laid out once for the frame's many paints of it.
    mutable QStaticText m_laidOut;
    mutable bool m_laidOutValid = false;
    bool m_blnLocked = false;
    int16_t m_intBorderStyle = 1;
};

} // namespace toolkit
