#include "ErrorOf.h"
#include "WindowFixture.h"
#include "support/ScriptedCommonDialog.h"
#include "TempFolder.h"
#include "toolkit/Colors.h"
#include "toolkit/CommandButton.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Events.h"
#include "toolkit/HScrollBar.h"
#include "toolkit/Label.h"
#include "toolkit/Menu.h"
#include "toolkit/Prompts.h"
#include "toolkit/TextBox.h"
#include "toolkit/WindowHandles.h"
#include "toolkit/WindowSystem.h"
#include "util/modMove.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>

#include <cmath>
#include <limits>
#include <tuple>

// The toolkit's controls, common dialogs and the window drag.

using namespace toolkit;

namespace {

class Widgets : public Unpaced {
protected:
    Widgets() { window->Show(); }
    std::shared_ptr<Window> window = std::make_shared<Window>();
};

} // namespace

// On the panel's short bars the hand must reach every value: a pixel of drag moves the value
// by four at most. With the keyboard's focus the bar shows a mark. Set by code the value
// changes and says so at once; moved by the user it says so from the event loop, and a thumb
// drag only at its end. Either way only a real change is told (set by code: the panel's typed
// speeds).
TEST_F(Widgets, scrollBarReachesEveryValueByHandShowsTheFocusAndNotifiesEachChangeOnce) {
    HScrollBar bar(*window);
    bar.Move(0, 0, 900, 300);
    bar.SetMax(100);
    auto* qt = static_cast<QScrollBar*>(bar.NativeWidget());
    const QPoint from(17, 9); // the thumb's centre at 0, where each drag starts
    int16_t previous = 0;
    for (int pixels = 1; pixels <= 6; ++pixels) {
        bar.SetValue(0);
        pressMoveRelease(qt, Qt::LeftButton, from, from + QPoint(pixels, 0));
        drain();
        EXPECT_GT(bar.Value(), previous) << pixels << " px";
        EXPECT_LE(bar.Value() - previous, 4) << pixels << " px";
        previous = bar.Value();
    }
    window->NativeWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->NativeWidget(), 2000));
    // The mark is drawn in the text colour: dark dots the bar has nowhere else.
    auto darkPixels = [qt] {
        return countPixels(qt->grab().toImage(), [](QColor c) { return c.lightness() < 60; });
    };
    qt->clearFocus();
    const int without = darkPixels();
    qt->setFocus();
    EXPECT_GE(darkPixels(), without + 10);

    std::vector<int16_t> seen;
    bar.OnChange = [&] { seen.push_back(bar.Value()); };
    bar.SetValue(37); // the drags above left it at 24 at most
    EXPECT_EQ(errorOf([&] { bar.SetValue(-1); }), 380);
    EXPECT_EQ(errorOf([&] { bar.SetMax(-1); }), 380);
    // A bound moved past the value drags the value along, and says so.
    bar.SetMax(20);

    qt->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(std::tuple(seen.size(), bar.Value()), std::tuple(2u, 19))
        << "not told inside the widget's handling";
    drain();
    qt->triggerAction(QAbstractSlider::SliderPageStepSub);
    drain();
    qt->setSliderDown(true);
    qt->setSliderPosition(5);
    qt->setSliderPosition(6);
    qt->setSliderDown(false);
    drain();
    EXPECT_EQ(seen, (std::vector<int16_t>{37, 20, 19, 18, 6}));
}

// A choice queued: the panel's loads; a disabled item: the panel's start.
TEST_F(Widgets, menuChoicesLeaveTheCheckMarkToTheHandler) {
    MenuItem file(*window, QStringLiteral("File(&F)"));
    MenuItem open(file, QStringLiteral("Open(&O)"));
    MenuItem line(file, QStringLiteral("-"));
    EXPECT_EQ(std::tuple(line.NativeAction()->isSeparator(), line.NativeAction()->text()),
              std::tuple(true, QString()));

    // Choosing a checked item leaves it checked until its handler says otherwise.
    open.SetChecked(true);
    open.OnClick = [&] { open.SetChecked(!open.Checked()); };
    open.NativeAction()->trigger();
    EXPECT_TRUE(open.NativeAction()->isChecked());
    drain();
    EXPECT_EQ(std::tuple(open.Checked(), open.NativeAction()->isChecked()), std::tuple(false, false));

    EXPECT_EQ(errorOf([&] { MenuItem nested(open, QStringLiteral("x")); }), 5);
    // The bar takes its height from the window, not from the inner area asked for.
    window->SetClientSize(3000, 2000);
    EXPECT_FLOAT_EQ(window->ScaleHeight(), 2000);
}

