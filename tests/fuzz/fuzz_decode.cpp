// Bytes of a local file to text: the UTF-8 path of a UTF-8 locale (with its CP932 fallback for
// files from older systems), a named code page (CP932), and the whole read through
// the file reader, where a 0x1A byte ends the text and reports the file as damaged.
//
// Input: the bytes of the file. What must hold for every input:
//   - every decoder turns each NUL byte into one U+0000 and never yields more units than
//     there were bytes;
//   - valid UTF-8 (after a leading byte order mark, which is dropped; a second one is a
//     character of the text) reads exactly as UTF-8 and writes back to the same bytes;
//   - the file reader reports an error and gives no text exactly when a 0x1A is present;
//     otherwise it gives the system code page's reading of all the bytes.

#include "toolkit/CodePage.h"
#include "util/CFileStream.h"

#include "FuzzInput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_dir;

void CheckDecoded(const QByteArray& bytes, const QString& text, const char* charset) {
    fuzz::Expect(text.count(QChar(u'\0')) == bytes.count('\0'),
                 "a NUL byte did not become exactly one U+0000",
                 QString::fromLatin1(charset));
    fuzz::Expect(text.size() <= bytes.size(), "more characters than bytes",
                 QString::fromLatin1(charset));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnsureApplication();
    // In memory when the system offers it: opening a file on a disk costs more than the rest.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                     : QDir::tempPath();
    g_dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/vorn-fuzz-XXXXXX"));
    if (!g_dir->isValid())
        fuzz::Fail("no temporary folder for the file reader");
    std::atexit([] { g_dir.reset(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);

    const QString utf8 = toolkit::DecodeCodePage(bytes, "UTF-8");
    CheckDecoded(bytes, utf8, "UTF-8");
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    if (fuzz::IsValidUtf8(body)) {
        // Only the first mark is one: a second is the character U+FEFF of the text.
        fuzz::Expect(utf8 == fuzz::Utf8KeepingMarks(body), "valid UTF-8 read as something else");
        fuzz::Expect(toolkit::EncodeCodePage(utf8, "UTF-8") == body,
                     "valid UTF-8 did not write back to the same bytes");
    }
    CheckDecoded(bytes, toolkit::DecodeCodePage(bytes, "CP932"), "CP932");

    const QString path = g_dir->filePath(QStringLiteral("input.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            fuzz::Fail("could not write the input file");
    }
    CFileStream reader;
    reader.SetPath(path);
    const QString read = reader.Ascii();
    if (bytes.contains('\x1A')) {
        fuzz::Expect(reader.Error(), "a 0x1A byte was not reported");
        fuzz::Expect(read.isEmpty(), "a damaged file still gave text");
    } else {
        fuzz::Expect(!reader.Error(), "a file without 0x1A was reported as damaged");
        fuzz::Expect(read == toolkit::DecodeSystem(bytes),
                     "the reader's text differs from the code page's reading of the file");
    }
    const std::vector<uint8_t> raw = reader.Binary(); // one element more than the file's bytes
    fuzz::Expect(!reader.Error() && fuzz::Bytes(raw.data(), raw.size()) == bytes + '\0',
                 "the binary read differs from the file");
    return 0;
}
