#include "util/modMove.h"

#include "ErrorOf.h"

#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/TextBox.h"
#include "toolkit/Window.h"
#include "toolkit/WindowSystem.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <tuple>

// The button is held through the toolkit's seam, the cursor is moved by the
// offscreen platform and the release is sent to the window holding the
// mouse; the end-to-end suite drives the real mouse.

namespace {

TEST(modMoveTest, PackingPutsYHighAndXLowAsSigned16BitHalvesAndAYBeyondThemOverflows) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    // A negative x keeps only its low 16 bits; x loses bit 16, which y = 1 sets; a negative y
    // fills the high half.
    for (const auto& [x, y, packed] : {std::tuple(10, 20, 1310730), std::tuple(0, 0, 0), std::tuple(-1, 0, 0xFFFF),
                                       std::tuple(-10, 20, 20 * 65536 + 65526), std::tuple(70000, 1, 70000),
                                       std::tuple(-1, -1, -1), std::tuple(5, -2, -131072 + 5),
                                       std::tuple(0, 32767, 32767 * 65536), std::tuple(0, -32768, kMin),
                                       std::tuple(0xFFFF, -32768, -2147418113)})
        EXPECT_EQ(modMove::PackCursorPosition(x, y), packed) << x << "," << y;
    for (const int32_t y : {32768, -32769, std::numeric_limits<int32_t>::max(), kMin})
        EXPECT_EQ(errorOf([y] { modMove::PackCursorPosition(0, y); }), 6) << y;
}

class DragTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_shared<toolkit::Window>();
        m_window->Move(1500, 1500, 3000, 900);
        m_window->Show();
        QCoreApplication::processEvents();
        toolkit::SetCursorPos(200, 150);
    }
    void TearDown() override { toolkit::SetLeftButtonSource({}); }

    // The left button as the move sees it.
    void Hold(bool down) {
        toolkit::SetLeftButtonSource([this] { return m_blnDown; });
        m_blnDown = down;
    }
    // The left button comes up where the cursor is, as the mouse grab
    // delivers it.
    void Release() {
        m_blnDown = false;
        QWidget* target = QWidget::mouseGrabber();
        if (!target)
            return;
        const QPointF global = QCursor::pos();
        QMouseEvent up(QEvent::MouseButtonRelease, target->mapFromGlobal(global), global,
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &up);
    }
    void expectUnmoved() const {
        EXPECT_FLOAT_EQ(m_window->Left(), 1500);
        EXPECT_FLOAT_EQ(m_window->Top(), 1500);
    }

    std::shared_ptr<toolkit::Window> m_window;
    bool m_blnDown = false;
};

// Following the real mouse until the release: the e2e strip suite.
TEST_F(DragTest, TheMoveStartsFromThePackedPositionAndASecondOneInsideItIsRefused) {
    Hold(true);
    // Pressed 10 px left of and 20 px above where the cursor now is.
    int32_t packed = modMove::PackCursorPosition(190, 130);
    bool nestedRefused = false;
    toolkit::PostToDispatch([&] {
        int32_t again = packed;
        nestedRefused = toolkit::SendMessage(m_window->hwnd(), toolkit::WM_SYSCOMMAND, 0xF012, &again) == 0;
        Release();
    });
    EXPECT_EQ(toolkit::SendMessage(m_window->hwnd(), toolkit::WM_SYSCOMMAND, 0xF012, &packed), 1);
    EXPECT_TRUE(nestedRefused);
    EXPECT_FLOAT_EQ(m_window->Left(), 1500 + 10 * 15);
    EXPECT_FLOAT_EQ(m_window->Top(), 1500 + 20 * 15);
    EXPECT_EQ(packed, modMove::PackCursorPosition(190, 130)); // read, never written
}

TEST_F(DragTest, AWindowHiddenOrDestroyedDuringTheDragEndsIt) {
    Hold(true);
    toolkit::PostToDispatch([&] { m_window->Unload(); });
    modMove::DragWindow(m_window->hwnd()); // the button is still held
    EXPECT_FALSE(m_window->Visible());
    expectUnmoved();

    auto owned = std::make_unique<toolkit::Window>();
    owned->Show();
    QCoreApplication::processEvents();
    const int32_t h = owned->hwnd();
    toolkit::PostToDispatch([&] { owned.reset(); });
    modMove::DragWindow(h);
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(toolkit::Window::FromHandle(h), nullptr);
}

TEST_F(DragTest, DragWithTheCursorBeyondSixteenBitsRaisesOverflowBeforeSending) {
    Hold(true);
    toolkit::SetCursorPos(5, 40000);
    int32_t x = 0;
    int32_t y = 0;
    toolkit::GetCursorPos(x, y);
    if (y != 40000)
        GTEST_SKIP() << "the platform keeps the cursor on the screen";
    EXPECT_EQ(errorOf([&] { modMove::DragWindow(m_window->hwnd()); }), 6);
    expectUnmoved();
}

TEST_F(DragTest, TheMoveIsRefusedAtOnceForOtherWindowsStatesCommandsOrAnUpButton) {
    Hold(true);
    int32_t packed = modMove::PackCursorPosition(200, 150);
    const int32_t h = m_window->hwnd();
    const auto move = [&](int32_t handle, int32_t command) {
        return toolkit::SendMessage(handle, toolkit::WM_SYSCOMMAND, command, &packed);
    };
    EXPECT_EQ(move(0, 0xF012), 0);
    EXPECT_EQ(move(h + 1, 0xF012), 0);
    EXPECT_NO_THROW(modMove::DragWindow(0));
    // Only the move by the title bar is a command the window takes.
    for (const int32_t command : {0xF010, 0xF011, 0xF013, 0xF020, 0x0012})
        EXPECT_EQ(move(h, command), 0) << command;
    for (const int16_t state : {toolkit::vbMinimized, toolkit::vbMaximized}) {
        m_window->SetWindowState(state);
        EXPECT_EQ(move(h, 0xF012), 0) << state;
    }
    m_window->SetWindowState(toolkit::vbNormal);
    m_window->Hide();
    EXPECT_EQ(move(h, 0xF012), 0);
    m_window->Show();
    QCoreApplication::processEvents();
    // The button came up before the move could start: no event loop runs.
    m_blnDown = false;
    bool ran = false;
    toolkit::PostToDispatch([&] { ran = true; });
    modMove::DragWindow(h);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    m_window->Unload();
    m_blnDown = true;
    EXPECT_EQ(move(h, 0xF012), 0);
    expectUnmoved();
}

TEST_F(DragTest, TheDragTakesTheMouseFromTheWidgetThatHoldsIt) {
    toolkit::TextBox box(*m_window);
    for (const bool down : {false, true}) { // a move refused at once, then a real one
        Hold(down);
        box.NativeWidget()->grabMouse();
        ASSERT_EQ(QWidget::mouseGrabber(), box.NativeWidget());
        QWidget* during = box.NativeWidget();
        toolkit::PostToDispatch([&] {
            during = QWidget::mouseGrabber();
            Release();
        });
        modMove::DragWindow(m_window->hwnd());
        QCoreApplication::processEvents();
        EXPECT_NE(during, box.NativeWidget()) << down;
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << down;
    }
}

} // namespace
