#pragma once

#include "toolkit/FileTable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// Reads or writes the whole file named by Path in one call, as text in the system code page
// (Ascii) or as raw bytes (Binary). No operation throws: each reports its outcome through
// Error, and a failed read gives an empty result.
//
// A byte array has one element more than the file has bytes; the last element is 0 and is
// not written back, so a read followed by a write reproduces the file.
//
// A long read lets pending events in (toolkit::WorkYield), so any handler may run before it
// returns, this reader's own operations included; each read still ends with its own file.
//
// The file stays open on the reader's file number until the next operation, which closes it
// before opening Path afresh, or until the reader is destroyed. The number is taken at the
// first open and kept, whatever the outcome, for the reader's whole life.
class CFileStream {
public:
    CFileStream() = default;
    ~CFileStream();
    CFileStream(const CFileStream&) = delete;
    CFileStream& operator=(const CFileStream&) = delete;

    const QString& Path() const noexcept { return m_strPath; }
    void SetPath(const QString& value) noexcept { m_strPath = value; }

    // True when the last data operation failed.
    bool Error() const noexcept { return m_blnError; }

    std::vector<uint8_t> Binary() noexcept;
    void SetBinary(const std::vector<uint8_t>& RHS) noexcept;

    QString Ascii() noexcept;
    void SetAscii(QString RHS) noexcept;

private:
    void ReadAllBytes(std::vector<uint8_t>& rbytBuffer);
    QByteArray ReadPieces(toolkit::FileTable::Mode mode);
    void OpenFile(int32_t vlngKind, int32_t vlngDirection) noexcept;
    // Opens the file for writing and writes the bytes to it in one write.
    void WriteAll(int32_t vlngKind, const QByteArray& bytes) noexcept;
    void CloseFile();
    // Runs one step of an operation; a failure sets Error. Returns whether the step succeeded.
    template <class Step> bool Succeeded(Step step) noexcept;

    int16_t m_intFileNumber = 0;
    bool m_blnError = false;
    QString m_strPath;
    uint32_t m_lngOperations = 0; // opens so far, to tell that a handler used the reader
};
