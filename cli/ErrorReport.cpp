#include "cli/ErrorReport.h"

namespace zantrel {

int ReportLoadError(Shell& terminal, const LoadError& error) {
    ShowLoadError(terminal, error);
    return error.IsRefusal() ? 2 : 1;
}

int ReportWriteError(Shell& terminal, const FileError& error) {
    ShowFileError(terminal, error);
    return 1;
}

}  // namespace zantrel
