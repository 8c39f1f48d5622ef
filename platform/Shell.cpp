#include "platform/Shell.h"

namespace {

class CSilentShell final : public CShell {
  public:
    CStatusBar* StatusBar() override { return nullptr; }
    void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
    void ReportFileError(FileErrorCause, std::string_view) override {}
};

CSilentShell g_silentShell;
CShell* g_shell = &g_silentShell;

}  // namespace

void RegisterShell(CShell* shell) {
    g_shell = shell ? shell : &g_silentShell;
}

CShell& CurrentShell() {
    return *g_shell;
}
