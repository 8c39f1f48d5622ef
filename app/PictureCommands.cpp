#include "app/PictureCommands.h"

#include <QGuiApplication>

#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "measure/FigureText.h"
#include "platform/Shell.h"
#include "platform/StatusProgress.h"
#include "view/DecompParamDlg.h"
#include "view/DialogHost.h"
#include "view/ZantrelView.h"

namespace {

// The wait cursor for the length of a scope.
class CWaitCursor {
  public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

CZantrelView& View(CZantrelApp& app) {
    return app.Frame().View();
}

}  // namespace

void OnPictureColor(CZantrelApp& app) {
    View(app).ShowMode(DISPLAY_COLOR);
}

void OnPictureGray(CZantrelApp& app) {
    app.Doc().RunGray();
    View(app).ShowMode(DISPLAY_GRAY);
}

void OnQuadtree(CZantrelApp& app) {
    CDecompParamDlg dialog(app.Host(), &app.Frame());
    if (app.Host().Exec(dialog) != QDialog::Accepted)
        return;
    app.Doc().RunQuadtree(dialog.m_penalty, dialog.m_minBlockSize);
    View(app).ShowMode(DISPLAY_QUADTREE);
}

void OnGrayGrid(CZantrelApp& app) {
    app.Doc().RunGrayGrid();
    View(app).ShowMode(DISPLAY_GRAY_GRID);
}

void OnZantrel(CZantrelApp& app) {
    // A decoded document holds the stage's result already.
    if (!app.Doc().Pictures().decoded) {
        const CWaitCursor waitCursor;
        // The stages run on this thread and repaint the status bar as they report.
        CStatusProgress progress(CurrentShell().StatusBar());
        if (!app.Doc().RunZantrel(progress))
            return;
    }
    View(app).ShowMode(DISPLAY_ZANTREL);
}

void OnGridLines(CZantrelApp& app) {
    View(app).ShowMode(DISPLAY_GRID_LINES);
}

void OnPsnr(CZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().PsnrFigure()), kPsnrCaption,
                               MessageIcon::Information);
}

void OnBitRate(CZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().BitRateFigure()), kBitRateCaption,
                               MessageIcon::Information);
    if (CStatusBar* bar = CurrentShell().StatusBar())
        bar->SetPaneText("BIT率计算完毕");
}
