#pragma once

#include "toolkit/HttpFetch.h"

#include <QString>
#include <QStringView>

namespace toolkit {
class WorkYield;
}

namespace WebText {

using toolkit::WebDocument;
using toolkit::WorkYield;

// What a fetched document is read as.
enum class WebKind {
    Text, // anything else: the plain text cleanup
    Html, // an HTML page, by its type or by how it starts
    Feed, // an RSS 2.0, RSS 1.0 (RDF) or Atom feed, by its type or by its root element
};

WebKind KindOf(const WebDocument& document);

// The text of an HTML page as a browser shows it, on one line: the content of script, style,
// template, noscript and title elements and every comment left out, character references
// decoded (every named one of HTML and the numeric ones), a blank where a block, a line
// break or a table cell ends, and each run of blanks, tabs and line breaks folded into one
// blank, with none at either end. A non-breaking space stays one.
//
// On a long page the yield lets pending events run while it works, any handler with them.
QString HtmlText(QStringView html, WorkYield& yield);

// What stands between the feed's title and the titles of its items on the strip.
inline constexpr char16_t kFeedSeparator[] = u" \u25C6 ";

// The title of an RSS 2.0, RSS 1.0 or Atom feed, then the title of each of its items in
// their order, joined by kFeedSeparator. Titles given as HTML (Atom's type="html", or an RSS
// title holding markup or references) are shown as their text. A feed that breaks off or
// is not well formed gives the titles read before the break, whole ones only; nothing when
// no title could be read.
QString FeedText(QStringView xml, WorkYield& yield);

} // namespace WebText
