#include "PanelFixture.h"
#include "about/CAboutBox.h"
#include "about/FormAboutBox.h"
#include "toolkit/App.h"
#include "toolkit/Picture.h"
#include "toolkit/Shell.h"
#include "toolkit/StdFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <tuple>

namespace {

// 16 x 16, red above blue, so that a stretched copy can be told from a tiled or unscaled one.
const char kRed[] = "................", kBlue[] = "################";
const char* const kOwnerIcon[] = {"16 16 2 1", ". c #FF0000", "# c #0000FF", kRed, kRed, kRed,
                                  kRed, kRed, kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue, kBlue,
                                  kBlue, kBlue, kBlue};

class AboutBox : public Unpaced {
protected:
    void SetUp() override {
        toolkit::RegisterFontSubstitutions();
        owner->Show();
        drain();
    }
    void TearDown() override {
        owner->UnloadWithoutQuery();
        EXPECT_TRUE(reported.empty()) << reported.front().toStdString();
    }

    testsupport::InstalledShell shell;
    std::shared_ptr<toolkit::Window> owner = std::make_shared<toolkit::Window>();
};

} // namespace

// Owner, place, modality and frame on a real window manager: the e2e scenario. The tab order is
// a list in the source; the panel's test sees such a list take effect.
TEST_F(AboutBox, itShowsItsTextsAReadOnlyReportTheOwnersIconStretchedAndAWebButton) {
    owner->SetIcon(kOwnerIcon);
    CAboutBox box;
    // Every kind of line break makes a line.
    const QString mixed = QStringLiteral("a\nb\rc\r\n\r\nd");
    box.SetReport(mixed);
    FormAboutBox& d = *box.Dialog();
    auto* edit = qobject_cast<QPlainTextEdit*>(d.TextReport().NativeWidget());
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("a\nb\nc\n\nd"));
    EXPECT_EQ(std::tuple(box.URL(), d.btnWeb().Enabled(), d.Visible()), std::tuple(QString(), false, false));
    EXPECT_EQ(std::tuple(d.LabelTitle().Caption(), d.LabelVersion().Caption(), d.LabelCopyright().Caption()),
              std::tuple(QStringLiteral("vorn2"), QStringLiteral("Version 1.0.(17)"), toolkit::AppLegalCopyright()));
    // Loading again (a second creation would) does not touch a report set since, and the report
    // comes back as it was set, its line breaks unchanged.
    d.Form_Load();
    EXPECT_EQ(box.Report(), mixed);

    // Any address, even an empty one, enables Web.
    box.SetURL(QString());
    const WhenModal modal([&](QWidget&) {
        expectLaidOut({&d.TextReport(), &d.btnWeb(), &d.btnOK(), &d.LabelTitle(),
                       &d.LabelCopyright(), &d.ImageIcon(), &d.LabelVersion()});
        // White throughout, labels and report box included.
        const QImage all = d.NativeWidget()->grab().toImage();
        for (const toolkit::Control* c : std::initializer_list<toolkit::Control*>{
                 &d.LabelTitle(), &d.LabelVersion(), &d.LabelCopyright(), &d.TextReport()}) {
            const QRect r = c->NativeWidget()->geometry();
            EXPECT_EQ(all.pixelColor(r.right() - 2, r.bottom() - 2), QColor(Qt::white))
                << r.x() << "," << r.y();
        }
        // A face that is not installed is drawn with the Japanese one that is.
        if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
            EXPECT_EQ(QFontInfo(d.LabelTitle().NativeWidget()->font()).family(),
                      QStringLiteral("IPAPGothic"));
        }
        // Its own icon draws nothing; the owner's fills the picture box.
        EXPECT_EQ(d.NativeWidget()->windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8).alpha(),
                  0);
        const QImage shown = d.ImageIcon().NativeWidget()->grab().toImage();
        const int w = shown.width(), h = shown.height();
        ASSERT_GT(w, 20);
        for (const auto& [x, y, c] :
             {std::tuple{0, 0, Qt::red}, std::tuple{w - 1, h / 2 - 3, Qt::red},
              std::tuple{0, h / 2 + 3, Qt::blue}, std::tuple{w - 1, h - 1, Qt::blue}})
            EXPECT_EQ(shown.pixelColor(x, y), QColor(c)) << x << "," << y;
        EXPECT_EQ(d.NativeWidget()->focusWidget(), d.btnOK().NativeWidget());
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_TRUE(edit->verticalScrollBar()->isVisible()) << "even for a short text";

        // Web asks the desktop to open the address; a failure to open is silent.
        EXPECT_TRUE(d.btnWeb().NativeWidget()->isEnabled());
        shell->result = toolkit::SE_ERR_FNF;
        d.btnWeb_Click();
        box.SetURL(QStringLiteral("https://vorn2.example.org/"));
        d.btnWeb_Click();
        d.btnOK_Click();
    });
    box.Show(*owner);
    ASSERT_EQ(shell->requests.size(), 2u);
    EXPECT_EQ(std::tuple(shell->requests[0].file, shell->requests[1].file, shell->requests[1].verb),
              std::tuple(QString(), QStringLiteral("https://vorn2.example.org/"),
                         QStringLiteral("open")));
}

TEST_F(AboutBox, enterEscapeOrACloseEndItButEnterOnWebPressesWebAndTheDesktopRefusesNoTarget) {
    // The owner has no icon of its own, in an application that has one, as the panel gives it.
    QApplication::setWindowIcon(QIcon(QPixmap(kOwnerIcon)));
    // A key of 0 is the window's close request.
    for (const auto& [key, onWeb] :
         {std::pair{Qt::Key_Return, false}, std::pair{Qt::Key_Escape, false},
          std::pair{Qt::Key(0), false}, std::pair{Qt::Key_Return, true}}) {
        SCOPED_TRACE(testing::Message() << key << (onWeb ? " on Web" : ""));
        shell->requests.clear();
        CAboutBox box;
        box.SetURL(QStringLiteral("https://vorn2.example.org/"));
        FormAboutBox& d = *box.Dialog();
        const WhenModal modal([&, key = key, onWeb = onWeb](QWidget&) {
            // Even from the report box, Enter and Escape are the dialog's "OK".
            QWidget* target = onWeb ? d.btnWeb().NativeWidget() : d.TextReport().NativeWidget();
            target->setFocus();
            if (key == 0)
                d.NativeWidget()->close();
            else
                QTest::keyClick(target, key);
            if (onWeb) {
                drain();
                d.btnOK().NativeWidget()->setFocus();
                QTest::keyClick(d.btnOK().NativeWidget(), Qt::Key_Enter);
            }
            EXPECT_TRUE(d.Loaded()) << "unloaded inside the key or close event";
        });
        box.Show(*owner);
        EXPECT_EQ(std::tuple(d.Loaded(), d.ImageIcon().Picture().Empty(), shell->requests.size()),
                  std::tuple(false, true, onWeb ? 1u : 0u));
    }

    // Without the scripted shell, the desktop's refuses an empty target. An unknown verb cannot
    // be told apart here: without a desktop the open fails the same way.
    const testsupport::ScopedOverride<std::shared_ptr<toolkit::ShellSeam>, &toolkit::SetShell>
        desktopShell{nullptr};
    EXPECT_EQ(toolkit::ShellExecute(toolkit::GetDesktopWindow(), QStringLiteral("open"), QString(),
                                    {}, {}, toolkit::SW_SHOWNORMAL),
              toolkit::SE_ERR_FNF);
}
