#pragma once
// A shell and a progress that record every call, so tests can assert exact texts, captions
// and positions. The shell registers itself while it lives, so a test also sees anything
// reported to the registered shell.

#include <atomic>
#include <string>
#include <vector>

#include "picture/Progress.h"
#include "platform/Shell.h"

namespace zantrel {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

struct RecordedFileError {
    FileErrorCause cause;
    std::string fileName;
};

class RecordingShell final : public Shell, public StatusDisplay {
  public:
    RecordingShell() { RegisterShell(this); }
    ~RecordingShell() override { RegisterShell(nullptr); }

    StatusDisplay* StatusBar() override { return this; }
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        messages.push_back({std::string(text), std::string(caption), icon});
    }
    void ReportFileError(FileErrorCause cause, std::string_view fileName) override {
        fileErrors.push_back({cause, std::string(fileName)});
    }
    void SetPaneText(std::string_view text) override { paneTexts.emplace_back(text); }
    void SetProgressPos(int position) override { progress.push_back(position); }

    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileError> fileErrors;
    std::vector<std::string> paneTexts;
    std::vector<int> progress;
};

// Records the texts and positions of a stage; Cancelled turns true from its (cancelAfter + 1)th
// call on, so a test can stop a stage part-way. A negative cancelAfter never cancels.
class RecordingProgress final : public Progress {
  public:
    explicit RecordingProgress(long long cancelAfter = -1) : m_cancelAfter(cancelAfter) {}

    void SetText(std::string_view text) override { texts.emplace_back(text); }
    void SetPosition(int position) override { positions.push_back(position); }
    bool Cancelled() const override {
        const long long asked = m_asked.fetch_add(1, std::memory_order_relaxed);
        return m_cancelAfter >= 0 && asked >= m_cancelAfter;
    }
    // How often Cancelled was called.
    long long Asked() const { return m_asked.load(std::memory_order_relaxed); }

    std::vector<std::string> texts;
    std::vector<int> positions;

  private:
    long long m_cancelAfter;
    mutable std::atomic<long long> m_asked{0};
};

}  // namespace zantrel
