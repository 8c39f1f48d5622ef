#pragma once
// The long stages' progress shown on a status bar: the stage's text in pane 0 and its
// position on the progress bar. Once the time left can be estimated from the time spent and
// the position reached, the text also says how long remains. Never cancels; front ends that
// can stop a command add that.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "import/MessageTranslation.h"
#include "picture/MessageText.h"
#include "picture/Progress.h"
#include "platform/Shell.h"

namespace zantrel {

class StatusProgress final : public Progress {
  public:
    // Seconds from any fixed start; the tests give their own.
    using Clock = std::function<double()>;

    // `statusBar` may be null: then nothing is shown.
    explicit StatusProgress(StatusDisplay* statusBar, Clock clock = SteadySeconds)
        : m_statusBar(statusBar), m_clock(std::move(clock)), m_start(m_clock()) {}

    void SetText(std::string_view text) override {
        m_text = TranslateStageText(text);
        ShowText(true);
    }
    void SetPosition(int position) override {
        // A position lower than the last starts the next stage's own count.
        if (position < m_position) {
            m_start = m_clock();
            m_startPosition = position;
        }
        m_position = position;
        ShowText(false);
        if (m_statusBar)
            m_statusBar->SetProgressPos(position);
    }
    bool Cancelled() const override { return false; }

    // "h:mm:ss", or "m:ss" under an hour, of `seconds` rounded up.
    static std::string FormatDuration(double seconds) {
        const long long whole = static_cast<long long>(seconds + 0.999);
        char text[32];
        if (whole >= 3600)
            std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                          whole % 60);
        else
            std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
        return text;
    }

  private:
    static double SteadySeconds() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // A new text is always shown; the time left only where its text has changed.
    void ShowText(bool always) {
        if (!m_statusBar)
            return;
        std::string shown = m_text;
        // One percent in the first second says too little of the rate to go by.
        const double elapsed = m_clock() - m_start;
        const int done = m_position - m_startPosition;
        if (done > 0 && m_position < 100 && (done >= 2 || elapsed >= 1.0)) {
            const double left = elapsed * (100 - m_position) / done;
            shown.append("  ").append(
                TranslateMessage(ZANTREL_MESSAGE("Zantrel", "剩余 %1"), {FormatDuration(left)}));
        }
        if (always || shown != m_shown) {
            m_shown = shown;
            m_statusBar->SetPaneText(shown);
        }
    }

    StatusDisplay* m_statusBar;
    Clock m_clock;
    double m_start;
    std::string m_text;
    std::string m_shown;
    int m_position = 0;
    int m_startPosition = 0;  // where the clock started
};

}  // namespace zantrel
