// The text of a fetched page: the character set from a byte order mark, the Content-Type
// header, an HTML meta tag, valid UTF-8, else the system code page; and the check a fetch
// makes once headers arrive (whether the type is text).
//
// Input: one byte n, then n bytes of Content-Type header value, then the body. What must hold
// for every input:
//   - a UTF-8 byte order mark, or a header that says UTF-8 with no other mark, reads the
//     body exactly as UTF-8;
//   - a body that is valid UTF-8, with no mark, no charset in the header and no "charset" or
//     "encoding" anywhere near its start (where a meta tag or an XML declaration would be),
//     reads exactly as UTF-8.

#include "toolkit/HttpFetch.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    fuzz::EnsureApplication();
    const size_t headerSize = std::min<size_t>(data[0], size - 1);
    const QByteArray contentType = fuzz::Bytes(data + 1, headerSize);
    const QByteArray body = fuzz::Bytes(data + 1 + headerSize, size - 1 - headerSize);

    const QString text = toolkit::DecodeWebText(body, contentType);
    (void)toolkit::IsTextContent(contentType, body);

    const QByteArray type = contentType.toLower();
    const bool marked =
        body.startsWith("\xEF\xBB\xBF") || body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF");
    if (body.startsWith("\xEF\xBB\xBF")) {
        // Only the first mark is one: a second is the character U+FEFF of the text.
        fuzz::Expect(text == fuzz::Utf8KeepingMarks(body.mid(3)), "a UTF-8 mark did not read as UTF-8");
    } else if (!marked && !type.contains("charset") &&
               !body.left(8192).toLower().contains("charset") &&
               !body.left(8192).contains("encoding") && fuzz::IsValidUtf8(body)) {
        fuzz::Expect(text == QString::fromUtf8(body), "valid UTF-8 without a label read otherwise");
    }
    if (!marked && type.trimmed() == "text/html; charset=utf-8") {
        fuzz::Expect(text == QString::fromUtf8(body), "a UTF-8 header did not read as UTF-8");
    }

    return 0;
}
