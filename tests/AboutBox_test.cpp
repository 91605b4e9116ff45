#include "about/CAboutBox.h"
#include "about/FormAboutBox.h"
#include "support/ScriptedShell.h"
#include "toolkit/App.h"
#include "toolkit/Colors.h"
#include "toolkit/Picture.h"
#include "toolkit/Shell.h"
#include "toolkit/StdFont.h"
#include "toolkit/Window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

using toolkit::RGB;

namespace {

// A 16 x 16 icon in two colours: red above, blue below, so that a stretched
// copy can be told from a tiled or unscaled one.
const char* const kOwnerIcon[] = {
    "16 16 2 1",        ". c #FF0000",      "# c #0000FF",      "................",
    "................", "................", "................", "................",
    "................", "................", "................", "################",
    "################", "################", "################", "################",
    "################", "################", "################",
};

QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        toolkit::RegisterFontSubstitutions();
        owner = std::make_shared<toolkit::Window>();
        owner->SetIcon(kOwnerIcon);
        owner->Show();
        (void)QTest::qWaitFor([] { return !toolkit::Window::MapsPending(); }, 2000);
    }
    void TearDown() override {
        owner->UnloadWithoutQuery();
        EXPECT_TRUE(reported.empty()) << reported.front().toStdString();
    }

    // Shows the wrapper's dialog modally over the owner and runs `whileOpen`
    // once it is up. A dialog still open after 10 s is closed and fails.
    void showAndThen(CAboutBox& box, std::function<void(FormAboutBox&)> whileOpen) {
        bool ran = false;
        bool timedOut = false;
        // Once the dialog is mapped, which the show queues.
        QTimer::singleShot(0, [&] {
            FormAboutBox& dialog = *box.Dialog();
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.NativeWidget()->isVisible(); }, 2000));
            ran = true;
            whileOpen(dialog);
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [&] {
            timedOut = true;
            box.Dialog()->UnloadWithoutQuery();
        });
        safety.start(10000);
        box.Show(*owner);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(timedOut) << "the dialog did not close";
    }

    static QPlainTextEdit* edit(FormAboutBox& dialog) {
        return qobject_cast<QPlainTextEdit*>(dialog.TextReport().NativeWidget());
    }

    std::vector<QString> reported;
    testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    testsupport::ScopedErrorReporter reporter{[this](const QString& t) { reported.push_back(t); }};
    testsupport::InstalledShell shell;
    std::shared_ptr<toolkit::Window> owner;
};

} // namespace

TEST_F(AboutBox, freshWrapperHasTheDesignedReportAndLabelsNoAddressAndWebDisabled) {
    CAboutBox box;
    EXPECT_EQ(box.Dialog(), nullptr);
    EXPECT_EQ(box.Report(), QStringLiteral("Report\r\n"));
    ASSERT_NE(box.Dialog(), nullptr);
    FormAboutBox& dialog = *box.Dialog();
    EXPECT_EQ(box.URL(), QString());
    EXPECT_FALSE(dialog.btnWeb().Enabled());
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.LabelTitle().Caption(), QStringLiteral("vorn2"));
    EXPECT_EQ(dialog.LabelVersion().Caption(), QStringLiteral("Version 1.0.(17)"));
    EXPECT_EQ(dialog.LabelCopyright().Caption(), toolkit::AppLegalCopyright());
    EXPECT_FALSE(toolkit::AppLegalCopyright().isEmpty());
    EXPECT_NE(dialog.LabelCopyright().Caption(), QStringLiteral("Copyright"));
    // Loading again (a second creation would) does not touch a report set since.
    const QString report = QStringLiteral("This Software Distributed By \r\n\r\nKestrix");
    box.SetReport(report);
    dialog.Form_Load();
    EXPECT_EQ(box.Report(), report);
}

