#pragma once

#include "toolkit/Frame.h"
#include "toolkit/TextBox.h"
#include "toolkit/Window.h"

#include <array>
#include <cstdint>
#include <memory>

// What the strip tells its listener: a press, move or release anywhere on it.
class FormSQMainEvents {
public:
    virtual ~FormSQMainEvents() = default;
    virtual void MouseDown(int16_t& Button) = 0;
    virtual void MouseMove(int16_t& Button) = 0;
    virtual void MouseUp(int16_t& Button) = 0;
};

// The strip on the desktop in which the text scrolls: a borderless, sizable
// tool window holding the frame FrameVorn and the two text boxes TextVorn.
// Its height always snaps to one line of text plus 20 twips.
class FormSQMain : public toolkit::Window {
public:
    FormSQMain();
    ~FormSQMain() override;

    toolkit::Frame& FrameVorn() { return *m_FrameVorn; }
    toolkit::TextBox& TextVorn(int16_t Index);

    void SetListener(FormSQMainEvents* listener) { m_listener = listener; }

    // Runs the layout.
    void Resize();

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
    void createWidgets();
    void connectHandlers();

    std::unique_ptr<toolkit::Frame> m_FrameVorn;
    std::array<std::unique_ptr<toolkit::TextBox>, 2> m_TextVorn;
    FormSQMainEvents* m_listener = nullptr;
};
