// The processing commands of the picture menu and printing. Each processing command sets the
// display mode first, runs its stages on a fresh workspace that dies with the command, and
// redraws; a stage that fails part-way leaves the new mode in place.

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include "app/AppTexts.h"
#include "app/DialogHost.h"
#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"
#include "view/DecompParamDlg.h"
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

}  // namespace

void CZantrelView::OnPictureColor() {
    g_displayMode = DISPLAY_COLOR;
    UpdateAllViews();
}

void CZantrelView::OnPictureGray() {
    g_displayMode = DISPLAY_GRAY;
    CImageProcessor().ConvertToGray();
    UpdateAllViews();
}

void CZantrelView::OnQuadtree() {
    CDecompParamDlg dialog(m_host, window());
    if (m_host.Exec(dialog) != QDialog::Accepted)
        return;
    g_displayMode = DISPLAY_QUADTREE;
    {
        CImageProcessor workspace;
        workspace.QuadtreeDecompose(dialog.m_penalty, dialog.m_minBlockSize);
        workspace.FillBlockPicture();
    }
    UpdateAllViews();
}

void CZantrelView::OnGrayGrid() {
    g_displayMode = DISPLAY_GRAY_GRID;
    CImageProcessor().MakeGrayGrid();
    UpdateAllViews();
}

void CZantrelView::OnZantrel() {
    g_displayMode = DISPLAY_ZANTREL;
    {
        const CWaitCursor waitCursor;
        CImageProcessor workspace;
        workspace.SearchLines();
        workspace.Reconstruct();
    }
    UpdateAllViews();
}

void CZantrelView::OnGridLines() {
    g_displayMode = DISPLAY_GRID_LINES;
    UpdateAllViews();
}

void CZantrelView::OnPsnr() {
    CImageProcessor().ComputePsnr();
}

void CZantrelView::OnBitRate() {
    CImageProcessor().EstimateBitRate();
}

void CZantrelView::OnFilePrint() {
    // Screen resolution keeps one logical unit per pixel, as on the screen.
    QPrinter printer(QPrinter::ScreenResolution);
    if (!m_host.SetUpPrinter(printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        CurrentShell().ShowMessage(kCommandFailedText, kAppName, MessageIcon::Exclamation);
        return;
    }
    OnDraw(painter);
}
