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

// The arguments after the program's name, split at '|'; none for a null text.
CommandLine::Request parse(const QString& arguments) {
    QStringList list{QStringLiteral("/usr/bin/vorn2")};
    if (!arguments.isNull())
        list += arguments.split(u'|');
    return CommandLine::Parse(list);
}

TEST(CommandLineTest, versionAndHelpPrintAndEndWithStatusZero) {
    for (const char* flag : {"--version", "-v", "--help", "-h"}) {
        // Help wins over a source that would be bad: nothing is opened for it.
        const auto r = parse(QString::fromLatin1(flag) + QStringLiteral("|/no/such/file"));
        const bool version = QByteArray(flag).contains('v');
        // The version is the whole text; the help's first line names the installed command.
        EXPECT_EQ(std::tuple(r.outcome, CommandLine::ExitStatus(r.outcome), version ? r.text : r.text.section(u'\n', 0, 0)),
                  std::tuple(version ? Outcome::Version : Outcome::Help, 0,
                             version ? QStringLiteral("vorn2 1.0.17\n") : QStringLiteral("Usage: vorn2 [options] [FILE | ADDRESS]")))
            << flag;
    }
}

// Files that cannot be read are refused before any window opens.
TEST(CommandLineTest, badOptionsCountsAndFilesEndWithStatusTwoAndAMessage) {
    const TempFolder tmp;
    const QString locked = tmp.write("locked.txt");
    QFile::setPermissions(locked, QFile::WriteOwner);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.path("pipe")).constData(), 0600), 0);
    // Root reads everything, so the permission row only means something for a user.
    const bool root = ::geteuid() == 0;
    const struct {
        QString arguments;
        const char* says;
    } cases[] = {
        {QStringLiteral("--speed=3"), "Unknown option 'speed'"},
        {QStringLiteral("a|b"), "too many arguments"},
        {QStringLiteral("   "), "empty"},
        {QStringLiteral("ftp://example.com/a.txt"), "only http and https"},
        {QStringLiteral("http://"), "not a valid web address"},
        {QStringLiteral("http://example.com/%zz"), "not a valid web address"},
        {QStringLiteral("file://otherhost/etc/hosts"), "not a local file address"},
        {QStringLiteral("--reload"), "Missing value after '--reload'"},
        {QStringLiteral("--reload|5"), "needs a file or an address"},
        {QStringLiteral("--reload=0|http://x/"), "from 1 to 1440, not '0'"},
        {QStringLiteral("--reload=1441|http://x/"), "from 1 to 1440"},
        {QStringLiteral("--reload=-1|http://x/"), "from 1 to 1440"},
        {QStringLiteral("--reload=5|ftp://x/"), "only http and https"},
        {QStringLiteral("--reload=5\n|http://x/"), "from 1 to 1440"},
        {QStringLiteral("notes:today"),
         "there is no such file"}, // without "//" a colon is part of a name
        {tmp.dir.path(), "it is a folder"},
        {tmp.path("pipe"), "not a plain file"},
        {root ? QStringLiteral("a|b") : locked, root ? "too many arguments" : "permission denied"},
    };
    for (const auto& c : cases) {
        const auto r = parse(c.arguments);
        EXPECT_EQ(std::tuple(r.outcome, CommandLine::ExitStatus(r.outcome), r.kind,
                             r.text.startsWith(QStringLiteral("vorn2: ")), r.text.contains(QLatin1String(c.says)),
                             r.text.endsWith(QStringLiteral("Try 'vorn2 --help' for more information.\n"))),
                  std::tuple(Outcome::Bad, 2, SourceKind::None, true, true, true))
            << c.says << "\n" << r.text.toStdString();
    }
}

// Web addresses are kept as given; a file is taken by its absolute path, also from a file
// address, a relative name against the folder the application was started in, and "--" lets
// a name start with a dash.
TEST(CommandLineTest, aSourceAndItsReloadMinutesStartTheApplication) {
    const TempFolder tmp;
    const QString file = tmp.write("news.txt");
    const QString dashed = tmp.write("-notes.txt");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.dir.path()));
    const QString web = QStringLiteral("http://x/");
    const struct {
        QString arguments;
        SourceKind kind;
        QString source = {}; // the arguments themselves when null
        int reloadMinutes = 0;
    } cases[] = {
        {QString(), SourceKind::None, QStringLiteral("")},
        {QStringLiteral("HTTPS://example.com"), SourceKind::Web},
        {QStringLiteral("https://user@example.com:8443/a?b=c#d"), SourceKind::Web},
        {QStringLiteral("http://[::1]:8080/"), SourceKind::Web},
        {QStringLiteral("--reload|1|http://x/"), SourceKind::Web, web, 1},
        {QStringLiteral("http://x/|--reload=1440"), SourceKind::Web, web, 1440},
        {file, SourceKind::File},
        {QUrl::fromLocalFile(file).toString(), SourceKind::File, file},
        {QStringLiteral("news.txt"), SourceKind::File, file},
        {QStringLiteral("--|-notes.txt"), SourceKind::File, dashed},
    };
    for (const auto& c : cases) {
        const auto r = parse(c.arguments);
        EXPECT_EQ(r.outcome, Outcome::Run) << c.arguments.toStdString() << r.text.toStdString();
        EXPECT_EQ(std::tuple(r.kind, r.source, r.reloadMinutes, CommandLine::ExitStatus(r.outcome)),
                  std::tuple(c.kind, c.source.isNull() ? c.arguments : c.source, c.reloadMinutes, 0));
    }
    QDir::setCurrent(before);
}

} // namespace
