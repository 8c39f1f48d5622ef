#include "cli/ErrorReport.h"

#include <filesystem>

#include "cli/QuotedName.h"

namespace zantrel {

int ReportLoadError(Shell& terminal, const LoadError& error) {
    // A refusal names the file by its last part; a control character in it is shown escaped.
    LoadError shown = error;
    if (Refusal* refusal = std::get_if<Refusal>(&shown.cause)) {
        const std::string name = std::filesystem::path(error.fileName).filename().string();
        const std::string quoted = QuotedName(name);
        if (quoted != name) {
            for (std::size_t at = refusal->message.find(name); at != std::string::npos;
                 at = refusal->message.find(name, at + quoted.size()))
                refusal->message.replace(at, name.size(), quoted);
        }
    }
    ShowLoadError(terminal, shown);
    return error.IsRefusal() ? 2 : 1;
}

int ReportWriteError(Shell& terminal, const FileError& error) {
    ShowFileError(terminal, error);
    return 1;
}

}  // namespace zantrel
