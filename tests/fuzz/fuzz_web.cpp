// A fetched document as the strip shows it: its kind found by type and content, a feed read
// with QXmlStreamReader into its titles, an HTML page through libxml2's HTML parser fed in
// slices, with every named reference rewritten as numeric ones on the way in, anything else
// through the plain cleanup.
//
// Input: one mode byte, then the document: UTF-8 for an even mode, raw UTF-16 code units (lone
// surrogates and NUL included) for an odd one; the mode's other bits choose the Content-Type
// from a fixed list. What must hold for every document:
//   - its titles read as a feed, and its text read as a page, are folded: no blank, tab or
//     line break at either end, no two blanks in a row (so no empty title between two
//     separators);
//   - the page's text has no more characters other than blanks than the page (every
//     reference is longer than what it stands for), so nothing is read twice where slices
//     meet;
//   - a page without "<" or "&" keeps its characters, only the blanks folded;
//   - the strip text of the document never crashes or hangs, whatever its kind.

#include "app/ModuleMain.h"
#include "app/WebText.h"
#include "toolkit/WorkYield.h"

#include "FuzzInput.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace {

const char* const kTypes[] = {"",           "application/rss+xml", "application/atom+xml",
                              "text/xml",   "application/xml",     "text/html",
                              "text/plain", "application/rdf+xml"};

qsizetype nonBlank(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !fuzz::IsBlank(c); });
}

QString folded(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("[ \\t\\n\\r\\f]+")), Qt::SkipEmptyParts)
        .join(u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    fuzz::EnsureApplication();
    const QString page = data[0] % 2 ? fuzz::Utf16(data + 1, size - 1)
                                     : QString::fromUtf8(fuzz::Bytes(data + 1, size - 1));
    toolkit::WorkYield yield;
    fuzz::ExpectFolded(WebText::FeedText(page, yield));
    (void)ModuleMain::WebStripText({page, kTypes[data[0] / 2 % std::size(kTypes)]});

    const QString text = WebText::HtmlText(page, yield);
    fuzz::ExpectFolded(text);
    fuzz::Expect(nonBlank(text) <= nonBlank(page), "longer than the page", text);
    // Plain characters pass through the parser unchanged, apart from the blanks; characters
    // the parser may reject (controls, NUL, surrogates, non-characters) are left out of this.
    bool plain = !page.contains(u'<') && !page.contains(u'&');
    for (const QChar c : page) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !fuzz::IsBlank(c)) || (u >= 0x7f && u < 0xa0) || c.isSurrogate() ||
            u >= 0xfdd0 || u == 0xfeff)
            plain = false;
    }
    if (plain)
        fuzz::Expect(text == folded(page), "plain text changed",
                     page + QStringLiteral(" -> ") + text);
    return 0;
}
