// The processing commands of the picture menu and printing. Each processing command sets the
// display mode first, runs its stages on a fresh workspace that dies with the command, and
// redraws; a stage that fails part-way leaves the new mode in place.

#include <algorithm>

#include <QGuiApplication>
#include <QPageLayout>
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
    // Screen resolution: one logical unit is one screen pixel, so the page shows the drawing
    // at the size the view shows it, with the same coordinates.
    QPrinter printer(QPrinter::ScreenResolution);
    if (!m_host.SetUpPrinter(printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        CurrentShell().ShowMessage(kCommandFailedText, kAppName, MessageIcon::Exclamation);
        return;
    }
    // A view wider than the page is shrunk to the page's width rather than cut off.
    const int pageWidth = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    const int drawingWidth = std::max(viewport()->width(), g_originX + kPictureSide);
    if (drawingWidth > pageWidth) {
        const qreal scale = static_cast<qreal>(pageWidth) / drawingWidth;
        painter.scale(scale, scale);
    }
    OnDraw(painter);
}
