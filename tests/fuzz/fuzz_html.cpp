// The text of a fetched HTML page: libxml2's HTML parser fed in slices, with every named
// reference rewritten as numeric ones on the way in.
//
// Input: one mode byte, then the page: UTF-8 for an even mode, raw UTF-16 code units (lone
// surrogates and NUL included) for an odd one. What must hold for every page:
//   - the result has no blank, tab or line break at either end, and no two blanks in a row;
//   - it has no more characters other than blanks than the page (every reference is longer
//     than what it stands for), so nothing is read twice where slices meet;
//   - a page without "<" or "&" keeps its characters, only the blanks folded.

#include "toolkit/WebText.h"
#include "toolkit/WorkYield.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A failed expectation, which the fuzzer records as a crash with its input.
void Expect(bool condition, const char* what, const QString& detail) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz expectation failed: %s\n%s\n", what,
                 detail.left(2000).toUtf8().constData());
    std::abort();
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

qsizetype nonBlank(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !isBlank(c); });
}

QString folded(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("[ \\t\\n\\r\\f]+")), Qt::SkipEmptyParts)
        .join(u' ');
}

// The bytes read as UTF-16 code units, low byte first; an odd last byte is dropped. Every
// unit value is possible, lone surrogates included.
QString utf16(const uint8_t* data, size_t size) {
    QString text;
    text.resize(static_cast<qsizetype>(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The yields of a long parse let pending events run, which needs an application object.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QString page =
        data[0] % 2 ? utf16(data + 1, size - 1)
                    : QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    toolkit::WorkYield yield;
    const QString text = toolkit::HtmlText(page, yield);
    Expect(text.isEmpty() || (!isBlank(text.front()) && !isBlank(text.back())), "a blank at an end", text);
    Expect(!text.contains(QStringLiteral("  ")), "two blanks in a row", text);
    for (const QChar c : text)
        Expect(c == u' ' || !isBlank(c), "a tab or line break in the text", text);
    Expect(nonBlank(text) <= nonBlank(page), "longer than the page", text);
    // Plain characters pass through the parser unchanged, apart from the blanks; characters
    // the parser may reject (controls, NUL, surrogates, non-characters) are left out of this.
    bool plain = !page.contains(u'<') && !page.contains(u'&');
    for (const QChar c : page) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !isBlank(c)) || (u >= 0x7f && u < 0xa0) || c.isSurrogate() ||
            u >= 0xfdd0 || u == 0xfeff)
            plain = false;
    }
    if (plain)
        Expect(text == folded(page), "plain text changed", page + QStringLiteral(" -> ") + text);
    return 0;
}