TEST_F(Widgets, buttonReportsDownUpThenClickWithTheButtonUsedAndLabelDropsAccessKeyMarks) {
    CommandButton button(*window);
    button.Move(0, 0, 600, 300);
    std::vector<std::pair<char, int16_t>> log;
    button.OnMouseDown = [&](int16_t& b, int16_t&, float&, float&) { log.emplace_back('d', b); };
    button.OnMouseUp = [&](int16_t& b, int16_t&, float&, float&) { log.emplace_back('u', b); };
    button.OnClick = [&] { log.emplace_back('c', 0); };
    QWidget* w = button.NativeWidget();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(5, 5));
    drain();
    EXPECT_EQ(log, (std::vector<std::pair<char, int16_t>>{{'d', 1}, {'u', 1}, {'c', 0}, {'d', 2}, {'u', 2}}));

    // A label shows its caption without access key marks.
    Label label(*window);
    label.SetCaption(QStringLiteral("&Save && go"));
    EXPECT_EQ(static_cast<QLabel*>(label.NativeWidget())->text(), QStringLiteral("Save & go"));
    // Too narrow for its text: Width stays as set (the text still shows whole).
    label.Move(0, 0, 15, 180);
    EXPECT_EQ(label.Width(), 15.0f);
}

TEST_F(Widgets, closeQuestionCanCancelAndOnlyOneIsOpenAtATimeAndTheRealBoxAnswersEnter) {
    std::vector<int16_t> log; // the modes asked with, and -1 for each unload
    window->OnUnload = [&] { log.push_back(-1); };
    int16_t answer = 1;
    window->OnQueryUnload = [&](int16_t& cancel, int16_t mode) {
        log.push_back(mode);
        // A second request while this question is open must not ask again.
        window->Unload();
        window->NativeWidget()->close();
        drain();
        cancel = answer;
    };
    window->Unload();
    EXPECT_TRUE(window->Loaded() && window->Visible()) << window->Loaded() << window->Visible();
    window->NativeWidget()->close();
    drain();
    answer = 0;
    window->Unload();
    EXPECT_FALSE(window->Loaded() || window->Visible()) << window->Loaded() << window->Visible();
    window->Show();
    window->UnloadWithoutQuery();
    EXPECT_EQ(log, (std::vector<int16_t>{vbFormCode, vbFormControlMenu, vbFormCode, -1, -1}));

    // The real message box shows the question; Enter answers its default button.
    const WhenModal modal([](QWidget& box) {
        EXPECT_EQ(static_cast<QMessageBox&>(box).text(), QStringLiteral("Quit ?"));
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(MsgBox(QStringLiteral("Quit ?"), vbYesNo + vbDefaultButton2), vbNo);
}

// ---- The common dialog ----------------------------------------------------------------------

namespace {

// An answer that is no value leaves what was set before the show; strike and underline are
// not offered, so they stay whatever the answer says. A cancel: the panel's dialogs.
TEST(CommonDialogTest, ABadAnswerKeepsWhatWasSetAndWhatIsNotOfferedStays) {
    testsupport::InstalledCommonDialogs script;
    CommonDialog dialog;
    dialog.SetFontSize(11.0f);
    dialog.SetFontStrikethru(true);
    script->AnswerFont(DialogFont(QStringLiteral("A"), NAN, true, false, false, true));
    dialog.ShowFont();
    EXPECT_EQ(DialogFont(dialog.FontName(), dialog.FontSize(), dialog.FontBold(),
                         dialog.FontItalic(), dialog.FontStrikethru(), dialog.FontUnderline()),
              DialogFont(QStringLiteral("A"), 11.0f, true, false, true, false));
    for (const float size : {0.0f, -3.0f, NAN})
        EXPECT_EQ(errorOf([&] { dialog.SetFontSize(size); }), 380) << size;
    EXPECT_EQ(dialog.FontSize(), 11.0f);

    dialog.SetColor(SystemColor(15));
    script->AnswerColor(-5); // a broken platform answer
    EXPECT_EQ(errorOf([&] { dialog.ShowColor(); }), 380);
    EXPECT_EQ(dialog.Color(), SystemColor(15));
}

// ---- Qt's real dialogs, driven as a user would ---------------------------------------------

// Runs `act` on the modal dialog of type D from the first turn of its loop: exec() shows it
// before running the loop.
template <typename D> void whenShown(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act] { act(*qobject_cast<D*>(QApplication::activeModalWidget())); });
}

TEST(QtCommonDialogTest, OpenAndColorProposeTheSetValueAndReturnTheChoiceButNotACancel) {
    const TempFolder tmp;
    const QString first = tmp.write("first.txt"), second = tmp.write("second.txt");
    CommonDialog dialog;
    dialog.SetFileName(first);
    dialog.SetColor(RGB(10, 20, 30));
    for (const bool accept : {true, false}) { // the second proposes what the first chose
        whenShown<QFileDialog>([&](QFileDialog& d) {
            EXPECT_EQ(d.selectedFiles(), QStringList(accept ? first : second));
            d.selectFile(accept ? QStringLiteral("second.txt") : QStringLiteral("first.txt"));
            if (accept)
                QMetaObject::invokeMethod(&d, "accept");
            else
                d.reject();
        });
        dialog.ShowOpen();
        whenShown<QColorDialog>([&](QColorDialog& d) {
            EXPECT_EQ(d.currentColor(), accept ? QColor(10, 20, 30) : QColor(200, 100, 50));
            d.setCurrentColor(accept ? QColor(200, 100, 50) : QColor(1, 1, 1));
            accept ? d.accept() : d.reject();
        });
        dialog.ShowColor();
        EXPECT_EQ(dialog.FileName(), second);
        EXPECT_EQ(dialog.Color(), RGB(200, 100, 50));
    }
}

TEST(QtCommonDialogTest,
     FontDialogHidesEffectsShowsASubstitutesSampleAndReturnsTheChoiceButNotACancel) {
    // An installed face that has a bold style, so that the dialog can select it.
    QString face;
    for (const QString& family : QFontDatabase::families()) {
        if (face.isEmpty() && QFontDatabase::styles(family).contains(QStringLiteral("Bold")))
            face = family;
    }
    ASSERT_FALSE(face.isEmpty()) << "no installed face has a bold style";
    CommonDialog dialog;
    dialog.SetFontName(face);
    dialog.SetFontSize(14.0f);
    dialog.SetFontUnderline(true);
    for (const bool accept : {true, false}) {
        whenShown<QFontDialog>([&](QFontDialog& d) {
            for (QCheckBox* box : d.findChildren<QCheckBox*>())
                EXPECT_FALSE(box->isVisible()) << box->text().toStdString();
            QFont f = d.currentFont();
            f.setStyleName(QString()); // the weight below, not the style offered, is the choice
            f.setPointSizeF(accept ? 20.0 : 30.0);
            f.setBold(true);
            d.setCurrentFont(f);
            accept ? d.accept() : d.reject();
        });
        dialog.ShowFont();
        EXPECT_EQ(std::tuple(dialog.FontName(), dialog.FontSize(), dialog.FontBold(),
                             dialog.FontUnderline()),
                  std::tuple(face, 20.0f, true, true))
            << "underline not offered, so kept; then cancelled";
    }
    // A face drawn by a substitute is in none of the dialog's lists; it still shows a sample.
    dialog.SetFontName(QStringLiteral("No Such Face Installed"));
    bool sampleShown = false;
    whenShown<QFontDialog>([&](QFontDialog& d) {
        for (QGroupBox* box : d.findChildren<QGroupBox*>()) {
            const QLineEdit* sample = box->findChild<QLineEdit*>();
            if (box->title() == QStringLiteral("Sample") && sample)
                sampleShown =
                    !sample->text().isEmpty() && sample->height() > sample->fontMetrics().height();
        }
        d.accept();
    });
    dialog.ShowFont();
    EXPECT_EQ(std::tuple(sampleShown, dialog.FontItalic(), dialog.FontName()),
              std::tuple(true, false, QStringLiteral("No Such Face Installed")));
}

} // namespace

