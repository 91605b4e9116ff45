#pragma once

#include "toolkit/HttpFetch.h"

#include <QString>

// The line a fetched document puts on the strip: an HTML page's text as a browser shows it,
// a feed's title and the titles of its items, and anything else (plain text, a feed of
// which nothing could be read) through the same cleanup as a local file.
QString WebStripText(const toolkit::WebDocument& document);
