#include "app/CommandLine.h"

#include "toolkit/App.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace CommandLine {

namespace {

Request bad(const QString& message) {
    return {Outcome::Bad, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                              .arg(toolkit::AppTitle(), message)};
}

// The minutes of --reload: a whole number from 1 to kMaxReloadMinutes; 0 when it is not one.
int reloadMinutes(const QString& value) {
    // Anchored whole: "$" alone would also take "5" followed by a line break.
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,4}")));
    if (!digits.match(value).hasMatch())
        return 0;
    const int minutes = value.toInt();
    return minutes <= kMaxReloadMinutes ? minutes : 0;
}

Request localFile(const QString& argument, const QString& path) {
    const QFileInfo info(path);
    // Pipes and devices could hold the start-up forever; the reader takes plain files only.
    const char* const refusal = !info.exists()       ? "there is no such file"
                                : info.isDir()       ? "it is a folder, not a file"
                                : !info.isFile()     ? "it is not a plain file"
                                : !info.isReadable() ? "permission denied"
                                                     : nullptr;
    if (refusal)
        return bad(QStringLiteral("cannot open '%1': %2").arg(argument, QLatin1String(refusal)));
    return {Outcome::Run, QString(), SourceKind::File, info.absoluteFilePath()};
}

Request source(const QString& argument) {
    if (argument.trimmed().isEmpty())
        return bad(QStringLiteral("the file or address is empty"));
    // A scheme followed by "//" makes an address; anything else is a file name, so a file
    // called "notes:today" still opens.
    static const QRegularExpression schemed(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    // Without a match the scheme is empty.
    const QString scheme = schemed.match(argument).captured(1).toLower();
    if (scheme.isEmpty())
        return localFile(argument, argument);
    const QUrl url(argument, QUrl::StrictMode);
    if (scheme == QLatin1String("file")) {
        const QString host = url.host();
        if (!url.isValid() || !url.isLocalFile() || (!host.isEmpty() && host != u"localhost"))
            return bad(QStringLiteral("'%1' is not a local file address").arg(argument));
        return localFile(argument, url.toLocalFile());
    }
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return bad(QStringLiteral("cannot fetch '%1': only http and https addresses are supported")
                       .arg(argument));
    if (!url.isValid() || url.host().isEmpty())
        return bad(QStringLiteral("'%1' is not a valid web address").arg(argument));
    return {Outcome::Run, QString(), SourceKind::Web, argument};
}

} // namespace

Request Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Scrolls one line of text from a file or a web page across the bottom "
                       "of the desktop."));
    // Qt's own options (-platform, -style and the rest) are not offered: the application
    // object is given none of the arguments, so that no file name is ever taken for one.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption reload(
        QStringLiteral("reload"),
        QStringLiteral("Reads the file or address again every <minutes> (1 to %1); a changed "
                       "text takes over once the current one has passed the strip.")
            .arg(kMaxReloadMinutes),
        QStringLiteral("minutes"));
    parser.addOption(reload);
    parser.addPositionalArgument(
        QStringLiteral("source"),
        QStringLiteral("A text file, or an http or https address, to show once the panel is "
                       "up, as File > Local or File > Web would."),
        QStringLiteral("[FILE | ADDRESS]"));

    if (!parser.parse(arguments))
        return bad(parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        // The parser names the program after the application object, which does not exist
        // yet; the usage line names the installed command.
        const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
        if (text.startsWith(QStringLiteral("Usage: ")) && options > 0)
            text.replace(7, options - 7, toolkit::AppTitle());
        return {Outcome::Help, text};
    }
    if (parser.isSet(version))
        return {Outcome::Version, toolkit::AppTitle() + u' ' + toolkit::AppVersion() + u'\n'};
    int minutes = 0;
    if (parser.isSet(reload)) {
        // Given more than once, the last one counts.
        minutes = reloadMinutes(parser.value(reload));
        if (minutes == 0)
            return bad(QStringLiteral("--reload takes a whole number of minutes from 1 to %1, "
                                      "not '%2'")
                           .arg(kMaxReloadMinutes)
                           .arg(parser.value(reload)));
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return bad(QStringLiteral("too many arguments: give one file or address"));
    if (positional.isEmpty()) {
        if (minutes != 0)
            return bad(QStringLiteral("--reload needs a file or an address to read again"));
        return {};
    }
    Request request = source(positional.front());
    if (request.outcome == Outcome::Run)
        request.reloadMinutes = minutes;
    return request;
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace CommandLine
