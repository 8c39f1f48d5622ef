#pragma once
// The view: shows the picture of its display mode, in mode 6 with the chosen cut lines in red,
// on a zoomable canvas (at a zoom of 1 the picture sits at its own size, centred while it fits,
// 10 below the top). It reads the document's pictures and owns only what is shown: the display
// mode, the zoom and where the picture sits. Pointing at a block in modes 3 to 6 tells its
// model on the status bar; holding Space shows the gray picture until it is let go. It also
// prints what it shows.

#include <QPoint>
#include <QString>
#include <vector>

#include "view/BlockLookup.h"
#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"
#include "view/PictureCanvas.h"

class QPainter;

namespace zantrel {

class DialogHost;

class ZantrelView final : public PictureCanvas {
    Q_OBJECT
  public:
    // `pictures` must outlive the view.
    ZantrelView(DialogHost& host, const DocumentPictures& pictures, QWidget* parent = nullptr);

    DisplayMode Mode() const { return m_displayMode; }
    // Shows `mode` and repaints.
    void ShowMode(DisplayMode mode);
    // The mode whose picture is on the screen: the gray picture's while Space is held.
    DisplayMode ShownMode() const;

    // Draws the current display mode in logical coordinates (the origin is the top-left of
    // the scroll extent) at the current zoom.
    void OnDraw(QPainter& painter);
    // Reads the document's pictures again and repaints the whole view; call after any change.
    void UpdateAllViews();

    // Ctrl+P: prints the shown picture where the dialog host says (PrintPicture), named
    // after the document's file `path`.
    void OnFilePrint(const QString& path);

  Q_SIGNALS:
    // UpdateAllViews was called: the document's pictures may have changed.
    void PicturesChanged();
    // The text of the block under the pointer changed; empty for none.
    void HoverTextChanged(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void DrawOver(QPainter& painter) const override;

  private:
    // Shows the picture of ShownMode().
    void Refresh();
    // The status-bar text for the block under picture pixel `pixel` ((-1, -1) for none).
    void ShowBlockAt(QPoint pixel);
    void ReleaseGray();

    DialogHost& m_host;
    const DocumentPictures& m_pictures;
    DisplayMode m_displayMode = DISPLAY_NONE;
    bool m_grayHeld = false;
    // The cut-line pixels just outside the picture, which the shown picture cannot hold.
    std::vector<QPoint> m_outsidePixels;
    // Rebuilt on the first look-up after a change, not on every mouse move.
    BlockLookup m_blocks;
    bool m_blocksStale = true;
    QString m_hoverText;  // the block text on the status bar; empty for none
};

}  // namespace zantrel
