#include "toolkit/Conversion.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

using toolkit::Val;

namespace {

// Switches the process's numeric locale to one whose decimal point is a comma, as the
// application object does for a German user, and back at the end. CI machines carry only
// C.UTF-8, so the locale is compiled into a temporary folder for the test.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::setlocale(LC_NUMERIC, nullptr);
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
            compileLocale();
        ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, m_previous.c_str()); }

private:
    void compileLocale() {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        ASSERT_FALSE(localedef.isEmpty()) << "localedef is missing (package libc-bin)";
        ASSERT_TRUE(m_folder.isValid());
        QProcess build;
        build.start(localedef, {QStringLiteral("-i"), QStringLiteral("de_DE"),
                                QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                m_folder.filePath(QStringLiteral("de_DE.UTF-8"))});
        ASSERT_TRUE(build.waitForFinished(60000));
        ASSERT_EQ(build.exitCode(), 0) << "localedef needs the package locales: "
                                       << build.readAllStandardError().toStdString();
        // setlocale looks in LOCPATH each time it loads a locale.
        ::setenv("LOCPATH", QFile::encodeName(m_folder.path()).constData(), 1);
    }

    std::string m_previous;
    QTemporaryDir m_folder;
};

} // namespace

TEST_F(CommaLocale, numbersAreReadWithAPointWhateverTheUsersLocale) {
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("7.5")), 7.5);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("-0.25e2")), -25);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("100.4")), 100.4);
    // A comma is not a decimal point here: it ends the number.
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("7,5")), 7);
}