// ---- The window drag --------------------------------------------------------------------------

// The button is held through the toolkit's seam, the cursor is moved by the
// offscreen platform and the release is sent to the window holding the
// mouse; the end-to-end suite drives the real mouse.

namespace {

TEST(modMoveTest, PackingPutsYHighAndXLowAsSigned16BitHalvesAndAYBeyondThemOverflows) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    // A negative x keeps only its low 16 bits; x loses bit 16, which y = 1 sets; a negative y
    // fills the high half.
    for (const auto& [x, y, packed] :
         {std::tuple(10, 20, 1310730), std::tuple(0, 0, 0), std::tuple(-1, 0, 0xFFFF),
          std::tuple(-10, 20, 20 * 65536 + 65526), std::tuple(70000, 1, 70000),
          std::tuple(-1, -1, -1), std::tuple(5, -2, -131072 + 5),
          std::tuple(0, 32767, 32767 * 65536), std::tuple(0, -32768, kMin),
          std::tuple(0xFFFF, -32768, -2147418113)})
        EXPECT_EQ(modMove::PackCursorPosition(x, y), packed) << x << "," << y;
    for (const int32_t y : {32768, -32769, std::numeric_limits<int32_t>::max(), kMin})
        EXPECT_EQ(errorOf([y] { modMove::PackCursorPosition(0, y); }), 6) << y;
}

