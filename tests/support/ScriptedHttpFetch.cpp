#include "ScriptedHttpFetch.h"

namespace testsupport {

using namespace toolkit;

void ScriptedHttpFetch::Reply(const QString& text) {
    On([text](const QString&) { return text; });
}

void ScriptedHttpFetch::Fail(FetchFailure failure, const QString& reason) {
    On([failure, reason](const QString& address) -> QString {
        throw FetchError(failure, address, reason);
    });
}

WebDocument ScriptedHttpFetch::FetchDocument(const QString& address,
                                             std::chrono::milliseconds timeout) {
    m_addresses.push_back(address);
    m_timeouts.push_back(timeout);
    if (m_script.empty())
        throw Error(5, QStringLiteral("A fetch of %1 was made with no answer scripted").arg(address));
    const Answer next = std::move(m_script.front());
    m_script.pop_front();
    return {next(address), {}};
}

} // namespace testsupport
