#include "marquee/FormSQMain.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"

#include <functional>

using toolkit::RGB;

namespace {

constexpr int32_t kOrange = RGB(255, 128, 0);

} // namespace

// Borderless and sizable, with no task-bar entry.
FormSQMain::FormSQMain()
    : toolkit::Window(
          {.TitleBar = false, .ToolWindow = true, .MinButton = false, .MaxButton = false}) {
    SetCaption(QString());
    SetClientSize(2700, 615);

    m_FrameVorn = std::make_unique<StripView>(*this);
    m_FrameVorn->SetBackColor(kOrange);
    m_FrameVorn->SetForeColor(toolkit::vbWindowText);
    m_FrameVorn->Move(75, 75, 2505, 450);
    m_FrameVorn->OnMouseDown = std::bind_front(&FormSQMain::FrameVorn_MouseDown, this);
    m_FrameVorn->OnMouseMove = std::bind_front(&FormSQMain::FrameVorn_MouseMove, this);
    m_FrameVorn->OnMouseUp = std::bind_front(&FormSQMain::FrameVorn_MouseUp, this);

    const float lefts[2] = {1140, 75};
    const float tops[2] = {165, 150};
    const float widths[2] = {1110, 1080};
    for (int16_t i = 0; i < 2; ++i) {
        StripText& box = m_FrameVorn->Box(i);
        box.SetBackColor(kOrange);
        box.SetForeColor(RGB(64, 64, 64));
        box.SetFont({.Name = QStringLiteral("ＭＳ Ｐゴシック"), .Size = 9.75f, .Bold = true,
                     .Charset = toolkit::kCharsetShiftJis});
        box.Move(lefts[i], tops[i], widths[i], 225);
        box.SetText(QStringLiteral("TextVorn(%1)").arg(i));
        // Each box's handlers are told the index of the box.
        box.OnMouseDown = std::bind_front(&FormSQMain::TextVorn_MouseDown, this, i);
        box.OnMouseMove = std::bind_front(&FormSQMain::TextVorn_MouseMove, this, i);
        box.OnMouseUp = std::bind_front(&FormSQMain::TextVorn_MouseUp, this, i);
    }

    OnResize = [this] { Form_Resize(); };
    OnMouseDown = std::bind_front(&FormSQMain::Form_MouseDown, this);
    OnMouseMove = std::bind_front(&FormSQMain::Form_MouseMove, this);
    OnMouseUp = std::bind_front(&FormSQMain::Form_MouseUp, this);
}

StripText& FormSQMain::TextVorn(int16_t Index) {
    if (Index < 0 || Index > 1)
        throw toolkit::Error::SubscriptOutOfRange();
    return m_FrameVorn->Box(Index);
}

void FormSQMain::Form_Resize() {
    StripView& frame = FrameVorn();
    StripText& lead = TextVorn(0);
    frame.SetTop(0);
    frame.SetLeft(0);
    frame.SetWidth(ScaleWidth());
    frame.SetHeight(ScaleHeight());
    lead.SetTop((frame.Height() - lead.Height()) / 2.0f);
    // A leading box waiting beyond a right edge that has moved in is brought
    // back to the edge; one in view is left alone.
    if (lead.Left() > frame.Width())
        lead.SetLeft(frame.Width());
    TextVorn(1).SetTop(lead.Top());
    frame.Present();
    // Raises the size change again, nested; that pass finds the height right.
    SetHeight(Height() - ScaleHeight() + lead.Height() + 20.0f);
}

void FormSQMain::Form_MouseDown(int16_t& Button, int16_t&, float&, float&) {
    if (m_listener)
        m_listener->MouseDown(Button);
}

void FormSQMain::Form_MouseMove(int16_t& Button, int16_t&, float&, float&) {
    if (m_listener)
        m_listener->MouseMove(Button);
}

void FormSQMain::Form_MouseUp(int16_t& Button, int16_t&, float&, float&) {
    if (m_listener)
        m_listener->MouseUp(Button);
}

void FormSQMain::FrameVorn_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseDown(Button, Shift, X, Y);
}

void FormSQMain::FrameVorn_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseMove(Button, Shift, X, Y);
}

void FormSQMain::FrameVorn_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseUp(Button, Shift, X, Y);
}

void FormSQMain::TextVorn_MouseDown(int16_t&, int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseDown(Button, Shift, X, Y);
}

void FormSQMain::TextVorn_MouseMove(int16_t&, int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseMove(Button, Shift, X, Y);
}

void FormSQMain::TextVorn_MouseUp(int16_t&, int16_t& Button, int16_t& Shift, float& X, float& Y) {
    Form_MouseUp(Button, Shift, X, Y);
}
