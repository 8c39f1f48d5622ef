#pragma once
// Everything modal the application shows goes through this interface: file dialogs, message
// boxes, confirmations, its own dialogs and the printer set-up. The program answers with real
// widgets (WidgetDialogHost); tests answer from a script, so no test ever waits on a user.

#include <QString>
#include <optional>

#include "platform/Shell.h"

class QDialog;
class QPrinter;

namespace zantrel {

struct FileDialogRequest {
    bool forSaving = false;
    QString filter;         // e.g. "图像文件(*.bmp)"
    QString initialName;    // pre-filled file name; empty for none
    QString defaultSuffix;  // added by the caller when the chosen name has no extension
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;
    // The chosen full path, or nothing when the user cancelled. An open dialog only returns
    // existing files; a save dialog also returns new names and does not ask about
    // overwriting (the caller does, through Confirm).
    virtual std::optional<QString> ChooseFile(const FileDialogRequest& request) = 0;
    // A message box with a single OK button; returns when it was closed.
    virtual void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // The same with a line below the message that says what to do instead; a host without a
    // place for it shows it under the message.
    virtual void ShowMessage(const QString& text, const QString& informative,
                             const QString& caption, MessageIcon icon) {
        ShowMessage(text + QStringLiteral("\n\n") + informative, caption, icon);
    }
    // A yes/no question; true for yes.
    virtual bool Confirm(const QString& text, const QString& caption) = 0;
    // Runs `dialog` modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog& dialog) = 0;
    // Lets the user choose where `printer` prints (a PDF file where no printer exists, `pdfName`
    // proposed unless it is empty); false when cancelled.
    virtual bool SetUpPrinter(QPrinter& printer, const QString& pdfName) = 0;
};

}  // namespace zantrel