TEST_F(AboutBox, anyAddressEnablesWebAndAFailedOpenIsSilent) {
    CAboutBox box;
    box.SetURL(QString());
    FormAboutBox& dialog = *box.Dialog();
    EXPECT_TRUE(dialog.btnWeb().Enabled());
    EXPECT_TRUE(static_cast<QPushButton*>(dialog.btnWeb().NativeWidget())->isEnabled());
    EXPECT_EQ(box.URL(), QString());

    // The desktop cannot open an empty target; nothing tells the user.
    shell->result = toolkit::SE_ERR_FNF;
    dialog.Show();
    dialog.btnWeb_Click();
    ASSERT_EQ(shell->requests.size(), 1u);
    const auto& r = shell->requests[0];
    EXPECT_EQ(r.hwnd, toolkit::GetDesktopWindow());
    EXPECT_EQ(toolkit::Window::FromHandle(r.hwnd), nullptr);
    EXPECT_EQ(r.verb, QStringLiteral("open"));
    EXPECT_EQ(r.file, QString());
    EXPECT_EQ(r.parameters, QString());
    EXPECT_EQ(r.directory, QString());
    EXPECT_EQ(r.showCmd, toolkit::SW_SHOWNORMAL);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_TRUE(dialog.Loaded());

    box.SetURL(QStringLiteral("https://vorn2.example.org/"));
    dialog.btnWeb_Click();
    ASSERT_EQ(shell->requests.size(), 2u);
    EXPECT_EQ(shell->requests[1].file, QStringLiteral("https://vorn2.example.org/"));
    dialog.UnloadWithoutQuery();
}

TEST_F(AboutBox, reportLinesFollowEachKindOfLineBreakAndTheTextComesBackAsSet) {
    CAboutBox box;
    box.SetReport(QStringLiteral("This Software Distributed By \r\n\r\nKestrix"));
    QPlainTextEdit* e = edit(*box.Dialog());
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->document()->blockCount(), 3);
    EXPECT_EQ(e->document()->findBlockByNumber(0).text(),
              QStringLiteral("This Software Distributed By "));
    EXPECT_EQ(e->document()->findBlockByNumber(1).text(), QString());
    EXPECT_EQ(e->document()->findBlockByNumber(2).text(), QStringLiteral("Kestrix"));

    // The fresh report is one line and an empty one after its CR LF.
    CAboutBox fresh;
    fresh.Report();
    EXPECT_EQ(edit(*fresh.Dialog())->document()->blockCount(), 2);

    const QString mixed = QStringLiteral("a\nb\rc\r\n");
    box.SetReport(mixed);
    EXPECT_EQ(box.Report(), mixed);
    EXPECT_EQ(e->document()->blockCount(), 4);
}

