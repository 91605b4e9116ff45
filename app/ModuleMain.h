#pragma once

#include <QString>

namespace toolkit {
struct WebDocument;
}

// The application's entry.
namespace ModuleMain {

// Creates the control panel, loads it (the strip appears first, at its
// standard place), titles it with the application's name and version and
// shows it. The panel then lives until it is closed. SIGTERM and SIGINT end
// the application without the close question.
void Main();

// The panel's caption: title, a blank, major "." minor.
QString TitleAndVersion();

// ---- Text cleanup --------------------------------------------------------------------------
// Both procedures work in one linear pass and, on a long text, let pending events run at
// least every 20 ms, so any handler may run while they work; the text they change is the
// caller's own and nothing else sees it half done.

// Replaces one kind of line break by vstrReplace, chosen in this order: every CR LF pair if
// the text holds one, otherwise every LF, otherwise every CR. Returns whether any was found.
// With CR LF pairs present, lone LF and CR characters stay.
bool ReplaceNewLine(QString& rstrText, QString vstrReplace);

// Cuts every span from vstrOpen to the first vstrClose after it, repeatedly searching the
// shortened text from its start, and gives exactly what that repeated search gives:
//   - a vstrClose before any vstrOpen stays, spans do not nest ("<a<b>c>" gives "c>");
//   - a vstrOpen with no vstrClose after it ends the work and it and all after it stay;
//   - the search for vstrClose starts one character after the start of vstrOpen, and only
//     the first character of vstrClose goes with the span (the rest of it stays), which
//     matters only for delimiters longer than one character;
//   - an empty delimiter encloses nothing: the text stays as it is.
void StripEnclosed(QString& rstrText, QString vstrOpen, QString vstrClose);

// The line a fetched document puts on the strip: an HTML page's text as a browser shows it,
// a feed's title and the titles of its items, and anything else (plain text, a feed of
// which nothing could be read) through the same cleanup as a local file.
QString WebStripText(const toolkit::WebDocument& document);

// ---- End of text cleanup -------------------------------------------------------------------

} // namespace ModuleMain
