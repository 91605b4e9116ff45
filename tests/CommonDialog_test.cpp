#include "toolkit/CommonDialog.h"
#include "toolkit/Colors.h"

#include "ErrorOf.h"
#include "support/ScriptedCommonDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace toolkit;

namespace {

DialogFont fontOf(const CommonDialog& d) {
    return {d.FontName(), d.FontSize(), d.FontBold(), d.FontItalic(), d.FontStrikethru(), d.FontUnderline()};
}

class CommonDialogTest : public ::testing::Test {
protected:
    testsupport::InstalledCommonDialogs script;
    CommonDialog dialog;
};

TEST_F(CommonDialogTest, CancelHandsBackTheValuesSetBeforeTheShow) {
    script->AnswerOpen(QStringLiteral("/first"));
    dialog.ShowOpen();
    // The name set last, not the one chosen last, is what a cancel leaves.
    dialog.SetFileName(QStringLiteral("/set/after"));
    script->CancelOpen();
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/set/after"));

    const DialogFont before = DialogFont(QStringLiteral("Mono"), 11.0f, false, true, true, false);
    dialog.SetFontName(before.Name);
    dialog.SetFontSize(before.Size);
    dialog.SetFontBold(before.Bold);
    dialog.SetFontItalic(before.Italic);
    dialog.SetFontStrikethru(before.Strikethru);
    dialog.SetFontUnderline(before.Underline);
    script->CancelFont();
    dialog.ShowFont();
    EXPECT_EQ(fontOf(dialog), before);

    dialog.SetColor(SystemColor(15));
    script->CancelColor();
    dialog.ShowColor();
    EXPECT_EQ(dialog.Color(), SystemColor(15));
    EXPECT_EQ(script->Pending(), 0u);
}

TEST_F(CommonDialogTest, StrikeAndUnderlineComeBackOnlyWhenTheDialogOffersThem) {
    dialog.SetFontStrikethru(true);
    dialog.SetFontUnderline(false);
    dialog.SetFlags(cdlCFBoth);
    script->AnswerFont(DialogFont(QStringLiteral("A"), 12.0f, true, false, false, true));
    dialog.ShowFont();
    EXPECT_EQ(fontOf(dialog), DialogFont(QStringLiteral("A"), 12.0f, true, false, true, false));

    dialog.SetFlags(cdlCFBoth | cdlCFEffects);
    script->AnswerFont(DialogFont(QStringLiteral("B"), 13.0f, false, true, false, true));
    dialog.ShowFont();
    EXPECT_EQ(fontOf(dialog), DialogFont(QStringLiteral("B"), 13.0f, false, true, false, true));
}

TEST_F(CommonDialogTest, BadValuesAreRefusedAndLeaveTheOldOnes) {
    dialog.SetFontSize(10.0f);
    EXPECT_EQ(errorOf([&] { dialog.SetFontSize(0.0f); }), 380);
    EXPECT_EQ(errorOf([&] { dialog.SetFontSize(-3.0f); }), 380);
    EXPECT_EQ(errorOf([&] { dialog.SetFontSize(NAN); }), 380);
    EXPECT_EQ(dialog.FontSize(), 10.0f);

    dialog.SetColor(RGB(255, 255, 255));
    EXPECT_EQ(errorOf([&] { dialog.SetColor(0x01000000); }), 380);
    EXPECT_EQ(errorOf([&] { dialog.SetColor(SystemColor(999)); }), 380);
    script->AnswerColor(-5); // a broken platform answer
    EXPECT_EQ(errorOf([&] { dialog.ShowColor(); }), 380);
    EXPECT_EQ(dialog.Color(), RGB(255, 255, 255));

    script->AnswerFont(DialogFont(QStringLiteral("C"), NAN, true, false, false, false));
    dialog.ShowFont();
    EXPECT_EQ(dialog.FontSize(), 10.0f);
    EXPECT_EQ(dialog.FontName(), QStringLiteral("C"));
}

// ---- Qt's real dialogs, driven as a user would ---------------------------------------------

// Runs `act` on the modal dialog of type D as soon as it is up.
template <typename D>
void whenShown(std::function<void(D&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*d);
        }
    });
    timer->start();
}

