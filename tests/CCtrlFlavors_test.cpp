#include "util/CCtrlFlavors.h"

#include "ErrorOf.h"
#include "support/Overrides.h"

#include "toolkit/Desktop.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/Frame.h"
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
    EXPECT_EQ(errorOf([&] { bare.Undo(); }), 91);
    bare.SetCRF(std::make_shared<CRForm>());
    EXPECT_EQ(errorOf([&] { bare.InsideDeskTop(); }), 91);
    EXPECT_EQ(errorOf([&] { m_flavors.MaxCtrlSize(0, 0, 0, 0); }), 91);
    EXPECT_EQ(errorOf([&] { m_flavors.TextBoxAutoSize(); }), 91);
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

TEST_F(CCtrlFlavorsTest, MaxCtrlSizeFillsTheInnerAreaAndOnlyNegativeSizesBecomeOne) {
    auto box = AddTextBox();
    m_window->SetClientSize(350, 1000);
    m_flavors.MaxCtrlSize(100, 100, 300, 300);
    EXPECT_FLOAT_EQ(box->Top(), 100);
    EXPECT_FLOAT_EQ(box->Left(), 100);
    EXPECT_FLOAT_EQ(box->Width(), 1); // 350 - 100 - 300 is negative
    EXPECT_FLOAT_EQ(box->Height(), 600);
    m_window->SetClientSize(400, 1000);
    m_flavors.MaxCtrlSize(100, 100, 300, 300);
    EXPECT_FLOAT_EQ(box->Width(), 0); // exactly 0 stays 0
    // No room left at all is 0 as well, before and after the margins.
    m_flavors.MaxCtrlSize(1000, 400, 0, 0);
    EXPECT_FLOAT_EQ(box->Width(), 0);
    EXPECT_FLOAT_EQ(box->Height(), 0);
    m_flavors.MaxCtrlSize(1000, 400, -5, -7);
    EXPECT_FLOAT_EQ(box->Width(), 5);
    EXPECT_FLOAT_EQ(box->Height(), 7);
    // A margin beyond the inner area gives 1 first; the size margin then
    // takes that 1 away.
    m_flavors.MaxCtrlSize(5000, 5000, 1, 1);
    EXPECT_FLOAT_EQ(box->Width(), 0);
    EXPECT_FLOAT_EQ(box->Height(), 0);
}

TEST_F(CCtrlFlavorsTest, MaxCtrlSizeRoundsHalvesToEvenAndRaisesOverflowUntouched) {
    auto box = AddTextBox();
    m_window->SetClientSize(350.5f, 1001.5f);
    m_flavors.MaxCtrlSize(0, 100, 0, 0);
    EXPECT_FLOAT_EQ(box->Width(), 250);   // 250.5
    EXPECT_FLOAT_EQ(box->Height(), 1002); // 1001.5
    m_flavors.MaxCtrlSize(-100, -51, -10, 0);
    EXPECT_FLOAT_EQ(box->Left(), -51);
    EXPECT_FLOAT_EQ(box->Width(), 412);   // 401.5 to even, then 10 more
    EXPECT_FLOAT_EQ(box->Height(), 1102); // 1101.5

    box->Move(1, 2, 3, 4);
    EXPECT_EQ(errorOf([&] { m_flavors.MaxCtrlSize(0, 0, kMin, 0); }), 6);
    EXPECT_EQ(errorOf([&] { m_flavors.MaxCtrlSize(0, 0, 0, kMin); }), 6);
    EXPECT_EQ(errorOf([&] { m_flavors.MaxCtrlSize(kMin, 0, 0, 0); }), 6);
    EXPECT_EQ(errorOf([&] { m_flavors.MaxCtrlSize(0, kMin, 0, 0); }), 6);
    EXPECT_FLOAT_EQ(box->Left(), 1);
    EXPECT_FLOAT_EQ(box->Top(), 2);
    EXPECT_FLOAT_EQ(box->Width(), 3);
    EXPECT_FLOAT_EQ(box->Height(), 4);
}

TEST_F(CCtrlFlavorsTest, TextBoxAutoSizeMeasuresInTheBoxFontAndRestoresTheWindowFont) {
    auto box = AddTextBox();
    toolkit::StdFont boxFont;
    boxFont.Name = QStringLiteral("DejaVu Sans");
    boxFont.Size = 21.5f;
    boxFont.Bold = true;
    boxFont.Italic = true;
    box->SetFont(boxFont);
    box->SetText(QStringLiteral("Marquee テキスト"));
    toolkit::StdFont windowFont = m_window->Font();
    windowFont.Name = QStringLiteral("DejaVu Serif");
    windowFont.Size = 8;
    windowFont.Underline = true;
    m_window->SetFont(windowFont);

    m_flavors.TextBoxAutoSize();
    // Measured in the box's font, and every one of the four attributes goes back.
    EXPECT_FLOAT_EQ(box->Width(), toolkit::MeasureTextWidth(boxFont, box->Text()));
    EXPECT_FLOAT_EQ(box->Height(), toolkit::MeasureTextHeight(boxFont, box->Text()));
    EXPECT_GT(box->Width(), m_window->TextWidth(box->Text()) * 2);
    EXPECT_EQ(m_window->Font(), windowFont);
}

