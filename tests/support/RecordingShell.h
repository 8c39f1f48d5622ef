#pragma once
// A shell that records every call, so tests can assert exact texts, captions and progress.

#include <string>
#include <vector>

#include "platform/Shell.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

struct RecordedFileError {
    FileErrorCause cause;
    std::string fileName;
};

class CRecordingShell final : public CShell, public CStatusBar {
  public:
    CRecordingShell() { RegisterShell(this); }
    ~CRecordingShell() override { RegisterShell(nullptr); }

    CStatusBar* StatusBar() override { return this; }
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
