// The text of a fetched HTML page: libxml2's HTML parser fed in slices, with every named
// reference rewritten as numeric ones on the way in.
//
// Input: one mode byte, then the page: UTF-8 for an even mode, raw UTF-16 code units (lone
// surrogates and NUL included) for an odd one. What must hold for every page:
//   - the result has no blank, tab or line break at either end, and no two blanks in a row;
//   - it has no more characters other than blanks than the page (every reference is longer
//     than what it stands for), so nothing is read twice where slices meet;
//   - a page without "<" or "&" keeps its characters, only the blanks folded.

#include "app/WebText.h"
#include "toolkit/WorkYield.h"

#include "FuzzInput.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

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
        fuzz::Expect(text == folded(page), "plain text changed", page + QStringLiteral(" -> ") + text);
    return 0;
}