TEST(QtCommonDialogTest, OpenAndColorProposeTheSetValueAndReturnTheChoiceButNotACancel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("first.txt"));
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    for (const QString& path : {first, second}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CommonDialog dialog;
    dialog.SetFileName(first);
    dialog.SetColor(RGB(10, 20, 30));
    QStringList proposedFiles;
    std::vector<QColor> proposedColors;
    for (const bool accept : {true, false}) {
        whenShown<QFileDialog>([&](QFileDialog& d) {
            proposedFiles << d.selectedFiles();
            d.selectFile(accept ? QStringLiteral("second.txt") : QStringLiteral("first.txt"));
            if (accept)
                QMetaObject::invokeMethod(&d, "accept");
            else
                d.reject();
        });
        dialog.ShowOpen();
        whenShown<QColorDialog>([&](QColorDialog& d) {
            proposedColors.push_back(d.currentColor());
            d.setCurrentColor(accept ? QColor(200, 100, 50) : QColor(1, 1, 1));
            accept ? d.accept() : d.reject();
        });
        dialog.ShowColor();
        EXPECT_EQ(dialog.FileName(), second);
        EXPECT_EQ(dialog.Color(), RGB(200, 100, 50));
    }
    EXPECT_EQ(proposedFiles, (QStringList{first, second}));
    EXPECT_EQ(proposedColors, (std::vector<QColor>{QColor(10, 20, 30), QColor(200, 100, 50)}));
}

// An installed face that has a bold style, so that the dialog can select it.
QString faceWithBold() {
    for (const QString& family : QFontDatabase::families()) {
        for (const QString& style : QFontDatabase::styles(family)) {
            if (QFontDatabase::bold(family, style) && !QFontDatabase::italic(family, style))
                return family;
        }
    }
    return {};
}

TEST(QtCommonDialogTest, FontDialogHidesEffectsUnlessAskedAndReturnsTheChoice) {
    const QString face = faceWithBold();
    ASSERT_FALSE(face.isEmpty()) << "no installed face has a bold style";
    CommonDialog dialog;
    dialog.SetFontName(face);
    dialog.SetFontSize(14.0f);
    dialog.SetFontUnderline(true);
    dialog.SetFlags(cdlCFBoth);
    int visibleChecks = -1;
    whenShown<QFontDialog>([&](QFontDialog& d) {
        visibleChecks = 0;
        for (QCheckBox* box : d.findChildren<QCheckBox*>())
            visibleChecks += box->isVisible() ? 1 : 0;
        QFont f = d.currentFont();
        f.setStyleName(QString()); // the weight below, not the style offered, is the choice
        f.setPointSizeF(20.0);
        f.setBold(true);
        d.setCurrentFont(f);
        d.accept();
    });
    dialog.ShowFont();
    EXPECT_EQ(visibleChecks, 0);
    EXPECT_EQ(dialog.FontSize(), 20.0f);
    EXPECT_TRUE(dialog.FontBold());
    EXPECT_TRUE(dialog.FontUnderline()); // not offered, so kept
    EXPECT_EQ(dialog.FontName(), face);

    dialog.SetFlags(cdlCFBoth | cdlCFEffects);
    whenShown<QFontDialog>([&](QFontDialog& d) {
        visibleChecks = 0;
        for (QCheckBox* box : d.findChildren<QCheckBox*>())
            visibleChecks += box->isVisible() ? 1 : 0;
        d.reject();
    });
    dialog.ShowFont();
    EXPECT_EQ(visibleChecks, 2);
    EXPECT_EQ(dialog.FontSize(), 20.0f);
}

TEST(QtCommonDialogTest, FontDialogShowsASampleOfAFaceDrawnByASubstituteAndOkKeepsTheFont) {
    CommonDialog dialog;
    dialog.SetFontName(QStringLiteral("No Such Face Installed"));
    dialog.SetFontItalic(false);
    dialog.SetFlags(cdlCFBoth);
    QLineEdit* sample = nullptr;
    whenShown<QFontDialog>([&](QFontDialog& d) {
        for (QGroupBox* box : d.findChildren<QGroupBox*>()) {
            if (box->title() == QStringLiteral("Sample"))
                sample = box->findChild<QLineEdit*>();
        }
        ASSERT_NE(sample, nullptr);
        EXPECT_FALSE(sample->text().isEmpty());
        EXPECT_GT(sample->height(), sample->fontMetrics().height());
        d.accept();
    });
    dialog.ShowFont();
    EXPECT_EQ(dialog.FontName(), QStringLiteral("No Such Face Installed"));
    EXPECT_FALSE(dialog.FontItalic());
}

} // namespace
