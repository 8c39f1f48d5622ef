#include "ScriptedDialogHost.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "view/DecompParamDlg.h"

namespace zantrel {

std::optional<QString> ScriptedDialogHost::ChooseFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty())
        return std::nullopt;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

void ScriptedDialogHost::ShowMessage(const QString& text, const QString& caption,
                                     MessageIcon icon) {
    messages.push_back({text, caption, icon});
}

void ScriptedDialogHost::ShowMessage(const QString& text, const QString& informative,
                                     const QString& caption, MessageIcon icon) {
    messages.push_back({text, caption, icon, informative});
}

bool ScriptedDialogHost::Confirm(const QString& text, const QString&) {
    questions.push_back(text);
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

int ScriptedDialogHost::Exec(QDialog& dialog) {
    return onExec ? onExec(dialog) : QDialog::Rejected;
}

bool ScriptedDialogHost::SetUpPrinter(QPrinter& printer, const QString& pdfName) {
    proposedPdf = pdfName;
    return onSetUpPrinter ? onSetUpPrinter(printer) : false;
}

std::function<int(QDialog&)> AnswerParameters(const QString& penalty, const QString& minBlockSize,
                                              RunMode mode) {
    return [penalty, minBlockSize, mode](QDialog& dialog) {
        auto& parameters = dynamic_cast<DecompParamDlg&>(dialog);
        parameters.PenaltyEdit()->setText(penalty);
        parameters.MinBlockSizeEdit()->setText(minBlockSize);
        parameters.ModeButton(mode)->click();
        parameters.OkButton()->click();
        return parameters.result();
    };
}

}  // namespace zantrel
