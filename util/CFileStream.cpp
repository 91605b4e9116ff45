#include "util/CFileStream.h"

#include "toolkit/CodePage.h"
#include "toolkit/Error.h"
#include "toolkit/WorkYield.h"

#include <algorithm>

using toolkit::FileTable;

namespace {

constexpr int32_t kKindBytes = 0;
constexpr int32_t kKindText = 1;
constexpr int32_t kDirectionRead = 0;
constexpr int32_t kDirectionWrite = 1;

// A long file is read in pieces of this size, with pending events let in between.
constexpr int32_t kPieceBytes = 1 << 20;

} // namespace

CFileStream::~CFileStream() {
    if (m_intFileNumber == 0)
        return;
    try {
        FileTable::Release(m_intFileNumber);
    } catch (...) {
        // Nothing is left to report to: the reader is gone.
    }
}

template <class Step> bool CFileStream::Succeeded(Step step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        m_blnError = true;
        return false;
    }
}

std::vector<uint8_t> CFileStream::Binary() noexcept {
    OpenFile(kKindBytes, kDirectionRead);
    std::vector<uint8_t> bytBuffer;
    if (m_blnError || !Succeeded([&] { ReadAllBytes(bytBuffer); }))
        return {};
    return bytBuffer;
}

void CFileStream::SetBinary(const std::vector<uint8_t>& RHS) noexcept {
    // An array that was never sized is no content at all; fail before the open so that no
    // file is created or replaced for it.
    if (RHS.empty()) {
        m_blnError = true;
        return;
    }
    // The element at the upper bound is the terminator that a read adds.
    WriteAll(kKindBytes, QByteArray::fromRawData(reinterpret_cast<const char*>(RHS.data()),
                                                 static_cast<qsizetype>(RHS.size() - 1)));
}

QString CFileStream::Ascii() noexcept {
    OpenFile(kKindText, kDirectionRead);
    QString text;
    if (m_blnError ||
        !Succeeded([&] { text = toolkit::DecodeSystem(ReadPieces(FileTable::Mode::TextInput)); }))
        return {};
    // A long decode lets events in, and a handler may have used this reader meanwhile; Error
    // tells of the operation that ended last, this one.
    m_blnError = false;
    return text;
}

void CFileStream::SetAscii(QString RHS) noexcept {
    // Encode before the open empties the file, so that text the code page cannot hold leaves
    // the old content in place.
    QByteArray bytes;
    if (Succeeded([&] { bytes = toolkit::EncodeSystem(RHS); }))
        WriteAll(kKindText, bytes);
}

void CFileStream::WriteAll(int32_t vlngKind, const QByteArray& bytes) noexcept {
    OpenFile(vlngKind, kDirectionWrite);
    if (!m_blnError)
        Succeeded([&] { FileTable::Write(m_intFileNumber, bytes); });
}

void CFileStream::ReadAllBytes(std::vector<uint8_t>& rbytBuffer) {
    const QByteArray bytes = ReadPieces(FileTable::Mode::BinaryRead);
    if (!FileTable::AtEnd(m_intFileNumber))
        throw toolkit::Error::SubscriptOutOfRange(); // it grew: more bytes than the array holds
    rbytBuffer.assign(bytes.cbegin(), bytes.cend());
    rbytBuffer.push_back(0);
}

// As many bytes as the open file is long. Fewer, when the text mode's end-of-text marker 0x1A
// ends the data or the file shrank, raise "Input past end of file". A handler that uses this
// reader while events are let in takes the file number for its own file; the read then opens
// its file again and goes on from where it stood.
QByteArray CFileStream::ReadPieces(FileTable::Mode mode) {
    const int32_t lngLength = FileTable::Length(m_intFileNumber);
    const QString path = m_strPath;
    QByteArray bytes;
    bytes.reserve(lngLength);
    toolkit::WorkYield yield;
    uint32_t operation = m_lngOperations;
    while (bytes.size() < lngLength) {
        if (m_lngOperations != operation) {
            operation = m_lngOperations;
            CloseFile();
            FileTable::Open(m_intFileNumber, path, mode);
            for (qsizetype skipped = 0; skipped < bytes.size();) {
                const int32_t want = static_cast<int32_t>(std::min<qsizetype>(kPieceBytes, bytes.size() - skipped));
                const qsizetype got = FileTable::Read(m_intFileNumber, want).size();
                if (got < want)
                    throw toolkit::Error::InputPastEndOfFile(); // it shrank meanwhile
                skipped += got;
            }
        }
        const int32_t want = std::min(kPieceBytes, lngLength - static_cast<int32_t>(bytes.size()));
        const QByteArray piece = FileTable::Read(m_intFileNumber, want);
        bytes += piece;
        if (piece.size() < want)
            throw toolkit::Error::InputPastEndOfFile();
        yield.Check(want);
    }
    return bytes;
}

void CFileStream::OpenFile(int32_t vlngKind, int32_t vlngDirection) noexcept {
    ++m_lngOperations;
    if (m_strPath.isEmpty()) {
        m_blnError = true;
        return;
    }
    const bool opened = Succeeded([&] {
        if (m_intFileNumber != 0) {
            CloseFile();
        } else {
            const int16_t intNumber = FileTable::FreeFile();
            FileTable::Hold(intNumber);
            m_intFileNumber = intNumber;
        }

        using Mode = FileTable::Mode;
        // By kind, then by direction.
        constexpr Mode kModes[2][2] = {{Mode::BinaryRead, Mode::BinaryWrite},
                                       {Mode::TextInput, Mode::TextOutput}};
        if (vlngKind < 0 || vlngKind > 1 || vlngDirection < 0 || vlngDirection > 1)
            throw toolkit::Error::InvalidProcedureCall(); // nothing opened is no success
        FileTable::Open(m_intFileNumber, m_strPath, kModes[vlngKind][vlngDirection]);
    });
    if (opened)
        m_blnError = false;
}

// Called only once the number is taken: by OpenFile when it is, and by a read of an open file.
void CFileStream::CloseFile() {
    FileTable::Close(m_intFileNumber);
}