class DragTest : public Widgets {
protected:
    DragTest() {
        window->Move(1500, 1500, 3000, 900);
        QCoreApplication::processEvents();
        QCursor::setPos(200, 150);
        // The left button as the move sees it.
        SetLeftButtonSource([this] { return m_blnDown; });
    }
    ~DragTest() override { SetLeftButtonSource({}); }

    bool m_blnDown = false;
};

TEST_F(DragTest, TheMoveIsRefusedAtOnceForOtherWindowsStatesAndCommands) {
    m_blnDown = true;
    int32_t packed = modMove::PackCursorPosition(200, 150);
    const int32_t h = window->hwnd();
    EXPECT_NO_THROW(modMove::DragWindow(0));
    // No window, another one, and every command but the move by the title bar.
    for (const auto& [handle, command] :
         {std::pair{0, 0xF012}, {h + 1, 0xF012}, {h, 0xF010}, {h, 0xF011}, {h, 0xF013},
          {h, 0xF020}, {h, 0x0012}})
        EXPECT_EQ(SendMessage(handle, WM_SYSCOMMAND, command, &packed), 0)
            << handle << " " << command;
    for (const int16_t state : {vbMinimized, vbMaximized}) {
        window->SetWindowState(state);
        EXPECT_EQ(SendMessage(h, WM_SYSCOMMAND, 0xF012, &packed), 0) << state;
    }
    window->SetWindowState(vbNormal);
    window->Hide();
    EXPECT_EQ(SendMessage(h, WM_SYSCOMMAND, 0xF012, &packed), 0);
    EXPECT_EQ(std::pair(window->Left(), window->Top()), std::pair(1500.0f, 1500.0f));
}

// Following the real mouse from the packed position until the release, and a second drag
// refused inside it: the e2e strip suite.
TEST_F(DragTest, TheDragTakesTheMouseAndAWindowHiddenOrDestroyedDuringItEndsIt) {
    TextBox box(*window);
    for (const bool down : {false, true}) { // a move refused at once, then a real one
        m_blnDown = down;
        box.NativeWidget()->grabMouse();
        QWidget* during = box.NativeWidget();
        PostToDispatch([&] {
            during = QWidget::mouseGrabber();
            // The button comes up where the cursor is, on the window it was pressed on.
            m_blnDown = false;
            QWidget* target = window->NativeWidget();
            sendMouse(target, QEvent::MouseButtonRelease, target->mapFromGlobal(QCursor::pos()),
                      Qt::LeftButton, Qt::NoButton);
        });
        modMove::DragWindow(window->hwnd());
        QCoreApplication::processEvents();
        EXPECT_NE(during, box.NativeWidget()) << down;
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << down;
    }

    // A window hidden or destroyed during the drag ends it.
    m_blnDown = true;
    PostToDispatch([&] { window->Unload(); });
    modMove::DragWindow(window->hwnd()); // the button is still held
    EXPECT_EQ(std::tuple(window->Visible(), window->Left(), window->Top()),
              std::tuple(false, 1500.0f, 1500.0f));

    auto owned = std::make_unique<Window>();
    owned->Show();
    QCoreApplication::processEvents();
    const int32_t h = owned->hwnd();
    PostToDispatch([&] { owned.reset(); });
    modMove::DragWindow(h);
    EXPECT_EQ(WindowFromHandle(h), nullptr);
}

} // namespace
