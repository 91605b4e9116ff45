#pragma once

#include <memory>

namespace toolkit {
class Control;
class Window;
} // namespace toolkit

// A record of a window and a widget on it, for the window utilities to work
// on. Both references start empty.
class CRForm {
public:
    std::shared_ptr<toolkit::Window> FormName() const { return m_FormName; }
    void SetFormName(std::shared_ptr<toolkit::Window> Value) { m_FormName = std::move(Value); }
    std::shared_ptr<toolkit::Control> ObjectName() const { return m_ObjectName; }
    void SetObjectName(std::shared_ptr<toolkit::Control> Value) { m_ObjectName = std::move(Value); }

private:
    std::shared_ptr<toolkit::Window> m_FormName;
    std::shared_ptr<toolkit::Control> m_ObjectName;
};
