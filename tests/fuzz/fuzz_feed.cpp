// A fetched document as the strip shows it: its kind found by type and content, a feed read
// with QXmlStreamReader into its titles, an HTML page through its text, anything else
// through the plain cleanup.
//
// Input: one byte choosing the Content-Type (from a fixed list), then the document in UTF-8.
// What must hold for every document:
//   - a feed's titles are each folded and joined by the separator: no blank, tab or line
//     break at either end, no two blanks in a row, no empty title between two separators;
//   - the strip text of the document never crashes or hangs, whatever its kind.

#include "app/ModuleMain.h"
#include "app/WebText.h"
#include "toolkit/WorkYield.h"

#include "FuzzInput.h"

#include <iterator>

namespace {

const char* const kTypes[] = {"", "application/rss+xml", "application/atom+xml", "text/xml",
                              "application/xml", "text/html", "text/plain",
                              "application/rdf+xml"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    fuzz::EnsureApplication();
    const toolkit::WebDocument document{QString::fromUtf8(fuzz::Bytes(data + 1, size - 1)),
                                        kTypes[data[0] % std::size(kTypes)]};
    toolkit::WorkYield yield;
    const QString titles = WebText::FeedText(document.text, yield);
    fuzz::ExpectFolded(titles);
    (void)ModuleMain::WebStripText(document);
    return 0;
}
