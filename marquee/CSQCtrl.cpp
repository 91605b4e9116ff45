#include "marquee/CSQCtrl.h"

#include "toolkit/Checked.h"
#include "toolkit/Events.h"

#include <QScopedValueRollback>

#include <utility>

CSQCtrl::CSQCtrl() {
    m_FSQM->TextVorn(0).SetText(QString());
    m_FSQM->TextVorn(1).SetText(QString());
    // Speed 1, Timing 0, no segments and no fuel, as the members start.
    Scroll(false, QString());
}

CSQCtrl::~CSQCtrl() {
    // A window still held elsewhere must not call back into a listener that
    // may have gone with the controller.
    m_FSQM->SetListener(nullptr);
}

void CSQCtrl::SetSpeed(int16_t Value) { m_intSpeed = toolkit::Abs16(Value); }

void CSQCtrl::SetTiming(int16_t Value) { m_intTiming = toolkit::Abs16(Value); }

void CSQCtrl::Refresh() {
    FormSQMain& form = *m_FSQM;
    auto take = [&form](toolkit::Control& c) {
        c.SetBackColor(form.BackColor());
        c.SetFont(form.Font());
        c.SetForeColor(form.ForeColor());
    };
    take(form.FrameVorn());
    take(form.TextVorn(0));
    take(form.TextVorn(1));
    FitTextBox(form, form.TextVorn(0));
    FitTextBox(form, form.TextVorn(1));
    form.Resize();
}

void CSQCtrl::Show(toolkit::Window& OwnerForm) {
    m_FSQM->Show(toolkit::vbModeless, &OwnerForm);
    Refresh();
}

void CSQCtrl::Unload() {
    Scroll(false, QString());
    m_FSQM->Unload();
}

void CSQCtrl::Scroll(bool Switch, const QString& Text) {
    if (!Text.isEmpty()) {
        m_strQueued.clear();
        SplitText(Text);
    }
    ShowText(Switch);
    RunScroll(Switch);
}

void CSQCtrl::Queue(const QString& Text) {
    if (Text.isEmpty())
        return;
    if (m_intRuns > 0 && m_blnFuel) {
        m_strQueued = Text;
        return;
    }
    m_strQueued.clear();
    SplitText(Text);
}

void CSQCtrl::RunScroll(bool Switch) {
    // Keep the controller and its window alive while a run sits in a yield,
    // whatever the handlers inside it release.
    const auto self = weak_from_this().lock();
    const auto form = m_FSQM;

    m_lngSegmentIndex = 0;
    ResetPosition();
    LoadSegments(m_lngSegmentIndex);
    m_blnFuel = Switch;
    // At the nesting bound a start only resets the scroll; the innermost
    // run carries on from there.
    if (m_intRuns >= kMaxRuns)
        return;
    const QScopedValueRollback count(m_intRuns, m_intRuns + 1);
    while (m_blnFuel)
        Step();
}

void CSQCtrl::Step() {
    StripText& lead = m_FSQM->TextVorn(0);
    StripText& trail = m_FSQM->TextVorn(1);

    lead.SetLeft(lead.Left() - static_cast<float>(m_intSpeed));
    float W = lead.Width();
    trail.SetLeft(W + lead.Left());
    W = lead.Width();
    const float L = lead.Left();
    if (-W > L) {
        m_lngSegmentIndex = toolkit::Add32(m_lngSegmentIndex, 1);
        if (m_lngSegmentIndex > m_lngSegmentCount - 1) {
            m_lngSegmentIndex = 0;
            if (!m_strQueued.isEmpty())
                SplitText(std::exchange(m_strQueued, QString()));
            ResetPosition();
        } else {
            lead.SetLeft(0);
        }
        LoadSegments(m_lngSegmentIndex);
    }
    // The step reaches the screen as one picture, once both boxes have moved.
    m_FSQM->FrameVorn().Present();
    Idle(m_intTiming);
    toolkit::DoEvents();
}

// The text is kept whole and each segment cut from it when it comes on, so a load costs the
// same however long the text is; the segments are those a cut of the whole text would give.
void CSQCtrl::SplitText(const QString& text) {
    const qsizetype count = (text.size() + kSegmentLength - 1) / kSegmentLength;
    m_lngSegmentCount = toolkit::ToInt32(count);
    m_strText = text;
}

QString CSQCtrl::Segment(int32_t index) const {
    return m_strText.mid(static_cast<qsizetype>(index) * kSegmentLength, kSegmentLength);
}

QStringList CSQCtrl::Segments() const {
    QStringList segments;
    for (int32_t i = 0; i < m_lngSegmentCount; ++i)
        segments.append(Segment(i));
    return segments;
}

void CSQCtrl::LoadSegments(int32_t index) {
    if (m_lngSegmentCount == 0)
        return;
    StripText& lead = m_FSQM->TextVorn(0);
    StripText& trail = m_FSQM->TextVorn(1);
    lead.SetText(Segment(index));
    trail.SetText(index == m_lngSegmentCount - 1 ? QString() : Segment(index + 1));
    FitTextBox(*m_FSQM, lead);
    FitTextBox(*m_FSQM, trail);
}

void CSQCtrl::ResetPosition() {
    StripText& lead = m_FSQM->TextVorn(0);
    lead.SetLeft(m_FSQM->FrameVorn().Width());
    m_FSQM->TextVorn(1).SetLeft(lead.Left());
}

void CSQCtrl::ShowText(bool visible) {
    m_FSQM->TextVorn(0).SetVisible(visible);
    m_FSQM->TextVorn(1).SetVisible(visible);
}

void CSQCtrl::Idle(int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        toolkit::DoEvents();
}

void CSQCtrl::FitTextBox(toolkit::Window& window, StripText& box) {
    const toolkit::StdFont own = window.Font();
    window.SetFontBold(box.FontBold());
    window.SetFontItalic(box.FontItalic());
    window.SetFontName(box.FontName());
    window.SetFontSize(box.FontSize());
    box.SetWidth(window.TextWidth(box.Text()));
    box.SetHeight(window.TextHeight(box.Text()));
    window.SetFont(own);
}
