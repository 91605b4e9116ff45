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

    static QString AsciiOf(CFileStream& reader, const QString& path) {
        reader.SetPath(path);
        return reader.Ascii();
    }

    TempFolder tmp;
};

// Text is read in the system code page (Shift_JIS files of older systems too), keeping line
// ends and NULs; an end-of-text marker anywhere fails the text read. The byte read gives the
// file with one zero element more.
TEST_F(CFileStreamTest, EachFileReadsAsTextAndAsBytes) {
    const struct {
        QByteArray content;
        QString text;
        bool textFails = false;
    } cases[] = {
        {"\x82\xa0\x82\xa2\r\n\x83\x65\x83\x58\x83\x67\r\n", QStringLiteral("\u3042\u3044\r\n\u30c6\u30b9\u30c8\r\n")},
        {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\n", QStringLiteral("\u65e5\u672c\u8a9e\n")},
        {QByteArray("\0a\0\0b\0", 6), QString::fromUtf16(u"\0a\0\0b\0", 6)},
        {"", QString()},
        {"\032abc", QString(), true},
        {"ab\032c", QString(), true},
        {"abc\032", QString(), true},
        {"\032", QString(), true},
    };
    CFileStream reader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.toHex().toStdString());
        EXPECT_EQ(AsciiOf(reader, tmp.write("file", c.content)), c.text);
        EXPECT_EQ(reader.Error(), c.textFails);
        Bytes expected(c.content.begin(), c.content.end());
        expected.push_back(0);
        EXPECT_EQ(reader.Binary(), expected);
        EXPECT_FALSE(reader.Error());
    }
    // It reports a length of 0 and then delivers data, as a file that grows would.
    reader.SetPath(QStringLiteral("/proc/self/status"));
    if (QFile::exists(reader.Path())) {
        EXPECT_TRUE(reader.Binary().empty());
        EXPECT_TRUE(reader.Error());
    }
}

TEST_F(CFileStreamTest, UnreadablePathsFailWithEmptyResults) {
    tmp.write("a", "abc");
    ASSERT_EQ(::mkfifo(tmp.path("fifo").toLocal8Bit().constData(), 0600), 0);
    const QString paths[] = {
        tmp.path("missing.txt"),
        tmp.path("no/such/dir.txt"),
        tmp.dir.path(),
        tmp.path("fifo"),                               // must not wait for a writer
        tmp.path("a") + QChar(0) + QStringLiteral("b"), // must not open "a"
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        CFileStream reader;
        EXPECT_EQ(AsciiOf(reader, path), QString());
        EXPECT_TRUE(reader.Error());
        EXPECT_TRUE(reader.Binary().empty());
        EXPECT_TRUE(reader.Error());
    }
    EXPECT_FALSE(QFile::exists(tmp.path("missing.txt")));
    EXPECT_EQ(tmp.read("a"), QByteArray("abc"));
}

TEST_F(CFileStreamTest, EmptyPathOrArrayFailsAndTouchesNothing) {
    CFileStream reader;
    const int16_t number = FileTable::FreeFile();
    ASSERT_EQ(AsciiOf(reader, tmp.write("a.txt", "abc")), QStringLiteral("abc"));

    EXPECT_EQ(AsciiOf(reader, QString()), QString());
    EXPECT_TRUE(reader.Error());
    EXPECT_TRUE(reader.Binary().empty());
    reader.SetAscii(QStringLiteral("x"));
    EXPECT_TRUE(reader.Error());
    reader.SetPath(tmp.path("never"));
    reader.SetBinary({}); // never sized: no content to write
    EXPECT_TRUE(reader.Error());

    EXPECT_TRUE(FileTable::IsOpen(number)); // the file of the last good read stays open
    EXPECT_EQ(FileTable::FreeFile(), number + 1);
    EXPECT_EQ(QDir(tmp.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
}

TEST_F(CFileStreamTest, FileLongerThanAnInt32HoldsIsRefused) {
    QFile big(tmp.path("big"));
    if (!big.open(QIODevice::WriteOnly) || !big.resize(qint64{1} << 31))
        GTEST_SKIP() << "no sparse files here";
    big.close();
    const int16_t n = FileTable::FreeFile();
    EXPECT_EQ(errorOf([&] { FileTable::Open(n, big.fileName(), FileTable::Mode::BinaryRead); }), 6);
    EXPECT_FALSE(FileTable::IsOpen(n));
    CFileStream reader;
    reader.SetPath(big.fileName());
    EXPECT_TRUE(reader.Binary().empty());
    EXPECT_TRUE(reader.Error());
    EXPECT_EQ(reader.Ascii(), QString());
    EXPECT_TRUE(reader.Error());
}

TEST_F(CFileStreamTest, AReadNestedInALongReadLeavesTheOuterReadItsOwnOutcome) {
    const QString big = tmp.write("big.txt", QByteArray("line\n").repeated(1 << 20));
    const QString bad = tmp.write("bad.txt", "a\x1a");
    CFileStream reader;
    bool nestedError = false;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(AsciiOf(reader, bad), QString());
        nestedError = reader.Error();
    });
    const testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
    EXPECT_EQ(AsciiOf(reader, big).size(), 5 << 20);
    EXPECT_TRUE(nestedError);
    EXPECT_FALSE(reader.Error());
}

