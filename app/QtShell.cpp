#include "app/QtShell.h"

#include <QString>

#include "platform/FileError.h"
#include "view/DialogHost.h"

namespace zantrel {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtShell::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    m_host.ShowMessage(FromUtf8(text), FromUtf8(caption), icon);
}

void QtShell::ReportFileError(FileErrorCause cause, std::string_view fileName) {
    m_host.ShowMessage(FromUtf8(FileErrorText(cause, fileName)), FromUtf8(kAppName),
                       MessageIcon::Exclamation);
}

}  // namespace zantrel
