#pragma once

#include "marquee/StripView.h"
#include "toolkit/Window.h"

#include <cstdint>
#include <memory>

// What the strip tells its listener, through the scroll controller: a press,
// move or release anywhere on it, with the button code. A listener hears only
// what it overrides.
class CSQCtrlEvents {
public:
    virtual ~CSQCtrlEvents() = default;
    virtual void MouseDown(int16_t&) {}
    virtual void MouseMove(int16_t&) {}
    virtual void MouseUp(int16_t&) {}
};

// The strip on the desktop in which the text scrolls: a borderless, sizable
// tool window holding the frame FrameVorn, the one view that draws the two
// text boxes TextVorn. Its height always snaps to one line of text plus 20
// twips.
class FormSQMain : public toolkit::Window {
public:
    FormSQMain();

    StripView& FrameVorn() { return *m_FrameVorn; }
    StripText& TextVorn(int16_t Index);

    void SetListener(CSQCtrlEvents* listener) { m_listener = listener; }

    // Runs the layout.
    void Resize() { Form_Resize(); }

    // Handlers, public so that the mouse funnel can be driven directly.
    void Form_Resize();
    void Form_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void Form_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void Form_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void FrameVorn_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void FrameVorn_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void FrameVorn_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void TextVorn_MouseDown(int16_t& Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void TextVorn_MouseMove(int16_t& Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void TextVorn_MouseUp(int16_t& Index, int16_t& Button, int16_t& Shift, float& X, float& Y);

private:
    std::unique_ptr<StripView> m_FrameVorn;
    CSQCtrlEvents* m_listener = nullptr;
};