// A write replaces the content; text that cannot be encoded keeps the old one. A byte write
// leaves out the last element and keeps what lies past the new bytes in a longer file.
TEST_F(CFileStreamTest, WritesReplaceTheContentOrKeepItOnUnencodableText) {
    CFileStream reader;
    reader.SetPath(tmp.write("out.txt", "a much longer old content"));
    reader.SetAscii(QStringLiteral("\u3042\r\nb"));
    EXPECT_FALSE(reader.Error());
    EXPECT_EQ(reader.Ascii(), QStringLiteral("\u3042\r\nb"));
    reader.SetAscii(QString(QChar(0xd800))); // a lone surrogate has no encoding
    EXPECT_TRUE(reader.Error());
    EXPECT_EQ(tmp.read("out.txt"), QByteArray("\xe3\x81\x82\r\nb"));

    QByteArray all(256, 0);
    for (int i = 0; i < all.size(); ++i)
        all[i] = char(i);
    reader.SetPath(tmp.write("all", all));
    const Bytes bytes = reader.Binary();
    tmp.write("five", "12345");
    const struct {
        const char* name;
        Bytes written;
        QByteArray content;
    } cases[] = {{"copy", bytes, all}, {"new", {0x61, 0x62, 0x63, 0x7f}, "abc"}, {"five", {'x', 'y', 0}, "xy345"}, {"one", {9}, ""}};
    for (const auto& c : cases) {
        reader.SetPath(tmp.path(c.name));
        reader.SetBinary(c.written);
        EXPECT_FALSE(reader.Error()) << c.name;
        EXPECT_EQ(tmp.read(c.name), c.content) << c.name;
    }
}

TEST_F(CFileStreamTest, ANumberIsKeptThroughFailuresAndFreedAtDestruction) {
    const int16_t first = FileTable::FreeFile();
    auto reader = std::make_unique<CFileStream>();
    EXPECT_EQ(AsciiOf(*reader, tmp.path("missing")), QString());
    EXPECT_TRUE(reader->Error());
    EXPECT_EQ(FileTable::FreeFile(), first + 1); // still taken, though nothing is open on it

    CFileStream other; // takes its own number, and keeps its file open
    EXPECT_EQ(AsciiOf(other, tmp.write("b", "b")), QStringLiteral("b"));
    EXPECT_EQ(AsciiOf(*reader, tmp.write("a", "a")), QStringLiteral("a"));
    EXPECT_FALSE(reader->Error());
    EXPECT_TRUE(FileTable::IsOpen(first));
    EXPECT_TRUE(FileTable::IsOpen(first + 1));

    reader.reset();
    EXPECT_FALSE(FileTable::IsOpen(first));
    CFileStream third;
    EXPECT_EQ(AsciiOf(third, tmp.path("a")), QStringLiteral("a"));
    EXPECT_TRUE(FileTable::IsOpen(first));
}

TEST_F(CFileStreamTest, EveryNumberUpToTheLastIsHandedOutThenTheReadFailsUntilOneIsFree) {
    const QString path = tmp.write("a", "a");
    std::vector<int16_t> held;
    while (errorOf([&] { held.push_back(FileTable::FreeFile()); }) == 0)
        FileTable::Hold(held.back());
    EXPECT_EQ(errorOf([] { FileTable::FreeFile(); }), 75);
    ASSERT_FALSE(held.empty());
    EXPECT_EQ(held.back(), FileTable::MaxNumber);
    CFileStream reader;
    EXPECT_EQ(AsciiOf(reader, path), QString());
    EXPECT_TRUE(reader.Error());
    FileTable::Release(FileTable::MaxNumber); // the last number serves like any other
    EXPECT_EQ(AsciiOf(reader, path), QStringLiteral("a"));
    EXPECT_TRUE(FileTable::IsOpen(FileTable::MaxNumber));
    held.pop_back();
    for (const int16_t n : held)
        FileTable::Release(n);
}

// The numbered-file table underneath: each misuse fails.
TEST_F(CFileStreamTest, FileTableFailuresRaise) {
    using Mode = FileTable::Mode;
    const QString good = tmp.write("good", "abc");
    const int16_t n = FileTable::FreeFile();
    const auto open = [n](const QString& path, Mode mode) { return [=] { FileTable::Open(n, path, mode); }; };
    const std::function<void()> misuses[] = {
        [&] { FileTable::Open(0, good, Mode::BinaryRead); },
        [&] { FileTable::Open(-1, good, Mode::BinaryRead); },
        [&] { FileTable::Open(FileTable::MaxNumber + 1, good, Mode::BinaryRead); },
        [n] { FileTable::Read(n, 1); }, // nothing open on it
        [n] { FileTable::Length(n); },
        open(tmp.path("missing"), Mode::TextInput),
        open(good + QStringLiteral("/below"), Mode::BinaryWrite),
        open(tmp.dir.path(), Mode::BinaryRead),
        open(QString(), Mode::BinaryRead),
    };
    for (size_t i = 0; i < std::size(misuses); ++i)
        EXPECT_EQ(errorOf(misuses[i]), 75) << "case " << i;

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
    EXPECT_FALSE(FileTable::IsOpen(n));
    EXPECT_EQ(tmp.read("good"), QByteArray("abc"));
}

} // namespace
