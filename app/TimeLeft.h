#pragma once
// The time a running stage has left, told from its progress: the share of the work done over
// the time it took gives the whole run's time, which a loaded machine's changing speed and the
// bar's whole percents make jumpy. The shown time counts down with the clock and corrects
// towards the estimate at a bounded rate, so that it reads steadily.

#include <QtGlobal>
#include <optional>

namespace zantrel {

class TimeLeft {
  public:
    // A stage starts at `nowMs` (milliseconds on any steady clock).
    void Restart(qint64 nowMs);
    // The stage stands at `position` of 100 at `nowMs`: the seconds to show, nothing while a
    // second and a few percent have not yet passed.
    std::optional<qint64> Update(int position, qint64 nowMs);

  private:
    qint64 m_start = 0;
    qint64 m_last = 0;     // the time of the last update that told a time
    double m_total = 0.0;  // the whole stage's time, smoothed; 0 before the first estimate
    double m_shown = 0.0;  // the time left shown at m_last, in milliseconds
};

}  // namespace zantrel
