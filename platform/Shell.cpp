#include "platform/Shell.h"

namespace zantrel {

namespace {

class SilentShell final : public Shell {
  public:
    StatusDisplay* StatusBar() override { return nullptr; }
    void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
    void ReportFileError(FileErrorCause, std::string_view) override {}
};

SilentShell g_silentShell;
Shell* g_shell = &g_silentShell;

}  // namespace

void RegisterShell(Shell* shell) {
    g_shell = shell ? shell : &g_silentShell;
}

Shell& CurrentShell() {
    return *g_shell;
}

}  // namespace zantrel
