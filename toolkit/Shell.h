#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// The desktop shell's "open": hands a file or an address to the application
// the desktop chooses for it (for a web address, the user's browser).
namespace toolkit {

// The desktop window's handle: one reserved value that no Window takes.
inline constexpr int32_t kDesktopWindowHandle = 0x00010010;
inline int32_t GetDesktopWindow() { return kDesktopWindowHandle; }

inline constexpr int16_t SW_SHOWNORMAL = 1;
// Results of ShellExecute: above 32 means the request was handed on.
inline constexpr int32_t SE_ERR_FNF = 2;
inline constexpr int32_t SE_ERR_NOASSOC = 31;
inline constexpr int32_t kShellExecuteDone = 42;

class ShellSeam {
public:
    virtual ~ShellSeam() = default;
    virtual int32_t ShellExecute(int32_t hwnd, const QString& verb, const QString& file,
                                 const QString& parameters, const QString& directory,
                                 int16_t showCmd) = 0;
};

// Asks the desktop to perform the verb on the file or address. Only "open"
// is known; an empty target or one the desktop cannot open fails, which the
// result tells (32 or below) and nothing else does. The request is handed to
// another process; the call does not wait for it.
int32_t ShellExecute(int32_t hwnd, const QString& verb, const QString& file,
                     const QString& parameters, const QString& directory, int16_t showCmd);

// Installs the shell used from now on and returns the one it replaces; nullptr means the
// desktop's.
std::shared_ptr<ShellSeam> SetShell(std::shared_ptr<ShellSeam> shell);

} // namespace toolkit
