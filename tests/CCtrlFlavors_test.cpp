#include "util/CCtrlFlavors.h"

#include "ErrorOf.h"
#include "support/Overrides.h"

#include "toolkit/Window.h"
#include "toolkit/WindowSystem.h"
#include "util/CRForm.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

class CCtrlFlavorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_record->SetFormName(m_window);
        m_flavors.SetCRF(m_record);
    }

    std::pair<float, float> at() const { return {m_window->Left(), m_window->Top()}; }

    // Desktop measures 15 to 18 in pixels: caption, width, height, Kanji window. The default
    // is 1024 x (19 + 710) pixels: 15360 x 10935 twips.
    std::array<int32_t, 4> m_metrics{19, 1024, 710, 0};
    testsupport::ScopedSystemMetrics m_source{[this](int32_t index) {
        return index >= 15 && index <= 18 ? m_metrics[index - 15] : 0;
    }};
    std::shared_ptr<toolkit::Window> m_window = std::make_shared<toolkit::Window>();
    std::shared_ptr<CRForm> m_record = std::make_shared<CRForm>();
    CCtrlFlavors m_flavors;
};

// Width is (width + Kanji window) x 15, height (caption + height) x 15, checked: an
// overflow anywhere raises 6. -1 stands for that error. A sum that wraps overflows the
// product too, so the sum's own check is Checked's.
TEST_F(CCtrlFlavorsTest, DesktopMeasuresAreCheckedPixelSumsTimesFifteen) {
    const struct {
        std::array<int32_t, 4> metrics;
        int32_t width, height;
    } cases[] = {
        {{19, 1024, 710, 0}, 15360, 10935},
        {{19, 1000, 710, 24}, 15360, 10935},
        {{19, 143165576, 710, 0}, 2147483640, 10935}, // the largest that fits
        {{19, 143165577, 710, 0}, -1, 10935},         // the product overflows
        {{19, 1024, -143165596, 0}, 15360, -1},       // and below the range
    };
    for (const auto& c : cases) {
        m_metrics = c.metrics;
        const auto measure = [](auto f) { int32_t v = -1; return errorOf([&] { v = f(); }) == 6 ? -1 : v; };
        EXPECT_EQ(measure([&] { return m_flavors.DeskTopWidth(); }), c.width) << c.metrics[1];
        EXPECT_EQ(measure([&] { return m_flavors.DeskTopHeight(); }), c.height) << c.metrics[0];
    }
}

TEST_F(CCtrlFlavorsTest, Form2DPositionPlacesCornersAndCentreUnroundedTopFirstAndIgnoresOtherValues) {
    m_metrics = {20, 134, 700, 0}; // 2010 x 10800
    m_window->Move(12.5f, -7.25f, 1001, 4500);
    // Values that are no place come first, while the window still stands where it was put.
    const struct {
        int32_t place;
        float left, top;
    } cases[] = {{-2, 12.5f, -7.25f},        {4, 12.5f, -7.25f},
                 {pos2DBottomLeft, 0, 6300}, {pos2DCenter, 504.5f, 3150},
                 {pos2DTopRight, 1009, 0},   {pos2DBottomRight, 1009, 6300},
                 {pos2DTopLeft, 0, 0}};
    for (const auto& c : cases) {
        m_flavors.Form2DPosition(static_cast<enm2DPosType>(c.place));
        EXPECT_EQ(at(), std::pair(c.left, c.top)) << c.place;
    }
    EXPECT_EQ(std::pair(m_window->Width(), m_window->Height()), std::pair(1001.0f, 4500.0f));

    // A window larger than the desktop goes negative; Top is set before Left.
    m_window->Move(0, 0, 20000, 12000);
    m_flavors.Form2DPosition(pos2DCenter);
    EXPECT_EQ(at(), std::pair(-8995.0f, -600.0f));
    // The width cannot be measured: Top is already set, Left is not.
    m_metrics[1] = kMax;
    EXPECT_EQ(errorOf([&] { m_flavors.Form2DPosition(pos2DBottomRight); }), 6);
    EXPECT_EQ(at(), std::pair(-8995.0f, -1200.0f));
}

// Each side sticking out is pulled back; a window inside, on the far edges or with fractions,
// stays; one larger than the desktop gets its far edges on the desktop's, and stays there. A
// minimized or maximized window stays wherever it is.
TEST_F(CCtrlFlavorsTest, InsideDeskTopPullsEachSideBackAndLeavesAWindowInsideAlone) {
    const struct {
        float left, top, width, height;
        float toLeft, toTop;
        int16_t state = toolkit::vbNormal;
    } cases[] = {
        {100, -300, 3000, 1000, 100, 0}, {-0.5f, 10935 - 1000 + 200, 3000, 1000, 0, 9935},
        {15360 - 3000 + 0.25f, 9935, 3000, 1000, 12360, 9935}, {12360, 9935, 3000, 1000, 12360, 9935},
        {0.25f, 17.75f, 3000, 1000, 0.25f, 17.75f}, {5, 0, 16000, 12000, -640, -1065},
        {-640, -1065, 16000, 12000, -640, -1065}, // it does not flip to 0 on a second call
        {-5000, -4000, 16000, 12000, -640, -1065},
        {-300, 20000, 3000, 1000, -300, 20000, toolkit::vbMinimized},
        {-300, 20000, 3000, 1000, -300, 20000, toolkit::vbMaximized},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.left << "," << c.top);
        m_window->Move(c.left, c.top, c.width, c.height);
        m_window->SetWindowState(c.state);
        m_flavors.InsideDeskTop();
        EXPECT_EQ(at(), std::pair(c.toLeft, c.toTop));
    }
}

TEST_F(CCtrlFlavorsTest, Form3DPositionSwitchesTopMostShowsTheWindowAndRefusesOthersAndNoWindowRaises91) {
    const int32_t h = m_window->hwnd();
    EXPECT_NE(m_flavors.Form3DPosition(pos3DTopMost), 0);
    EXPECT_TRUE(m_window->Visible()); // shown by the stacking change
    EXPECT_TRUE(toolkit::IsTopMost(h));
    for (const int32_t value : {-3, 2, 0x10010, kMin})
        EXPECT_EQ(m_flavors.Form3DPosition(static_cast<enm3DPosType>(value)), 0) << value;
    // Only stacking changes: a call that would move or size is refused.
    for (const auto& [handle, flags] : {std::pair{h, toolkit::SWP_NOSIZE}, {h, 0x43 | 0x100}, {h + 1, 0x43}})
        EXPECT_EQ(toolkit::SetWindowPos(handle, toolkit::HWND_NOTOPMOST, 0, 0, 0, 0, flags), 0) << flags;
    EXPECT_TRUE(toolkit::IsTopMost(h));
    // An unloaded window has no place in the order and is not shown again.
    m_window->Unload();
    EXPECT_EQ(m_flavors.Form3DPosition(pos3DTopMost), 0);
    EXPECT_FALSE(m_window->Visible());

    // A missing record or window raises "Object variable not set".
    CCtrlFlavors bare;
    EXPECT_EQ(std::pair(errorOf([&] { bare.Form2DPosition(pos2DTopLeft); }),
                        errorOf([&] { bare.Form3DPosition(pos3DTopMost); })),
              std::pair(91, 91));
    bare.SetCRF(std::make_shared<CRForm>());
    EXPECT_EQ(errorOf([&] { bare.InsideDeskTop(); }), 91);
}

} // namespace
