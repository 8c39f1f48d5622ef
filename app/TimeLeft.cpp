#include "app/TimeLeft.h"

#include <algorithm>
#include <cmath>

namespace zantrel {

namespace {

// An estimate needs this much time and progress first.
constexpr qint64 kFirstAfterMs = 1000;
constexpr int kFirstAtPosition = 2;
// The whole run's time follows a new estimate with this time constant: slower changes of
// speed come through, a minute's load and the bar's whole percents do not.
constexpr double kSmoothingMs = 20000.0;
// Beside counting down, the shown time moves at most a tenth of itself (of 30 s at least) in
// 12 s towards the estimate.
constexpr double kCorrectionPerMs = 0.1 / 12000.0;
constexpr double kSmallestCorrectedMs = 30000.0;

}  // namespace

void TimeLeft::Restart(qint64 nowMs) {
    m_start = m_last = nowMs;
    m_total = 0.0;
    m_shown = 0.0;
}

std::optional<qint64> TimeLeft::Update(int position, qint64 nowMs) {
    const double elapsed = static_cast<double>(nowMs - m_start);
    if (elapsed < kFirstAfterMs || position < kFirstAtPosition)
        return std::nullopt;
    // Progress counts the work done, so the whole takes what the part did, scaled.
    const double estimate = elapsed * 100.0 / std::min(position, 100);
    const double sinceLast = static_cast<double>(nowMs - m_last);
    m_last = nowMs;
    if (m_total == 0.0) {
        m_total = estimate;
        m_shown = m_total - elapsed;
    } else {
        m_total += (estimate - m_total) * std::min(1.0, sinceLast / kSmoothingMs);
        const double counted = std::max(0.0, m_shown - sinceLast);
        const double aim = std::max(0.0, m_total - elapsed);
        const double most = std::max(counted, kSmallestCorrectedMs) * kCorrectionPerMs * sinceLast;
        m_shown = counted + std::clamp(aim - counted, -most, most);
    }
    return std::llround(m_shown / 1000.0);
}

}  // namespace zantrel