TEST_F(CCtrlFlavorsTest, TextBoxAutoSizeRefusesOtherWidgetsAndKeepsTheFontOnFailure) {
    const toolkit::StdFont windowFont = m_window->Font();
    m_record->SetObjectName(std::make_shared<toolkit::Frame>(*m_window));
    EXPECT_EQ(errorOf([&] { m_flavors.TextBoxAutoSize(); }), 13);
    EXPECT_EQ(m_window->Font(), windowFont);

    // Too high for any widget: the height is refused after the width was
    // set, and the window still gets its own font back.
    auto box = AddTextBox();
    toolkit::StdFont huge;
    huge.Size = 2000;
    box->SetFont(huge);
    box->SetText(QString(40000, QLatin1Char('\n')));
    box->Move(0, 0, 10, 20);
    EXPECT_EQ(errorOf([&] { m_flavors.TextBoxAutoSize(); }), 380);
    EXPECT_EQ(m_window->Font(), windowFont);
    EXPECT_FLOAT_EQ(box->Width(), 0);
    EXPECT_FLOAT_EQ(box->Height(), 20);
}

TEST_F(CCtrlFlavorsTest, WaitYieldsCountTimesNoneForZeroOrLessAndSurvivesItsOwnDeletion) {
    const testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    int yields = 0;
    bool deleteOnYield = false;
    auto owned = std::make_unique<CCtrlFlavors>();
    const testsupport::ScopedYieldHook hook{[&] {
        ++yields;
        if (deleteOnYield)
            owned.reset();
    }};
    bool ran = false;
    toolkit::PostToDispatch([&] { ran = true; });
    for (const int32_t count : {0, -5, kMin})
        owned->Wait(count);
    EXPECT_EQ(yields, 0);
    EXPECT_FALSE(ran); // nothing was processed
    // A handler inside the yields deletes the object that waits.
    deleteOnYield = true;
    owned->Wait(3);
    EXPECT_EQ(yields, 3);
    EXPECT_TRUE(ran);
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

TEST_F(CCtrlFlavorsTest, UndoRevertsTheFocusedTextBoxAndKeepsTheSendHandle) {
    auto box = AddTextBox();
    int changes = 0;
    box->OnChange = [&] { ++changes; };
    m_window->Show();
    EXPECT_EQ(m_flavors.Undo(), 0); // no edit yet
    box->SetText(QStringLiteral("typed"));
    box->NativeWidget()->setFocus();
    QMetaObject::invokeMethod(box->NativeWidget(), "clear"); // undoable, as a user's edit
    toolkit::DoEvents();
    changes = 0;

    m_flavors.SetSendHandle(12345);
    EXPECT_NE(m_flavors.Undo(), 0);
    EXPECT_EQ(box->Text(), QStringLiteral("typed"));
    EXPECT_EQ(m_flavors.SendHandle(), m_window->hwnd());
    toolkit::DoEvents();
    EXPECT_EQ(changes, 1);          // the box heard of it once
    EXPECT_EQ(m_flavors.Undo(), 0); // nothing left to undo

    // A locked box is not changed.
    QMetaObject::invokeMethod(box->NativeWidget(), "clear");
    box->SetLocked(true);
    EXPECT_EQ(m_flavors.Undo(), 0);
    EXPECT_EQ(box->Text(), QString());
    // A hidden window cannot take the focus; the request went all the same.
    m_window->Hide();
    m_flavors.SetSendHandle(0);
    EXPECT_EQ(errorOf([&] { m_flavors.Undo(); }), 5);
    EXPECT_EQ(m_flavors.SendHandle(), m_window->hwnd());
}

TEST_F(CCtrlFlavorsTest, SendMsgAnswersZeroForUnknownWindowsAndMessages) {
    int32_t lParam = 77;
    EXPECT_EQ(m_flavors.SendMsg(toolkit::EM_UNDO, 0, lParam), 0); // handle 0
    m_flavors.SetSendHandle(m_window->hwnd());
    EXPECT_EQ(m_flavors.SendMsg(0x10, 0, lParam), 0);
    EXPECT_EQ(m_flavors.SendMsg(toolkit::WM_SYSCOMMAND, 0xF060, lParam), 0);
    EXPECT_EQ(lParam, 77);
    m_record->SetFormName(nullptr);
    m_window.reset(); // the handle now names no window
    EXPECT_EQ(m_flavors.SendMsg(toolkit::EM_UNDO, 0, lParam), 0);
}

TEST(CRFormTest, ClsRefFormTakesOnlyTheArgumentsThatAreSet) {
    auto window = std::make_shared<toolkit::Window>();
    auto other = std::make_shared<toolkit::Window>();
    std::shared_ptr<toolkit::Control> box = std::make_shared<toolkit::TextBox>(*window);
    std::shared_ptr<toolkit::Window> noWindow;
    std::shared_ptr<toolkit::Control> noControl;
    CRForm record;
    record.SetFormName(window);
    record.ClsRefForm(noWindow, box);
    EXPECT_EQ(record.FormName(), window);
    EXPECT_EQ(record.ObjectName(), box);
    record.ClsRefForm(noWindow, noControl);
    EXPECT_EQ(record.FormName(), window);
    EXPECT_EQ(record.ObjectName(), box);
    record.ClsRefForm(other, noControl);
    EXPECT_EQ(record.FormName(), other);
    EXPECT_EQ(record.ObjectName(), box);
    EXPECT_EQ(noWindow, nullptr); // the arguments are left as they were
    record.SetObjectName(nullptr);
}

} // namespace
