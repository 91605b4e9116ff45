#pragma once

#include "Overrides.h"
#include "toolkit/HttpFetch.h"

#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

using toolkit::FetchFailure;
using toolkit::HttpFetchSeam;

// The HTTP fetch, scripted: each fetch takes the next scripted answer and records the
// address and time-out it was asked for. An answer may be a function, run while the fetch
// "waits", which may also raise. A fetch with no answer scripted raises an error.
class ScriptedHttpFetch final : public HttpFetchSeam {
public:
    using Answer = std::function<QString(const QString& address)>;

    void Reply(const QString& text) { On([text](const QString&) { return text; }); }
    void Fail(FetchFailure failure, const QString& reason) {
        On([failure, reason](const QString& address) -> QString {
            throw toolkit::FetchError(failure, address, reason);
        });
    }
    void On(Answer answer) { m_script.push_back(std::move(answer)); }

    // What each fetch was asked for, in order.
    std::vector<QString> addresses;
    std::vector<std::chrono::milliseconds> timeouts;

    toolkit::WebDocument FetchDocument(const QString& address,
                                       std::chrono::milliseconds timeout) override {
        addresses.push_back(address);
        timeouts.push_back(timeout);
        if (m_script.empty())
            throw toolkit::Error(
                5, QStringLiteral("A fetch of %1 was made with no answer scripted").arg(address));
        const Answer next = std::move(m_script.front());
        m_script.pop_front();
        return {next(address), {}};
    }

private:
    std::deque<Answer> m_script;
};

using InstalledHttpFetch = Installed<ScriptedHttpFetch, HttpFetchSeam, &toolkit::SetHttpFetch>;

} // namespace testsupport
