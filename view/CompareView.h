#pragma once
// The compare view: two picture panes side by side, each with a combo box choosing any picture
// computed so far for the document. Both panes keep the same zoom and scroll position, so the
// same picture point sits at the same place in each. Beside each combo box stand the PSNR and
// the file's bit rate of what the pane shows, where it has them. Under an error picture a colour
// bar gives its scale, from 0 to the largest error.

#include <QWidget>
#include <array>

#include "view/ComparePictures.h"
#include "view/DocumentPictures.h"

class QComboBox;
class QLabel;

namespace zantrel {

class PictureCanvas;

class CompareView final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPanes = 2;

    // `pictures` must outlive the view.
    explicit CompareView(const DocumentPictures& pictures, QWidget* parent = nullptr);

    // Reads the document's pictures again (at once when shown, else when next shown); each
    // pane keeps the user's choice while that picture exists.
    void UpdatePictures();
    // The combo boxes' and figures' texts in the interface's language.
    void Retranslate();

    PictureCanvas& Canvas(int pane) const { return *m_panes.at(pane).canvas; }
    QComboBox& Chooser(int pane) const { return *m_panes.at(pane).chooser; }
    // The PSNR and bit rate of what the pane shows; empty where it has neither.
    QLabel& Figures(int pane) const { return *m_panes.at(pane).figures; }
    // The colour bar with its end values, shown under the error picture only.
    QWidget& Scale(int pane) const { return *m_panes.at(pane).scale; }
    QLabel& ScaleTop(int pane) const { return *m_panes.at(pane).scaleTop; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct Pane {
        QComboBox* chooser = nullptr;
        QLabel* figures = nullptr;
        PictureCanvas* canvas = nullptr;
        QWidget* scale = nullptr;
        QLabel* scaleTop = nullptr;
        bool chosen = false;  // the user chose what the pane shows
    };
    void Fill(int pane, ComparedPicture preferred);
    void ShowChoice(int pane);
    void ShowFigures(int pane);
    // The other pane takes the zoom and scroll position of `pane`.
    void Align(int pane);

    const DocumentPictures& m_pictures;
    std::array<Pane, kPanes> m_panes;
    bool m_stale = true;
    bool m_aligning = false;
};

}  // namespace zantrel
