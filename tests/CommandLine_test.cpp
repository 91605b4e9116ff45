#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <utility>

#include <sys/stat.h>
#include <unistd.h>

using CommandLine::Outcome;
using CommandLine::Parse;
using CommandLine::SourceKind;

namespace {

CommandLine::Request parse(std::initializer_list<QString> arguments) {
    QStringList list{QStringLiteral("/usr/bin/vorn2")};
    list.append(arguments);
    return Parse(list);
}

class CommandLineFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile file(path(QStringLiteral("news.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Hello\r\n<b>World</b>");
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(CommandLineTest, versionAndHelpPrintAndEndWithStatusZero) {
    for (const QString& flag : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const auto r = parse({flag});
        EXPECT_EQ(r.outcome, Outcome::Version);
        EXPECT_EQ(r.text, QStringLiteral("vorn2 1.0.17\n"));
        EXPECT_EQ(CommandLine::ExitStatus(r.outcome), 0);
    }
    for (const QString& flag : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const auto r = parse({flag});
        EXPECT_EQ(r.outcome, Outcome::Help);
        EXPECT_TRUE(r.text.contains(QStringLiteral("Usage: vorn2 [options] [FILE | ADDRESS]")))
            << r.text.toStdString();
        EXPECT_TRUE(r.text.contains(QStringLiteral("--version")));
        EXPECT_FALSE(r.text.contains(QStringLiteral("<executable_name>")));
    }
    // Help wins over a source that would be bad: nothing is opened for --help.
    EXPECT_EQ(parse({QStringLiteral("--help"), QStringLiteral("/no/such/file")}).outcome,
              Outcome::Help);
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
        QStringList list{QStringLiteral("vorn2")};
        list.append(c.arguments);
        const auto r = Parse(list);
        EXPECT_EQ(r.outcome, Outcome::Bad) << c.says;
        EXPECT_EQ(CommandLine::ExitStatus(r.outcome), 2);
        EXPECT_TRUE(r.text.startsWith(QStringLiteral("vorn2: "))) << r.text.toStdString();
        EXPECT_TRUE(r.text.contains(QLatin1String(c.says))) << r.text.toStdString();
        EXPECT_TRUE(r.text.endsWith(QStringLiteral("Try 'vorn2 --help' for more information.\n")));
        EXPECT_EQ(r.kind, SourceKind::None);
    }
}

TEST(CommandLineTest, noArgumentsStartsWithoutASourceAndReloadMinutesGoWithTheSource) {
    const auto none = parse({});
    EXPECT_EQ(none.outcome, Outcome::Run);
    EXPECT_EQ(none.kind, SourceKind::None);
    EXPECT_EQ(CommandLine::ExitStatus(none.outcome), 0);
    EXPECT_EQ(parse({QStringLiteral("http://x/")}).reloadMinutes, 0);
    auto r = parse({QStringLiteral("--reload"), QStringLiteral("1"), QStringLiteral("http://x/")});
    EXPECT_EQ(r.outcome, Outcome::Run);
    EXPECT_EQ(r.kind, SourceKind::Web);
    EXPECT_EQ(r.reloadMinutes, 1);
    r = parse({QStringLiteral("http://x/"), QStringLiteral("--reload=1440")});
    EXPECT_EQ(r.reloadMinutes, 1440);
    EXPECT_TRUE(parse({QStringLiteral("--help")}).text.contains(QStringLiteral("--reload <minutes>")));
}

TEST(CommandLineTest, webAddressesAreKeptAsGiven) {
    for (const QString& address :
         {QStringLiteral("http://example.com/news.html"), QStringLiteral("HTTPS://example.com"),
          QStringLiteral("https://user@example.com:8443/a?b=c#d"),
          QStringLiteral("http://[::1]:8080/")}) {
        const auto r = parse({address});
        EXPECT_EQ(r.outcome, Outcome::Run) << address.toStdString();
        EXPECT_EQ(r.kind, SourceKind::Web);
        EXPECT_EQ(r.source, address);
    }
}

TEST_F(CommandLineFiles, aFileIsTakenByItsAbsolutePathAlsoAsAFileAddress) {
    const QString file = path(QStringLiteral("news.txt"));
    auto r = parse({file});
    EXPECT_EQ(r.outcome, Outcome::Run);
    EXPECT_EQ(r.kind, SourceKind::File);
    EXPECT_EQ(r.source, file);

    r = parse({QUrl::fromLocalFile(file).toString()});
    EXPECT_EQ(r.kind, SourceKind::File);
    EXPECT_EQ(r.source, file);

    // A relative name is resolved against the folder the application was started in, and
    // "--" lets a file start with a dash.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    QFile dashed(QStringLiteral("-notes.txt"));
    ASSERT_TRUE(dashed.open(QIODevice::WriteOnly));
    dashed.close();
    const auto relative = parse({QStringLiteral("news.txt")});
    const auto afterDashes = parse({QStringLiteral("--"), QStringLiteral("-notes.txt")});
    const auto colon = parse({QStringLiteral("notes:today")});
    QDir::setCurrent(before);
    EXPECT_EQ(relative.source, file);
    EXPECT_EQ(afterDashes.kind, SourceKind::File);
    EXPECT_EQ(afterDashes.source, path(QStringLiteral("-notes.txt")));
    // Without "//" after it a colon is part of a file name: here a missing one.
    EXPECT_EQ(colon.outcome, Outcome::Bad);
    EXPECT_TRUE(colon.text.contains(QStringLiteral("no such file")));
}

TEST_F(CommandLineFiles, filesThatCannotBeReadAreRefusedBeforeAnyWindowOpens) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe"))).constData(), 0600), 0);
    QFile::setPermissions(path(QStringLiteral("news.txt")), QFile::WriteOwner);
    const std::pair<QString, const char*> cases[] = {
        {path(QStringLiteral("missing.txt")), "there is no such file"},
        {m_dir.path(), "it is a folder"},
        {path(QStringLiteral("pipe")), "not a plain file"},
        // Root reads everything, so the permission case only means something for a user.
        {path(QStringLiteral("news.txt")), "permission denied"},
    };
    for (const auto& [file, says] : cases) {
        if (::geteuid() == 0 && file.endsWith(QStringLiteral("news.txt")))
            continue;
        const auto r = parse({file});
        EXPECT_EQ(r.outcome, Outcome::Bad) << says;
        EXPECT_TRUE(r.text.contains(QLatin1String(says))) << r.text.toStdString();
    }
}