TEST_F(AboutBox, reportBoxIsReadOnlyWithAScrollBarThatIsAlwaysThere) {
    CAboutBox box;
    box.SetReport(QStringLiteral("short"));
    FormAboutBox& dialog = *box.Dialog();
    dialog.Show();
    QCoreApplication::processEvents();
    QPlainTextEdit* e = edit(dialog);
    EXPECT_TRUE(e->isReadOnly());
    EXPECT_EQ(e->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(e->verticalScrollBar()->isVisible());

    // A long text scrolls, from its top.
    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QStringLiteral("line %1\r\n").arg(i);
    box.SetReport(longText);
    QCoreApplication::processEvents();
    EXPECT_GT(e->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(e->verticalScrollBar()->value(), 0);
    dialog.UnloadWithoutQuery();
}

TEST_F(AboutBox, widgetsStandAtTheirPlacesInTheirColoursAndFonts) {
    CAboutBox box;
    box.Report();
    FormAboutBox& d = *box.Dialog();
    EXPECT_EQ(d.Caption(), QStringLiteral("About..."));
    EXPECT_FLOAT_EQ(d.ScaleWidth(), 4905.0f);
    EXPECT_FLOAT_EQ(d.ScaleHeight(), 2625.0f);
    EXPECT_EQ(d.BackColor(), RGB(255, 255, 255));
    EXPECT_EQ(d.ForeColor(), RGB(0, 0, 0));
    EXPECT_EQ(d.StartUpPosition(), toolkit::vbStartUpScreen);

    struct Place {
        toolkit::Control* control;
        float left, top, width, height;
    };
    const std::vector<Place> places = {
        {&d.TextReport(), 1000, 900, 3800, 1300},
        {&d.btnWeb(), 50, 1700, 900, 400},
        {&d.btnOK(), 50, 2150, 900, 400},
        {&d.LabelTitle(), 1000, 50, 3800, 400},
        {&d.LabelCopyright(), 1000, 2250, 3800, 300},
        {&d.ImageIcon(), 100, 100, 800, 800},
        {&d.LabelVersion(), 1000, 500, 3800, 300},
    };
    for (const Place& p : places) {
        EXPECT_FLOAT_EQ(p.control->Left(), p.left);
        EXPECT_FLOAT_EQ(p.control->Top(), p.top);
        EXPECT_FLOAT_EQ(p.control->Width(), p.width);
        EXPECT_FLOAT_EQ(p.control->Height(), p.height);
    }
    // 15 twips a pixel: the icon box is 7,7 53 x 53, the report box 67,60 253 x 87.
    EXPECT_EQ(d.ImageIcon().NativeWidget()->geometry(), QRect(7, 7, 53, 53));
    EXPECT_EQ(d.TextReport().NativeWidget()->geometry(), QRect(67, 60, 253, 87));
    EXPECT_EQ(d.btnOK().Caption(), QStringLiteral("OK"));
    EXPECT_EQ(d.btnWeb().Caption(), QStringLiteral("Web"));

    for (toolkit::Label* l : {&d.LabelTitle(), &d.LabelCopyright(), &d.LabelVersion()}) {
        EXPECT_EQ(l->BackColor(), RGB(255, 255, 255));
        EXPECT_EQ(l->ForeColor(), RGB(0, 0, 0));
        EXPECT_EQ(l->FontName(), QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_TRUE(l->FontBold());
        EXPECT_EQ(l->Font().Charset, toolkit::kCharsetShiftJis);
    }
    EXPECT_FLOAT_EQ(d.LabelTitle().FontSize(), 20.25f);
    EXPECT_FLOAT_EQ(d.LabelCopyright().FontSize(), 9.0f);
    EXPECT_FLOAT_EQ(d.LabelVersion().FontSize(), 9.0f);
    EXPECT_EQ(d.LabelVersion().Alignment(), toolkit::vbRightJustify);
    EXPECT_EQ(d.TextReport().BackColor(), RGB(255, 255, 255));
    EXPECT_EQ(d.TextReport().ForeColor(), RGB(0, 0, 0));
    EXPECT_TRUE(d.ImageIcon().Stretch());
    EXPECT_TRUE(d.ImageIcon().Picture().Empty());

    // The missing face is drawn with the installed Japanese one.
    if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        const QFontInfo info(d.LabelTitle().NativeWidget()->font());
        EXPECT_EQ(info.family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(info.bold());
    }
}

// Modality, owner, frame and centring on a real window manager: app_dialogs.sh.
TEST_F(AboutBox, showCopiesTheOwnersIconStretchedAndHasNoneOfItsOwn) {
    CAboutBox box;
    box.SetURL(QStringLiteral("https://vorn2.example.org/"));
    showAndThen(box, [&](FormAboutBox& d) {
        QWidget* w = d.NativeWidget();
        EXPECT_EQ(d.Owner(), owner.get());

        // Its own icon draws nothing, and is not the application's.
        const QImage own = w->windowIcon().pixmap(16, 16).toImage();
        ASSERT_FALSE(own.isNull());
        EXPECT_EQ(own.pixelColor(8, 8).alpha(), 0);

        // The owner's picture itself, drawn over the whole box.
        ASSERT_FALSE(d.ImageIcon().Picture().Empty());
        EXPECT_EQ(d.ImageIcon().Picture().Icon()->cacheKey(),
                  toolkit::WindowIcon(*owner).Icon()->cacheKey());
        const QImage shown = d.ImageIcon().NativeWidget()->grab().toImage();
        ASSERT_EQ(shown.size(), QSize(53, 53));
        EXPECT_EQ(pixel(shown, 0, 0), QColor(255, 0, 0));
        EXPECT_EQ(pixel(shown, 52, 24), QColor(255, 0, 0));
        EXPECT_EQ(pixel(shown, 0, 28), QColor(0, 0, 255));
        EXPECT_EQ(pixel(shown, 52, 52), QColor(0, 0, 255));
        d.btnOK_Click();
    });
    EXPECT_FALSE(box.Dialog()->Visible());
    EXPECT_FALSE(box.Dialog()->Loaded());
}

TEST_F(AboutBox, focusStartsOnOkAndTabFollowsTheKeyboardOrder) {
    CAboutBox box;
    box.SetURL(QStringLiteral("x"));
    std::vector<QWidget*> order;
    showAndThen(box, [&](FormAboutBox& d) {
        QWidget* w = d.NativeWidget();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000));
        order.push_back(w->focusWidget());
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            order.push_back(w->focusWidget());
        }
        QWidget* ok = d.btnOK().NativeWidget();
        EXPECT_EQ(order, (std::vector<QWidget*>{ok, d.btnWeb().NativeWidget(), d.TextReport().NativeWidget(), ok}));
        d.UnloadWithoutQuery();
    });
    EXPECT_EQ(order.size(), 4u);
}

