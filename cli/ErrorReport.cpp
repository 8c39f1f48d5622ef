#include "cli/ErrorReport.h"

int ReportLoadError(CShell& terminal, const LoadError& error) {
    ShowLoadError(terminal, error);
    return error.IsRefusal() ? 2 : 1;
}

int ReportWriteError(CShell& terminal, const FileError& error) {
    ShowFileError(terminal, error);
    return 1;
}
