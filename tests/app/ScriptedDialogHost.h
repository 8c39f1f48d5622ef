#pragma once
// A dialog host that answers from a script and records what was asked, so tests can run
// every command of the application without a user.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "view/DialogHost.h"
#include "view/ParameterFields.h"

namespace zantrel {

struct ShownMessage {
    QString text;
    QString caption;
    MessageIcon icon;
    QString informative = {};
};

class ScriptedDialogHost final : public DialogHost {
  public:
    // Answers of the file dialogs in order; an empty answer, or none, cancels the dialog.
    std::deque<QString> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<ShownMessage> messages;
    // Answers of Confirm in order; an unanswered question gets no.
    std::deque<bool> confirmAnswers;
    std::vector<QString> questions;
    // Runs a modal dialog; without a script the dialog is cancelled.
    std::function<int(QDialog&)> onExec;
    std::function<bool(QPrinter&)> onSetUpPrinter;
    QString proposedPdf;  // the PDF file the last printer set-up proposed

    std::optional<QString> ChooseFile(const FileDialogRequest& request) override;
    void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) override;
    void ShowMessage(const QString& text, const QString& informative, const QString& caption,
                     MessageIcon icon) override;
    bool Confirm(const QString& text, const QString& caption) override;
    int Exec(QDialog& dialog) override;
    bool SetUpPrinter(QPrinter& printer, const QString& pdfName) override;
};

// An onExec script for the parameter dialog: types the two texts and presses OK.
std::function<int(QDialog&)> AnswerParameters(const QString& penalty, const QString& minBlockSize,
                                              RunMode mode = RunMode::Exact);

}  // namespace zantrel