TEST_F(AboutBox, enterAndEscapePressOkAndTheWindowsCloseRequestUnloadsAsOkDoes) {
    // A key of 0 is the window's close request.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key(0)}) {
        CAboutBox box;
        box.Report();
        showAndThen(box, [&](FormAboutBox& d) {
            QWidget* w = d.NativeWidget();
            w->activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000));
            if (key != 0) {
                // Even from the report box, Enter and Escape are the dialog's "OK".
                d.TextReport().NativeWidget()->setFocus();
                QTest::keyClick(d.TextReport().NativeWidget(), key);
            } else {
                w->close();
            }
            // The unload runs from the event loop, not inside the key or close event.
            EXPECT_TRUE(d.Loaded());
        });
        EXPECT_FALSE(box.Dialog()->Loaded()) << "key " << key;
        EXPECT_FALSE(box.Dialog()->NativeWidget()->isVisible());
    }
}

TEST_F(AboutBox, enterOnTheFocusedWebButtonPressesWebNotOk) {
    CAboutBox box;
    box.SetURL(QStringLiteral("https://vorn2.example.org/"));
    showAndThen(box, [&](FormAboutBox& d) {
        QWidget* w = d.NativeWidget();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000));
        d.btnWeb().NativeWidget()->setFocus();
        QTest::keyClick(d.btnWeb().NativeWidget(), Qt::Key_Return);
        QTest::qWait(20);
        EXPECT_EQ(shell->requests.size(), 1u);
        EXPECT_TRUE(d.Loaded());
        d.btnOK().NativeWidget()->setFocus();
        QTest::keyClick(d.btnOK().NativeWidget(), Qt::Key_Enter);
    });
    EXPECT_FALSE(box.Dialog()->Loaded());
    EXPECT_EQ(shell->requests.size(), 1u);
}

TEST_F(AboutBox, anOwnerWithoutAnIconLeavesThePictureBoxEmpty) {
    auto plain = std::make_shared<toolkit::Window>();
    EXPECT_TRUE(toolkit::WindowIcon(*plain).Empty());
    CAboutBox box;
    box.Report();
    QTimer::singleShot(0, [&] { box.Dialog()->btnOK_Click(); });
    box.Show(*plain);
    EXPECT_TRUE(box.Dialog()->ImageIcon().Picture().Empty());
    EXPECT_FALSE(box.Dialog()->Loaded());
}

TEST_F(AboutBox, desktopShellRefusesAnEmptyTargetAndUnknownVerbsWithoutStartingAnything) {
    const testsupport::ScopedOverride<std::shared_ptr<toolkit::ShellSeam>, &toolkit::SetShell>
        desktopShell{nullptr};
    const int32_t desk = toolkit::GetDesktopWindow();
    for (const auto& [verb, file, result] :
         {std::tuple{"open", "", toolkit::SE_ERR_FNF}, std::tuple{"open", "   ", toolkit::SE_ERR_FNF},
          std::tuple{"print", "https://vorn2.example.org/", toolkit::SE_ERR_NOASSOC}}) {
        EXPECT_EQ(toolkit::ShellExecute(desk, QString::fromLatin1(verb), QString::fromLatin1(file),
                                        QString(), QString(), toolkit::SW_SHOWNORMAL),
                  result)
            << verb << " '" << file << "'";
    }
}

TEST_F(AboutBox, anUnlockedReportTakesTheUsersLinesWithCrLfAndReportsTheChangeLater) {
    CAboutBox box;
    box.SetReport(QString());
    FormAboutBox& d = *box.Dialog();
    d.TextReport().SetLocked(false);
    int changes = 0;
    d.TextReport().OnChange = [&] { ++changes; };
    d.Show();
    QPlainTextEdit* e = edit(d);
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("ab"));
    // Enter belongs to the dialog's "OK", so the line break comes as pasted text.
    e->insertPlainText(QStringLiteral("\nc"));
    EXPECT_EQ(changes, 0) << "a typed change is reported from the event loop, not inside the key";
    QCoreApplication::processEvents();
    EXPECT_EQ(box.Report(), QStringLiteral("ab\r\nc"));
    EXPECT_GE(changes, 1);
    // A change made by the code is reported at once, and only when the text differs.
    const int before = changes;
    box.SetReport(QStringLiteral("ab\r\nc"));
    EXPECT_EQ(changes, before);
    box.SetReport(QStringLiteral("x"));
    EXPECT_EQ(changes, before + 1);
    d.UnloadWithoutQuery();
}
