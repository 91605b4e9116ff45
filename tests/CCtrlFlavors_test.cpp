#include "util/CCtrlFlavors.h"

#include "ErrorOf.h"
#include "support/Overrides.h"

#include "toolkit/Desktop.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/TextBox.h"
#include "toolkit/Window.h"
#include "toolkit/WindowSystem.h"
#include "util/CRForm.h"

#include <QMetaObject>
#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <utility>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

class CCtrlFlavorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_shared<toolkit::Window>();
        m_record = std::make_shared<CRForm>();
        m_record->SetFormName(m_window);
        m_flavors.SetCRF(m_record);
    }
    void TearDown() override {
        m_record->SetObjectName(nullptr);
    }

    // Fixed desktop measures by index, in pixels.
    void Metric(int32_t index, int32_t value) { m_metrics[index] = value; }
    std::shared_ptr<toolkit::TextBox> AddTextBox() {
        auto box = std::make_shared<toolkit::TextBox>(*m_window);
        m_record->SetObjectName(box);
        return box;
    }
    void expectAt(float left, float top) const {
        EXPECT_FLOAT_EQ(m_window->Left(), left);
        EXPECT_FLOAT_EQ(m_window->Top(), top);
    }

    // 1024 x (19 + 710) pixels: 15360 x 10935 twips.
    std::map<int32_t, int32_t> m_metrics{{15, 19}, {16, 1024}, {17, 710}, {18, 0}};
    testsupport::ScopedSystemMetrics m_source{[this](int32_t index) {
        const auto it = m_metrics.find(index);
        return it == m_metrics.end() ? 0 : it->second;
    }};
    std::shared_ptr<toolkit::Window> m_window;
    std::shared_ptr<CRForm> m_record;
    CCtrlFlavors m_flavors;
};

TEST_F(CCtrlFlavorsTest, DesktopMeasuresAreCheckedPixelSumsTimesFifteen) {
    EXPECT_EQ(m_flavors.DeskTopWidth(), 15360);
    EXPECT_EQ(m_flavors.DeskTopHeight(), 10935);
    Metric(16, 1000); // the Kanji-window height counts into the width
    Metric(18, 24);
    EXPECT_EQ(m_flavors.DeskTopWidth(), 15360);
    Metric(16, 143165576); // the largest that fits
    Metric(18, 0);
    EXPECT_EQ(m_flavors.DeskTopWidth(), 2147483640);

    Metric(16, 143165577); // the product overflows
    EXPECT_EQ(errorOf([&] { m_flavors.DeskTopWidth(); }), 6);
    Metric(16, kMax); // the sum overflows
    Metric(18, 1);
    EXPECT_EQ(errorOf([&] { m_flavors.DeskTopWidth(); }), 6);
    Metric(15, kMin); // and below the range
    Metric(17, -1);
    EXPECT_EQ(errorOf([&] { m_flavors.DeskTopHeight(); }), 6);
}

TEST_F(CCtrlFlavorsTest, Form2DPositionPlacesCornersAndCentreUnroundedAndIgnoresOtherValues) {
    Metric(15, 20); // 10800 high
    Metric(17, 700);
    Metric(16, 134); // 2010 wide
    m_window->Move(12.5f, -7.25f, 1001, 4500);
    for (const int32_t value : {7, -2, 4, kMin, kMax}) {
        m_flavors.Form2DPosition(static_cast<enm2DPosType>(value));
        expectAt(12.5f, -7.25f);
    }
    m_flavors.Form2DPosition(pos2DBottomLeft);
    expectAt(0, 6300);
    m_flavors.Form2DPosition(pos2DCenter); // a half is kept
    expectAt(504.5f, 3150);
    m_flavors.Form2DPosition(pos2DTopRight);
    expectAt(1009, 0);
    m_flavors.Form2DPosition(pos2DBottomRight);
    expectAt(1009, 6300);
    m_flavors.Form2DPosition(pos2DTopLeft);
    expectAt(0, 0);
    EXPECT_FLOAT_EQ(m_window->Width(), 1001);
    EXPECT_FLOAT_EQ(m_window->Height(), 4500);
}

