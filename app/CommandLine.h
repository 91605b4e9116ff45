#pragma once

#include <QString>
#include <QStringList>

// The command line: vorn2 [--help | --version] [--reload MINUTES] [FILE | ADDRESS]. It is read
// before any window exists, so that --help and --version need no display and a bad argument
// opens nothing.
//
// FILE is a local text file (a path, or a file: URL as a desktop's launcher may pass);
// ADDRESS an http or https address. Either is loaded once the panel is up, as
// "Local(&L)..." or "Web(&W)..." load what the user chose there. --reload (1 to 1440, with
// a file or an address) reads it again every MINUTES.
namespace CommandLine {

enum class Outcome {
    Run,     // start the application (with or without a source)
    Help,    // print Text on standard output and end with status 0
    Version, // likewise
    Bad,     // print Text on standard error and end with status 2
};

enum class SourceKind { None, File, Web };

struct Request {
    Outcome outcome = Outcome::Run;
    QString text;
    SourceKind kind = SourceKind::None;
    // The file's absolute path, or the address as it was given.
    QString source{};
    // Minutes between scheduled reloads; 0 for none.
    int reloadMinutes = 0;
};

inline constexpr int kMaxReloadMinutes = 24 * 60;

// Reads the arguments; the first is the program's own name.
Request Parse(const QStringList& arguments);

// The process's arguments as text, decoded the way the application object decodes them.
QStringList Arguments(int argc, char** argv);

// The exit status for an outcome that ends the process before the application starts.
inline int ExitStatus(Outcome outcome) { return outcome == Outcome::Bad ? 2 : 0; }

} // namespace CommandLine
