#include "view/CompareView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "measure/FigureText.h"
#include "view/ColorMap.h"
#include "view/PictureCanvas.h"

namespace zantrel {

namespace {

// The colour map from left (0) to right (the largest error).
class ColorBar final : public QWidget {
  public:
    explicit ColorBar(QWidget* parent) : QWidget(parent) { setFixedHeight(12); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int last = std::max(1, width() - 1);
        for (int x = 0; x < width(); ++x)
            painter.fillRect(x, 0, 1, height(), QColor(ColorMapAt(double(x) / last)));
    }
};

// What each pane shows until the user chooses, the first computed of these: the two modes'
// approximations side by side once both ran, else the latest approximation beside its error,
// or the gray picture beside the colour one.
constexpr ComparedPicture kLeftFirst[] = {ComparedPicture::ExactApproximation,
                                          ComparedPicture::Approximation, ComparedPicture::Blocks,
                                          ComparedPicture::Gray, ComparedPicture::Color};
constexpr ComparedPicture kRightFirst[] = {ComparedPicture::OptimisedApproximation,
                                           ComparedPicture::Error, ComparedPicture::Color};

std::span<const ComparedPicture> FirstChoices(int pane) {
    return pane == 0 ? std::span<const ComparedPicture>(kLeftFirst) : kRightFirst;
}

}  // namespace

CompareView::CompareView(const DocumentPictures& pictures, QWidget* parent)
    : QWidget(parent), m_pictures(pictures) {
    auto* panes = new QHBoxLayout(this);
    panes->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kPanes; ++i) {
        Pane& pane = m_panes[static_cast<std::size_t>(i)];
        auto* column = new QVBoxLayout;
        pane.chooser = new QComboBox(this);
        pane.chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        pane.figures = new QLabel(this);
        pane.figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
        pane.canvas = new PictureCanvas(this);
        pane.scale = new QWidget(this);
        auto* scale = new QHBoxLayout(pane.scale);
        scale->setContentsMargins(4, 2, 4, 2);
        scale->addWidget(new QLabel(QStringLiteral("0"), pane.scale));
        scale->addWidget(new ColorBar(pane.scale), 1);
        pane.scaleTop = new QLabel(pane.scale);
        scale->addWidget(pane.scaleTop);
        // Both canvases keep the same height, so their scroll positions match.
        QSizePolicy keepsItsPlace = pane.scale->sizePolicy();
        keepsItsPlace.setRetainSizeWhenHidden(true);
        pane.scale->setSizePolicy(keepsItsPlace);
        pane.scale->hide();
        // The choice keeps its whole name; the figures take a line of their own under it and
        // never widen the pane.
        pane.figures->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        pane.figures->setMinimumHeight(pane.figures->fontMetrics().height());
        auto* top = new QHBoxLayout;
        top->addWidget(pane.chooser);
        top->addStretch(1);
        column->addLayout(top);
        column->addWidget(pane.figures);
        column->addWidget(pane.canvas, 1);
        column->addWidget(pane.scale);
        panes->addLayout(column, 1);

        connect(pane.chooser, &QComboBox::currentIndexChanged, this, [this, i] {
            m_panes[static_cast<std::size_t>(i)].chosen = true;
            ShowChoice(i);
        });
        connect(pane.canvas, &PictureCanvas::ViewChanged, this, [this, i] { Align(i); });
    }
}

void CompareView::UpdatePictures() {
    m_stale = true;
    if (!isVisible())
        return;
    m_stale = false;
    for (int i = 0; i < kPanes; ++i) {
        const QVariant current = Chooser(i).currentData();
        Fill(i, m_panes[static_cast<std::size_t>(i)].chosen && current.isValid()
                    ? SamePicture(m_pictures, static_cast<ComparedPicture>(current.toInt()))
                    : FirstChoices(i).front());
    }
}

void CompareView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale)
        UpdatePictures();
}

void CompareView::Retranslate() {
    for (int pane = 0; pane < kPanes; ++pane) {
        QComboBox& chooser = Chooser(pane);
        for (int i = 0; i < chooser.count(); ++i) {
            chooser.setItemText(
                i, QCoreApplication::translate("ComparePictures",
                                               ComparedPictureText(static_cast<ComparedPicture>(
                                                   chooser.itemData(i).toInt()))));
        }
        ShowFigures(pane);
    }
}

void CompareView::Fill(int pane, ComparedPicture preferred) {
    QComboBox& chooser = Chooser(pane);
    {
        const QSignalBlocker quiet(chooser);
        chooser.clear();
        for (const ComparedPicture picture : AvailableComparedPictures(m_pictures))
            chooser.addItem(
                QCoreApplication::translate("ComparePictures", ComparedPictureText(picture)),
                static_cast<int>(picture));
        int index = chooser.findData(static_cast<int>(preferred));
        for (const ComparedPicture next : FirstChoices(pane)) {
            if (index < 0)
                index = chooser.findData(static_cast<int>(next));
        }
        chooser.setCurrentIndex(index < 0 ? chooser.count() - 1 : index);
    }
    ShowChoice(pane);
}

void CompareView::ShowChoice(int pane) {
    const QVariant chosen = Chooser(pane).currentData();
    ComparedImage shown;
    if (chosen.isValid())
        shown = MakeComparedImage(m_pictures, static_cast<ComparedPicture>(chosen.toInt()));
    Canvas(pane).SetImage(std::move(shown.image));
    Scale(pane).setVisible(shown.scaleTop.has_value());
    ScaleTop(pane).setText(shown.scaleTop ? QString::number(*shown.scaleTop) : QString());
    ShowFigures(pane);
    Align(1 - pane);
}

void CompareView::ShowFigures(int pane) {
    const QVariant chosen = Chooser(pane).currentData();
    ComparedFigures figures;
    if (chosen.isValid())
        figures = MeasureComparedPicture(m_pictures, static_cast<ComparedPicture>(chosen.toInt()));
    const auto text = [](std::optional<double> figure) {
        return QString::fromStdString(FormatFigure(*figure));
    };
    QString shown;
    if (figures.psnr && figures.fileBitrate) {
        shown = tr("PSNR %1 dB，文件比特率 %2 比特/像素")
                    .arg(text(figures.psnr), text(figures.fileBitrate));
    } else if (figures.psnr) {
        shown = tr("PSNR %1 dB").arg(text(figures.psnr));
    } else if (figures.fileBitrate) {
        shown = tr("文件比特率 %1 比特/像素").arg(text(figures.fileBitrate));
    }
    Figures(pane).setText(shown);
}

void CompareView::Align(int pane) {
    if (m_aligning)
        return;
    m_aligning = true;
    Canvas(1 - pane).Follow(Canvas(pane));
    m_aligning = false;
}

}  // namespace zantrel
