#pragma once

#include <memory>

namespace toolkit {
class Window;
} // namespace toolkit

// A record of the window for the window utilities to work on. It starts empty.
class CRForm {
public:
    std::shared_ptr<toolkit::Window> FormName() const { return m_FormName; }
    void SetFormName(std::shared_ptr<toolkit::Window> Value) { m_FormName = std::move(Value); }

private:
    std::shared_ptr<toolkit::Window> m_FormName;
};
