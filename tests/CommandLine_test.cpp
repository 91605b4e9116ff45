#include "app/CommandLine.h"

#include "TempFolder.h"

#include <QDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using CommandLine::Outcome;
using CommandLine::SourceKind;

namespace {

CommandLine::Request parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("/usr/bin/vorn2"));
    return CommandLine::Parse(arguments);
}

TEST(CommandLineTest, versionAndHelpPrintAndEndWithStatusZero) {
    for (const char* flag : {"--version", "-v", "--help", "-h"}) {
        // Help wins over a source that would be bad: nothing is opened for it.
        const auto r = parse({QString::fromLatin1(flag), QStringLiteral("/no/such/file")});
        EXPECT_EQ(CommandLine::ExitStatus(r.outcome), 0) << flag;
        if (QByteArray(flag).contains('v')) {
            EXPECT_EQ(r.outcome, Outcome::Version);
            EXPECT_EQ(r.text, QStringLiteral("vorn2 1.0.17\n"));
            continue;
        }
        EXPECT_EQ(r.outcome, Outcome::Help);
        for (const char* says : {"Usage: vorn2 [options] [FILE | ADDRESS]", "--version", "--reload <minutes>"})
            EXPECT_TRUE(r.text.contains(QLatin1String(says))) << says << "\n" << r.text.toStdString();
        EXPECT_FALSE(r.text.contains(QStringLiteral("<executable_name>")));
    }
}

TEST(CommandLineTest, badOptionsAndCountsEndWithStatusTwoAndAMessage) {
    const struct {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{QStringLiteral("--speed=3")}, "Unknown option 'speed'"},
        {{QStringLiteral("-x")}, "Unknown option 'x'"},
        {{QStringLiteral("a"), QStringLiteral("b")}, "too many arguments"},
        {{QStringLiteral("")}, "empty"},
        {{QStringLiteral("   ")}, "empty"},
        {{QStringLiteral("ftp://example.com/a.txt")}, "only http and https"},
        {{QStringLiteral("javascript://x")}, "only http and https"},
        {{QStringLiteral("http://")}, "not a valid web address"},
        {{QStringLiteral("https:///path")}, "not a valid web address"},
        {{QStringLiteral("http://exa mple.com/")}, "not a valid web address"},
        {{QStringLiteral("file://otherhost/etc/hosts")}, "not a local file address"},
        {{QStringLiteral("--reload")}, "Missing value after '--reload'"},
        {{QStringLiteral("--reload"), QStringLiteral("5")}, "needs a file or an address"},
        {{QStringLiteral("--reload=0"), QStringLiteral("http://x/")}, "from 1 to 1440, not '0'"},
        {{QStringLiteral("--reload=1441"), QStringLiteral("http://x/")}, "from 1 to 1440"},
        {{QStringLiteral("--reload=-1"), QStringLiteral("http://x/")}, "from 1 to 1440"},
        {{QStringLiteral("--reload=1.5"), QStringLiteral("http://x/")}, "from 1 to 1440"},
        {{QStringLiteral("--reload=99999999999"), QStringLiteral("http://x/")}, "from 1 to 1440"},
        {{QStringLiteral("--reload=5"), QStringLiteral("ftp://x/")}, "only http and https"},
    };
    for (const auto& c : cases) {
        const auto r = parse(c.arguments);
        EXPECT_EQ(r.outcome, Outcome::Bad) << c.says;
        EXPECT_EQ(CommandLine::ExitStatus(r.outcome), 2);
        EXPECT_TRUE(r.text.startsWith(QStringLiteral("vorn2: "))) << r.text.toStdString();
        EXPECT_TRUE(r.text.contains(QLatin1String(c.says))) << r.text.toStdString();
        EXPECT_TRUE(r.text.endsWith(QStringLiteral("Try 'vorn2 --help' for more information.\n")));
        EXPECT_EQ(r.kind, SourceKind::None);
    }
}

// Web addresses are kept as given; a file is taken by its absolute path, also from a file
// address, a relative name against the folder the application was started in, and "--" lets
// a name start with a dash. Without "//" after it a colon is part of a file name.
TEST(CommandLineTest, aSourceAndItsReloadMinutesStartTheApplication) {
    const TempFolder tmp;
    const QString file = tmp.write("news.txt");
    const QString dashed = tmp.write("-notes.txt");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.dir.path()));
    const struct {
        QStringList arguments;
        SourceKind kind;
        QString source;
        int reloadMinutes = 0;
    } cases[] = {
        {{}, SourceKind::None, {}},
        {{QStringLiteral("http://example.com/news.html")}, SourceKind::Web, QStringLiteral("http://example.com/news.html")},
        {{QStringLiteral("HTTPS://example.com")}, SourceKind::Web, QStringLiteral("HTTPS://example.com")},
        {{QStringLiteral("https://user@example.com:8443/a?b=c#d")}, SourceKind::Web,
         QStringLiteral("https://user@example.com:8443/a?b=c#d")},
        {{QStringLiteral("http://[::1]:8080/")}, SourceKind::Web, QStringLiteral("http://[::1]:8080/")},
        {{QStringLiteral("--reload"), QStringLiteral("1"), QStringLiteral("http://x/")}, SourceKind::Web,
         QStringLiteral("http://x/"), 1},
        {{QStringLiteral("http://x/"), QStringLiteral("--reload=1440")}, SourceKind::Web, QStringLiteral("http://x/"), 1440},
        {{file}, SourceKind::File, file},
        {{QUrl::fromLocalFile(file).toString()}, SourceKind::File, file},
        {{QStringLiteral("news.txt")}, SourceKind::File, file},
        {{QStringLiteral("--"), QStringLiteral("-notes.txt")}, SourceKind::File, dashed},
    };
    for (const auto& c : cases) {
        const auto r = parse(c.arguments);
        EXPECT_EQ(r.outcome, Outcome::Run) << c.arguments.join(u' ').toStdString() << r.text.toStdString();
        EXPECT_EQ(std::tuple(r.kind, r.source, r.reloadMinutes, CommandLine::ExitStatus(r.outcome)),
                  std::tuple(c.kind, c.source, c.reloadMinutes, 0));
    }
    const auto colon = parse({QStringLiteral("notes:today")});
    QDir::setCurrent(before);
    EXPECT_EQ(colon.outcome, Outcome::Bad);
    EXPECT_TRUE(colon.text.contains(QStringLiteral("no such file")));
}

TEST(CommandLineTest, filesThatCannotBeReadAreRefusedBeforeAnyWindowOpens) {
    const TempFolder tmp;
    const QString locked = tmp.write("locked.txt");
    QFile::setPermissions(locked, QFile::WriteOwner);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.path("pipe")).constData(), 0600), 0);
    const std::pair<QString, const char*> cases[] = {
        {tmp.path("missing.txt"), "there is no such file"},
        {tmp.dir.path(), "it is a folder"},
        {tmp.path("pipe"), "not a plain file"},
        // Root reads everything, so the permission case only means something for a user.
        {::geteuid() == 0 ? QString() : locked, "permission denied"},
    };
    for (const auto& [file, says] : cases) {
        if (file.isEmpty())
            continue;
        const auto r = parse({file});
        EXPECT_EQ(r.outcome, Outcome::Bad) << says;
        EXPECT_TRUE(r.text.contains(QLatin1String(says))) << r.text.toStdString();
    }
}

} // namespace
