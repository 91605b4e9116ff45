#pragma once

#include "marquee/FormSQMain.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// The marquee engine. It owns the strip window, keeps the text cut into
// segments of at most 200 characters, and scrolls them from right to left in
// a loop that yields to the event loop after every step. Every handler of the
// application can run inside those yields, including ones that call back here.
class CSQCtrl : public std::enable_shared_from_this<CSQCtrl> {
public:
    // Runs of the scroll loop nest at most this deep.
    static constexpr int kMaxRuns = 64;
    static constexpr int32_t kSegmentLength = 200;

    CSQCtrl();
    ~CSQCtrl();
    CSQCtrl(const CSQCtrl&) = delete;
    CSQCtrl& operator=(const CSQCtrl&) = delete;

    // The listener hears the strip's mouse presses, moves and releases, with
    // the button code passed through unchanged.
    void SetListener(CSQCtrlEvents* listener) { m_FSQM->SetListener(listener); }

    void SetSpeed(int16_t Value);
    int16_t Speed() const { return m_intSpeed; }
    void SetTiming(int16_t Value);
    int16_t Timing() const { return m_intTiming; }
    bool Fuel() const { return m_blnFuel; }
    std::shared_ptr<FormSQMain> Form() const { return m_FSQM; }

    void Refresh();
    void Show(toolkit::Window& OwnerForm);
    void Unload();
    // Loads a text (unless empty), then starts (returning only when every run
    // has ended) or stops the scroll; either way it starts from the beginning.
    void Scroll(bool Switch, const QString& Text);
    // A text (unless empty) to take over once the current one has passed the strip
    // completely, not in the middle; with no run going it takes over at once, without
    // starting one. A text loaded by Scroll meanwhile drops it.
    void Queue(const QString& Text);
    const QString& Queued() const { return m_strQueued; }
    // The text loaded last: its segments, one after the other.
    const QString& LoadedText() const { return m_strText; }

    // Observation for tests and benchmarks.
    int32_t SegmentCount() const { return m_lngSegmentCount; }
    int32_t SegmentIndex() const { return m_lngSegmentIndex; }
    QStringList Segments() const;
    int Runs() const { return m_intRuns; }

private:
    void RunScroll(bool Switch);
    void Step();
    void SplitText(const QString& text);
    QString Segment(int32_t index) const;
    void LoadSegments(int32_t index);
    void ResetPosition();
    void ShowText(bool visible);
    static void Idle(int32_t n);
    static void FitTextBox(toolkit::Window& window, StripText& box);

    std::shared_ptr<FormSQMain> m_FSQM = std::make_shared<FormSQMain>();
    int16_t m_intSpeed = 1;
    int16_t m_intTiming = 0;
    bool m_blnFuel = false;
    QString m_strText; // the segments, one after the other
    QString m_strQueued;
    int32_t m_lngSegmentCount = 0;
    int32_t m_lngSegmentIndex = 0;
    int m_intRuns = 0;
};
