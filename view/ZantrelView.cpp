#include "view/ZantrelView.h"

#include <QPageLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>

#include "linesearch/CutLineOverlay.h"
#include "platform/Shell.h"
#include "view/AppTexts.h"
#include "view/DialogHost.h"
#include "view/DisplayPicture.h"

namespace {

// The scroll extent is the picture plus this margin in each direction.
constexpr int kExtentMargin = 20;
constexpr int kTopMargin = 10;
constexpr int kLineStep = 10;
const QColor kCutLineColor(255, 0, 0);

}  // namespace

CZantrelView::CZantrelView(CDialogHost& host, const DocumentPictures& pictures, QWidget* parent)
    : QAbstractScrollArea(parent), m_host(host), m_pictures(pictures) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

void CZantrelView::ShowMode(DisplayMode mode) {
    m_displayMode = mode;
    UpdateAllViews();
}

void CZantrelView::UpdateAllViews() {
    m_stale = true;
    OnSize(viewport()->width(), viewport()->height());
    viewport()->update();
}

void CZantrelView::Refresh() {
    if (!m_stale)
        return;
    m_stale = false;
    m_shown = DisplayPicture(m_pictures, m_displayMode);
    m_cutPixels.clear();
    if (m_shown.isNull() || m_displayMode != DISPLAY_GRID_LINES)
        return;
    // Each line without its end point: the same pixels as the engine's picture of the cut
    // lines. Like the drawing before pictures had sizes, a pixel just outside is drawn too.
    for (const CutModel& model : m_pictures.decomposition.cutModels) {
        ScreenPoint from{};
        ScreenPoint to{};
        CutLineEnds(model, m_shown.height(), from, to);
        ForEachLinePixel(from, to, [&](int x, int y) { m_cutPixels.emplace_back(x, y); });
    }
}

void CZantrelView::OnDraw(QPainter& painter) {
    Refresh();
    if (m_shown.isNull())
        return;
    painter.drawImage(m_origin, m_shown);
    if (m_cutPixels.empty())
        return;
    painter.save();
    painter.translate(m_origin);
    painter.setPen(QPen(kCutLineColor, 0));
    painter.drawPoints(m_cutPixels.data(), static_cast<int>(m_cutPixels.size()));
    painter.restore();
}

bool CZantrelView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        OnSize(viewport()->width(), viewport()->height());
    return QAbstractScrollArea::viewportEvent(event);
}

void CZantrelView::OnSize(int width, int height) {
    const QSize picture = DisplaySize(m_pictures, m_displayMode);
    // Integer division truncates towards zero: 300 wide for a 512-wide picture gives -106.
    m_origin = QPoint((width - picture.width()) / 2, kTopMargin);
    const int extentX = picture.width() + kExtentMargin;
    const int extentY = picture.height() + kExtentMargin;
    horizontalScrollBar()->setRange(0, std::max(0, extentX - width));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setRange(0, std::max(0, extentY - height));
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setSingleStep(kLineStep);
}

void CZantrelView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    OnDraw(painter);
}

void CZantrelView::scrollContentsBy(int, int) {
    viewport()->update();
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
    const int pictureWidth = DisplaySize(m_pictures, m_displayMode).width();
    const int drawingWidth = std::max(viewport()->width(), m_origin.x() + pictureWidth);
    if (drawingWidth > pageWidth) {
        const qreal scale = static_cast<qreal>(pageWidth) / drawingWidth;
        painter.scale(scale, scale);
    }
    OnDraw(painter);
}
