#pragma once

#include "toolkit/Desktop.h"
#include "toolkit/Events.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/WorkYield.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

namespace testsupport {

// Puts a replacement in the toolkit's one place for it for as long as the override lives,
// then puts back whatever was there before: the real part, or an outer override.
template <typename T, T (*Install)(T)>
class ScopedOverride {
public:
    explicit ScopedOverride(T value) : m_saved(Install(std::move(value))) {}
    ~ScopedOverride() { Install(std::move(m_saved)); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    T m_saved;
};

// A scripted double, made and installed for the life of this object; -> reaches the double.
template <typename Double, typename Seam, std::shared_ptr<Seam> (*Install)(std::shared_ptr<Seam>)>
class Installed {
public:
    Double* operator->() const noexcept { return m_double.get(); }

private:
    std::shared_ptr<Double> m_double = std::make_shared<Double>();
    ScopedOverride<std::shared_ptr<Seam>, Install> m_override{m_double};
};

using ScopedYieldPeriod = ScopedOverride<std::chrono::nanoseconds, &toolkit::SetYieldPeriod>;
using ScopedYieldHook = ScopedOverride<std::function<void()>, &toolkit::SetYieldHook>;
using ScopedErrorReporter =
    ScopedOverride<std::function<void(const QString&)>, &toolkit::SetErrorReporter>;
using ScopedEndHook = ScopedOverride<std::function<void()>, &toolkit::SetEndHook>;
using ScopedSystemMetrics =
    ScopedOverride<std::function<int32_t(int32_t)>, &toolkit::SetSystemMetricsSource>;
using ScopedWorkYieldInterval =
    ScopedOverride<std::chrono::nanoseconds, &toolkit::SetWorkYieldInterval>;

} // namespace testsupport
