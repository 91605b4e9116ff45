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

    void Reply(const QString& text);
    void Fail(FetchFailure failure, const QString& reason);
    void On(Answer answer) { m_script.push_back(std::move(answer)); }

    size_t Pending() const noexcept { return m_script.size(); }
    const std::vector<QString>& Addresses() const noexcept { return m_addresses; }
    const std::vector<std::chrono::milliseconds>& Timeouts() const noexcept { return m_timeouts; }

    toolkit::WebDocument FetchDocument(const QString& address,
                                       std::chrono::milliseconds timeout) override;

private:
    std::deque<Answer> m_script;
    std::vector<QString> m_addresses;
    std::vector<std::chrono::milliseconds> m_timeouts;
};

using InstalledHttpFetch = Installed<ScriptedHttpFetch, HttpFetchSeam, &toolkit::SetHttpFetch>;

} // namespace testsupport
