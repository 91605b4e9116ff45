#pragma once

#include "Overrides.h"
#include "toolkit/Shell.h"

#include <vector>

namespace testsupport {

// The desktop shell, scripted: records every request and answers with a set result.
class ScriptedShell : public toolkit::ShellSeam {
public:
    struct Request {
        int32_t hwnd = 0;
        QString verb, file, parameters, directory;
        int16_t showCmd = 0;
    };

    int32_t ShellExecute(int32_t hwnd, const QString& verb, const QString& file,
                         const QString& parameters, const QString& directory,
                         int16_t showCmd) override {
        requests.push_back({hwnd, verb, file, parameters, directory, showCmd});
        return result;
    }

    std::vector<Request> requests;
    int32_t result = toolkit::kShellExecuteDone;
};

using InstalledShell = Installed<ScriptedShell, toolkit::ShellSeam, &toolkit::SetShell>;

} // namespace testsupport
