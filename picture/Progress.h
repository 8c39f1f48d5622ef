#pragma once
// How the long stages (the cut-line search and the reconstruction) report progress and learn
// that they should stop. Stages call SetText and SetPosition only from the thread that called
// them; Cancelled may be asked from any of their threads. A stage that sees Cancelled returns
// no result and changes nothing outside itself.

#include <atomic>
#include <string_view>

namespace zantrel {

class Progress {
  public:
    virtual ~Progress() = default;
    // The status text of the stage, e.g. "竖线穷举2".
    virtual void SetText(std::string_view text) = 0;
    // The progress position, 0..100.
    virtual void SetPosition(int position) = 0;
    // True once the work should stop; safe to call from any thread.
    virtual bool Cancelled() const = 0;
};

// Reports nothing; stops when Cancel was called (from any thread).
class QuietProgress : public Progress {
  public:
    void SetText(std::string_view) override {}
    void SetPosition(int) override {}
    bool Cancelled() const override { return m_cancelled.load(std::memory_order_relaxed); }
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

  private:
    std::atomic<bool> m_cancelled{false};
};

}  // namespace zantrel
