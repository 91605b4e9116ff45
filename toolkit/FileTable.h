#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace toolkit {

// The process-wide table of numbered open files. A number from 1 to MaxNumber names at most
// one open file; every failure raises toolkit::Error (one number for all of them, as the
// only caller does not tell them apart).
//
// Only regular files open: a directory, a device or a pipe is refused (a pipe would block
// the open), and so is a file longer than 2^31 - 1 bytes, whose length no 32-bit number holds.
class FileTable {
public:
    enum class Mode {
        BinaryRead,  // the file must exist
        BinaryWrite, // created if missing; an existing file keeps its length
        TextInput,   // the file must exist; the byte 0x1A ends the readable data
        TextOutput,  // created if missing; an existing file is emptied
    };

    static constexpr int16_t MaxNumber = 511;

    // The lowest number that has no open file and is not held; raises when
    // every number is taken.
    static int16_t FreeFile();

    // Keeps a number taken while no file is open on it, so that FreeFile does not hand it to
    // another owner between two opens. Raises when the number is already open or held.
    static void Hold(int16_t number);

    // Closes the number's file, if any, and gives the number back.
    static void Release(int16_t number);

    // Opens path on number. Raises when the number already has an open file.
    static void Open(int16_t number, const QString& path, Mode mode);

    static bool IsOpen(int16_t number);

    // The open file's current length in bytes.
    static int32_t Length(int16_t number);

    // Reads up to count bytes from the current position; fewer at the end of the data.
    static QByteArray Read(int16_t number, int32_t count);

    // True when no further byte can be read.
    static bool AtEnd(int16_t number);

    // Writes bytes at the current position and flushes them, so that a failure to store
    // them surfaces here rather than at a later close.
    static void Write(int16_t number, const QByteArray& bytes);

    // Closes the number's file; a number with no open file is left as it is. A held number
    // stays held.
    static void Close(int16_t number);
};

} // namespace toolkit
