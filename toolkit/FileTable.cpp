#include "toolkit/FileTable.h"

#include "toolkit/Error.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

namespace {

constexpr char kEndOfTextMarker = 0x1A;

// Every failure is raised alike: the one user of the table, CFileStream, turns any of them
// into its Error flag.
Error FileError() {
    return {75, QStringLiteral("Path/File access error")};
}

struct Entry {
    std::unique_ptr<QFile> file;
    FileTable::Mode mode = FileTable::Mode::BinaryRead;
    bool held = false;
    bool markerMet = false; // text input met 0x1A: nothing after it is readable
};

// Used from the user-interface thread only; entry 0 is never used.
std::array<Entry, FileTable::MaxNumber + 1> entries;

Entry& EntryOf(int16_t number) {
    if (number < 1 || number > FileTable::MaxNumber)
        throw FileError();
    return entries[static_cast<size_t>(number)];
}

Entry& OpenEntryOf(int16_t number) {
    Entry& entry = EntryOf(number);
    if (!entry.file)
        throw FileError();
    return entry;
}

bool IsReadMode(FileTable::Mode mode) {
    return mode == FileTable::Mode::BinaryRead || mode == FileTable::Mode::TextInput;
}

// Opens with the POSIX call rather than QFile's own, because QFile cannot open for writing
// without shortening the file, and because the type of what was opened must be checked on
// the open descriptor itself. O_NONBLOCK keeps the open of a pipe from waiting for a writer.
int OpenDescriptor(const QString& path, FileTable::Mode mode) {
    const QByteArray name = QFile::encodeName(path);
    // A NUL would cut the name short and open some other file.
    if (name.isEmpty() || name.contains('\0'))
        throw FileError();

    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    flags |= IsReadMode(mode) ? O_RDONLY : O_WRONLY | O_CREAT;
    if (mode == FileTable::Mode::TextOutput)
        flags |= O_TRUNC;
    const int fd = TEMP_FAILURE_RETRY(::open(name.constData(), flags, 0666));
    if (fd < 0)
        throw FileError();

    struct stat info {};
    const bool statted = ::fstat(fd, &info) == 0;
    const bool regular = statted && S_ISREG(info.st_mode);
    const bool tooLong = statted && info.st_size > std::numeric_limits<int32_t>::max();
    const int status = regular ? ::fcntl(fd, F_GETFL) : -1;
    if (!regular || tooLong || status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0) {
        ::close(fd);
        throw tooLong ? Error::Overflow() : FileError();
    }
    return fd;
}

} // namespace

int16_t FileTable::FreeFile() {
    for (int16_t number = 1; number <= MaxNumber; ++number) {
        const Entry& entry = entries[static_cast<size_t>(number)];
        if (!entry.file && !entry.held)
            return number;
    }
    throw FileError();
}

void FileTable::Hold(int16_t number) {
    Entry& entry = EntryOf(number);
    if (entry.file || entry.held)
        throw FileError();
    entry.held = true;
}

void FileTable::Release(int16_t number) {
    Close(number);
    EntryOf(number).held = false;
}

void FileTable::Open(int16_t number, const QString& path, Mode mode) {
    Entry& entry = EntryOf(number);
    if (entry.file)
        throw FileError();

    const int fd = OpenDescriptor(path, mode);
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode access =
        IsReadMode(mode) ? QIODevice::ReadOnly : QIODevice::WriteOnly;
    if (!file->open(fd, access, QFileDevice::AutoCloseHandle)) {
        // Whether QFile already let go of the descriptor is unknown here; leaking it is
        // safer than closing a number that may have been reused.
        throw FileError();
    }
    entry.file = std::move(file);
    entry.mode = mode;
    entry.markerMet = false;
}

bool FileTable::IsOpen(int16_t number) {
    return EntryOf(number).file != nullptr;
}

int32_t FileTable::Length(int16_t number) {
    const qint64 size = OpenEntryOf(number).file->size();
    if (size < 0 || size > std::numeric_limits<int32_t>::max())
        throw Error::Overflow();
    return static_cast<int32_t>(size);
}

QByteArray FileTable::Read(int16_t number, int32_t count) {
    Entry& entry = OpenEntryOf(number);
    if (!IsReadMode(entry.mode) || count < 0)
        throw FileError();
    if (entry.markerMet)
        return {};

    // QFile reads on until it has the count or meets the end of the file.
    QByteArray data(count, Qt::Uninitialized);
    const qint64 got = entry.file->read(data.data(), count);
    if (got < 0)
        throw FileError();
    data.truncate(got);

    if (entry.mode == Mode::TextInput) {
        const qsizetype marker = data.indexOf(kEndOfTextMarker);
        if (marker >= 0) {
            data.truncate(marker);
            entry.markerMet = true;
        }
    }
    return data;
}

bool FileTable::AtEnd(int16_t number) {
    Entry& entry = OpenEntryOf(number);
    if (!IsReadMode(entry.mode))
        throw FileError();
    if (entry.markerMet)
        return true;
    // Peek rather than compare with the length: a file may hold more than its length says.
    char next = 0;
    const qint64 got = entry.file->peek(&next, 1);
    if (got < 0)
        throw FileError();
    return got == 0 || (entry.mode == Mode::TextInput && next == kEndOfTextMarker);
}

void FileTable::Write(int16_t number, const QByteArray& bytes) {
    Entry& entry = OpenEntryOf(number);
    if (IsReadMode(entry.mode))
        throw FileError();
    if (entry.file->write(bytes) != bytes.size() || !entry.file->flush())
        throw FileError();
}

void FileTable::Close(int16_t number) {
    EntryOf(number).file.reset();
}

} // namespace toolkit