TEST_F(CCtrlFlavorsTest, Form2DPositionOfALargerWindowGoesNegativeAndTopGoesFirst) {
    m_window->Move(0, 0, 20000, 12000);
    m_flavors.Form2DPosition(pos2DCenter);
    expectAt(-2320, -532.5f);
    // The width cannot be measured: Top is already set, Left is not.
    Metric(16, kMax);
    for (const auto& [place, top] :
         {std::pair{pos2DCenter, 4967.5f}, std::pair{pos2DTopRight, 0.0f},
          std::pair{pos2DBottomRight, 9935.0f}}) {
        m_window->Move(5, 5, 3000, 1000);
        EXPECT_EQ(errorOf([&] { m_flavors.Form2DPosition(place); }), 6) << place;
        expectAt(5, top);
    }
}

TEST_F(CCtrlFlavorsTest, MissingRecordWindowOrWidgetRaisesObjectNotSet) {
    CCtrlFlavors bare;
    EXPECT_EQ(errorOf([&] { bare.Form2DPosition(pos2DTopLeft); }), 91);
    EXPECT_EQ(errorOf([&] { bare.Form3DPosition(pos3DTopMost); }), 91);
    bare.SetCRF(std::make_shared<CRForm>());
    EXPECT_EQ(errorOf([&] { bare.InsideDeskTop(); }), 91);
}

TEST_F(CCtrlFlavorsTest, InsideDeskTopPullsEachSideBackAndLeavesAWindowInsideAlone) {
    m_window->Move(100, -300, 3000, 1000);
    m_flavors.InsideDeskTop();
    expectAt(100, 0);
    m_window->SetTop(10935 - 1000 + 200); // bottom edge 200 below the desktop
    m_window->SetLeft(-0.5f);
    m_flavors.InsideDeskTop();
    expectAt(0, 9935);
    m_window->SetLeft(15360 - 3000 + 0.25f);
    m_flavors.InsideDeskTop();
    expectAt(12360, 9935);
    // On the far edges, or inside with fractions: nothing moves.
    m_flavors.InsideDeskTop();
    expectAt(12360, 9935);
    m_window->Move(0.25f, 17.75f, 3000, 1000);
    m_flavors.InsideDeskTop();
    expectAt(0.25f, 17.75f);
}

TEST_F(CCtrlFlavorsTest, InsideDeskTopKeepsALargerWindowOnTheFarEdgesAndSkipsOtherStates) {
    m_window->Move(5, 0, 16000, 12000);
    m_flavors.InsideDeskTop();
    expectAt(-640, -1065);
    m_flavors.InsideDeskTop(); // stays: it does not flip to 0 on a second call
    expectAt(-640, -1065);
    m_window->Move(-5000, -4000, 16000, 12000); // beyond the near edges too
    m_flavors.InsideDeskTop();
    expectAt(-640, -1065);

    for (const int16_t state : {toolkit::vbMinimized, toolkit::vbMaximized}) {
        m_window->SetWindowState(toolkit::vbNormal);
        m_window->Move(-300, 20000, 3000, 1000);
        m_window->SetWindowState(state);
        m_flavors.InsideDeskTop();
        expectAt(-300, 20000);
    }
}

TEST_F(CCtrlFlavorsTest, Form3DPositionSwitchesTopMostShowsTheWindowAndRefusesOthers) {
    const int32_t h = m_window->hwnd();
    EXPECT_NE(m_flavors.Form3DPosition(pos3DTopMost), 0);
    EXPECT_TRUE(m_window->Visible()); // shown by the stacking change
    EXPECT_TRUE(toolkit::IsTopMost(h));
    for (const int32_t value : {-3, 2, 0x10010, kMin})
        EXPECT_EQ(m_flavors.Form3DPosition(static_cast<enm3DPosType>(value)), 0) << value;
    // Only stacking changes: a call that would move or size is refused.
    EXPECT_EQ(toolkit::SetWindowPos(h, toolkit::HWND_NOTOPMOST, 0, 0, 0, 0, toolkit::SWP_NOSIZE),
              0);
    EXPECT_EQ(toolkit::SetWindowPos(h, toolkit::HWND_NOTOPMOST, 0, 0, 0, 0, 0x43 | 0x100), 0);
    EXPECT_EQ(toolkit::SetWindowPos(h + 1, toolkit::HWND_NOTOPMOST, 0, 0, 0, 0, 0x43), 0);
    EXPECT_TRUE(toolkit::IsTopMost(h));
    EXPECT_NE(m_flavors.Form3DPosition(pos3DNoTopMost), 0);
    EXPECT_FALSE(toolkit::IsTopMost(h));
    // An unloaded window has no place in the order and is not shown again.
    m_window->Unload();
    EXPECT_EQ(m_flavors.Form3DPosition(pos3DTopMost), 0);
    EXPECT_FALSE(m_window->Visible());
}

} // namespace
