#pragma once
// The dialog host of the running program: Qt's file dialogs, message boxes and print dialog,
// owned by the main window once it exists.

#include <QPointer>
#include <QWidget>

#include "view/DialogHost.h"

namespace zantrel {

class WidgetDialogHost final : public DialogHost {
  public:
    void SetOwner(QWidget* owner) { m_owner = owner; }

    std::optional<QString> ChooseFile(const FileDialogRequest& request) override;
    void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) override;
    void ShowMessage(const QString& text, const QString& informative, const QString& caption,
                     MessageIcon icon) override;
    bool Confirm(const QString& text, const QString& caption) override;
    int Exec(QDialog& dialog) override;
    bool SetUpPrinter(QPrinter& printer, const QString& pdfName) override;
    // Where the last file dialog was answered; the next one, open or save, starts there.
    const QString& LastFolder() const { return m_lastFolder; }

  private:
    QPointer<QWidget> m_owner;
    QString m_lastFolder;
};

}  // namespace zantrel
