#pragma once
// The view: shows the picture of the current display mode unscaled with its top-left corner
// at (g_originX, g_originY), in mode 6 with the chosen cut lines in red, over a scroll extent
// of 532 x 532. It keeps no picture of its own: every paint reads the picture store. It also
// handles the processing commands of the picture menu and printing.

#include <QAbstractScrollArea>

class CDialogHost;
class QPainter;

class CZantrelView final : public QAbstractScrollArea {
    Q_OBJECT
  public:
    CZantrelView(CDialogHost& host, QWidget* parent = nullptr);

    // Draws the current display mode in logical coordinates (the origin is the top-left of
    // the scroll extent); also used for printing, with the same coordinates and no scaling.
    static void OnDraw(QPainter& painter);
    // Repaints the whole view from the picture store.
    void UpdateAllViews();

    // Commands of the picture menu (see the command table for their enabling rules).
    void OnPictureColor();
    void OnPictureGray();
    void OnQuadtree();
    void OnGrayGrid();
    void OnZantrel();
    void OnGridLines();
    void OnPsnr();
    void OnBitRate();
    // Ctrl+P: prints the current drawing where the dialog host says.
    void OnFilePrint();

  protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    // Places the picture for a client area of `width` x `height` and sets the scroll ranges.
    void OnSize(int width, int height);

    CDialogHost& m_host;
};
