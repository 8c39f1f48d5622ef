#pragma once
// One progress bar over a whole optimised run. The run's parts (the search's pieces, the
// pruning's passes, the rate search's steps) each report 0..100 of their own; a SpanProgress
// places a part's positions between two positions of the whole run's bar, so that the bar moves
// forward over the whole run and never starts again.

#include <string_view>

#include "picture/Progress.h"

namespace zantrel {

class SpanProgress final : public Progress {
  public:
    // Whether the part's own texts reach the whole run's status (a part that sets the run's
    // stage text) or are dropped (the exact mode's search texts of a search the run reuses).
    enum class Texts { Pass, Drop };

    // Positions 0..100 of the part land on `begin`..`end` (0 <= begin <= end <= 100) of `whole`.
    SpanProgress(Progress& whole, double begin, double end, Texts texts = Texts::Drop);

    void SetText(std::string_view text) override;
    // Never below a position this part showed before: a part that starts again from the
    // beginning (a piece of the search) holds the bar until it passes it.
    void SetPosition(int position) override;
    bool Cancelled() const override { return m_whole.Cancelled(); }

    // The part ended: the bar stands at `end`.
    void Finish() { SetPosition(100); }

  private:
    Progress& m_whole;
    double m_begin;
    double m_end;
    Texts m_texts;
    int m_shown = -1;
};

// The share of a run's bar the part from `done` to `done + part` of `total` work takes, for
// SpanProgress's begin and end: 100 * done / total and 100 * (done + part) / total.
struct Share {
    double begin;
    double end;
};
Share ShareOf(double done, double part, double total);

}  // namespace zantrel
