#include "platform/LoadError.h"

#include "platform/FileError.h"

namespace zantrel {

void ShowLoadError(Shell& shell, const LoadError& error) {
    if (const Refusal* refusal = std::get_if<Refusal>(&error.cause))
        shell.ShowMessage(refusal->message, kAppName, MessageIcon::Exclamation);
    else
        ShowFileError(shell, {std::get<FileErrorCause>(error.cause), error.fileName});
}

}  // namespace zantrel
