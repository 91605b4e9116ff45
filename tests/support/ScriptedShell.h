#pragma once

#include "Overrides.h"
#include "toolkit/Shell.h"

#include <vector>

namespace testsupport {

// The desktop shell, scripted: records every request and answers with a set result.
class ScriptedShell : public toolkit::ShellSeam {
public:
    struct Request {
        QString verb, file;
    };

    int32_t ShellExecute(int32_t, const QString& verb, const QString& file, const QString&,
                         const QString&, int16_t) override {
        requests.push_back({verb, file});
        return result;
    }

    std::vector<Request> requests;
    int32_t result = toolkit::kShellExecuteDone;
};

using InstalledShell = Installed<ScriptedShell, toolkit::ShellSeam, &toolkit::SetShell>;

} // namespace testsupport
