#include "util/CFileStream.h"

#include "ErrorOf.h"
#include "TempFolder.h"

#include "toolkit/FileTable.h"
#include "support/Overrides.h"

#include <QDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <sys/stat.h>

using toolkit::FileTable;
using Bytes = std::vector<uint8_t>;

namespace {

class CFileStreamTest : public ::testing::Test {
protected:
    // The system code page of these cases is UTF-8, whatever the machine's locale.
    static void SetUpTestSuite() { qputenv("LC_ALL", "C.UTF-8"); }

    // The text read from the path, and whether the read failed.
    static std::pair<QString, bool> Read(CFileStream& reader, const QString& path) {
        reader.SetPath(path);
        return {reader.Ascii(), reader.Error()}; // a braced list runs left to right
    }

    TempFolder tmp;
};

TEST_F(CFileStreamTest, UnreadablePathsFailWithEmptyResults) {
    tmp.write("a", "abc");
    ASSERT_EQ(::mkfifo(tmp.path("fifo").toLocal8Bit().constData(), 0600), 0);
    const std::pair<QString, bool> paths[] = {
        {tmp.path("missing.txt"), false},
        {tmp.dir.path(), false},
        {tmp.path("fifo"), false},                               // must not wait for a writer
        {tmp.path("a") + QChar(0) + QStringLiteral("b"), false}, // must not open "a"
        // A length of 0, then data, as a file that grows would give: the byte read fails.
        {QStringLiteral("/proc/self/status"), true},
    };
    for (const auto& [path, bytes] : paths) {
        SCOPED_TRACE(path.toStdString());
        CFileStream reader;
        reader.SetPath(path);
        const bool empty = bytes ? reader.Binary().empty() : reader.Ascii().isEmpty();
        EXPECT_EQ(std::pair(empty, reader.Error()), std::pair(true, true));
    }
}

TEST_F(CFileStreamTest, AReadNestedInALongReadLeavesTheOuterReadItsOwnOutcome) {
    const QString big = tmp.write("big.txt", QByteArray("line\n").repeated(1 << 20));
    const QString bad = tmp.write("bad.txt", "a\x1a");
    CFileStream reader;
    bool nestedError = false;
    QTimer::singleShot(0, [&] {
        nestedError = Read(reader, bad) == std::pair(QString(), true);
    });
    const testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
    const auto [text, error] = Read(reader, big);
    EXPECT_EQ(std::tuple(text.size(), error, nestedError), std::tuple(5 << 20, false, true));
}

// A write replaces the content; text that cannot be encoded keeps the old one. A byte write
// leaves out the last element and keeps what lies past the new bytes in a longer file.
TEST_F(CFileStreamTest, WritesReplaceTheContentOrKeepItOnUnencodableText) {
    CFileStream reader;
    reader.SetPath(tmp.write("out.txt", "a much longer old content"));
    reader.SetAscii(QStringLiteral("\u3042\r\nb"));
    EXPECT_FALSE(reader.Error());
    reader.SetAscii(QString(QChar(0xd800))); // a lone surrogate has no encoding
    EXPECT_TRUE(reader.Error());
    EXPECT_EQ(tmp.read("out.txt"), QByteArray("\xe3\x81\x82\r\nb"));
    EXPECT_EQ(reader.Ascii(), QStringLiteral("\u3042\r\nb"));

    tmp.write("five", "12345");
    const struct {
        const char* name;
        Bytes written;
        QByteArray content;
    } cases[] = {{"new", {0x61, 0, 0xff, 0x7f}, QByteArray("a\0\xff", 3)}, {"five", {'x', 'y', 0}, "xy345"}, {"one", {9}, ""}};
    for (const auto& c : cases) {
        reader.SetPath(tmp.path(c.name));
        reader.SetBinary(c.written);
        EXPECT_FALSE(reader.Error()) << c.name;
        EXPECT_EQ(tmp.read(c.name), c.content) << c.name;
        EXPECT_EQ(reader.Binary(), Bytes(c.content.begin(), c.content.end() + 1)) << "read with a 0 after it";
    }
}

TEST_F(CFileStreamTest, ANumberIsKeptThroughFailuresFreedAtDestructionAndTheLastOneServesToo) {
    const int16_t first = FileTable::FreeFile();
    auto reader = std::make_unique<CFileStream>();
    EXPECT_EQ(Read(*reader, tmp.path("missing")), std::pair(QString(), true));
    EXPECT_EQ(FileTable::FreeFile(), first + 1); // still taken, though nothing is open on it

    CFileStream other; // takes its own number, and keeps its file open
    EXPECT_EQ(Read(other, tmp.write("b", "b")), std::pair(QStringLiteral("b"), false));
    EXPECT_EQ(Read(*reader, tmp.write("a", "a")), std::pair(QStringLiteral("a"), false));

    // An empty path or array fails before anything is closed, taken or written.
    EXPECT_EQ(Read(*reader, QString()), std::pair(QString(), true));
    reader->SetPath(tmp.path("never"));
    reader->SetBinary({}); // never sized: no content to write
    EXPECT_TRUE(reader->Error());
    EXPECT_EQ(
        std::tuple(FileTable::IsOpen(first), FileTable::IsOpen(first + 1), FileTable::FreeFile()),
        std::tuple(true, true, first + 2));
    EXPECT_EQ(QDir(tmp.dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    reader.reset();
    EXPECT_FALSE(FileTable::IsOpen(first));
    CFileStream third;
    EXPECT_EQ(Read(third, tmp.path("a")), std::pair(QStringLiteral("a"), false));
    EXPECT_TRUE(FileTable::IsOpen(first));

    // With every number taken a read fails until one is free; the last number serves like any
    // other.
    for (int16_t n = first + 2; n <= FileTable::MaxNumber; ++n)
        FileTable::Hold(n);
    EXPECT_EQ(errorOf([] { FileTable::FreeFile(); }), 75);
    reader = std::make_unique<CFileStream>();
    EXPECT_EQ(Read(*reader, tmp.path("a")), std::pair(QString(), true));
    FileTable::Release(FileTable::MaxNumber);
    EXPECT_EQ(Read(*reader, tmp.path("a")), std::pair(QStringLiteral("a"), false));
    EXPECT_TRUE(FileTable::IsOpen(FileTable::MaxNumber));
    for (int16_t n = first + 2; n < FileTable::MaxNumber; ++n)
        FileTable::Release(n);
}

// The numbered-file table underneath: each misuse fails. Missing files and folders are the
// unreadable paths' rows.
TEST_F(CFileStreamTest, FileTableFailuresRaise) {
    using Mode = FileTable::Mode;
    const QString good = tmp.write("good", "abc");
    const int16_t n = FileTable::FreeFile();
    const auto open = [n](const QString& path, Mode mode) { return [=] { FileTable::Open(n, path, mode); }; };
    for (const int bad : {0, -1, FileTable::MaxNumber + 1})
        EXPECT_EQ(errorOf([&] { FileTable::Open(bad, good, Mode::BinaryRead); }), 75) << bad;
    EXPECT_EQ(errorOf([n] { FileTable::Read(n, 1); }), 75); // nothing open on it
    EXPECT_EQ(errorOf([n] { FileTable::Length(n); }), 75);
    EXPECT_EQ(errorOf(open(good + QStringLiteral("/below"), Mode::BinaryWrite)), 75);

    ASSERT_EQ(errorOf(open(good, Mode::TextInput)), 0);
    EXPECT_EQ(errorOf(open(good, Mode::TextInput)), 75);
    EXPECT_EQ(errorOf([n] { FileTable::Hold(n); }), 75);
    EXPECT_EQ(errorOf([n] { FileTable::Write(n, "x"); }), 75);
    EXPECT_EQ(errorOf([n] { FileTable::Read(n, -1); }), 75);
    FileTable::Close(n);
    ASSERT_EQ(errorOf(open(good, Mode::BinaryWrite)), 0);
    EXPECT_EQ(errorOf([n] { FileTable::Read(n, 1); }), 75);
    EXPECT_EQ(errorOf([n] { FileTable::AtEnd(n); }), 75);
    FileTable::Close(n);

    // A file longer than an Int32 holds overflows, and leaves nothing open; some file systems
    // have no sparse files for it.
    QFile big(tmp.path("big"));
    if (big.open(QIODevice::WriteOnly) && big.resize(qint64{1} << 31)) {
        EXPECT_EQ(errorOf(open(big.fileName(), Mode::BinaryRead)), 6);
        EXPECT_FALSE(FileTable::IsOpen(n));
    }
}

} // namespace
