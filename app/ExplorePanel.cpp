#include "app/ExplorePanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/RateCurveWidget.h"
#include "app/SliderScale.h"
#include "app/StageRuns.h"
#include "app/ZantrelDoc.h"
#include "measure/FigureText.h"
#include "measure/RunFigures.h"
#include "view/ParameterFields.h"

namespace zantrel {

namespace {

constexpr double kSliderLow = 0.1;
const QString kNoFigure = QStringLiteral("—");

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

CurvePoint PointOf(const RunFigures& figures) {
    return {figures.penalty, figures.fileBitrate, figures.psnr};
}

}  // namespace

double ExplorePanel::PenaltyAt(int position) {
    const double exact =
        kSliderLow * std::pow(10.0, static_cast<double>(position) / kStepsPerDecade);
    const double unit = std::pow(10.0, std::floor(std::log10(exact)) - 2);
    return std::round(exact / unit) * unit;
}

double ExplorePanel::RateStepsPerDecade() {
    return kSliderSteps / std::log10(kRateHigh / kRateLow);
}

double ExplorePanel::RateAt(int position) {
    // The ends exactly: the range's own numbers, whatever the rounding.
    if (position <= 0)
        return kRateLow;
    if (position >= kSliderSteps)
        return kRateHigh;
    const double exact = kRateLow * std::pow(10.0, position / RateStepsPerDecade());
    const double unit = std::pow(10.0, std::floor(std::log10(exact)) - 2);
    return std::clamp(std::round(exact / unit) * unit, kRateLow, kRateHigh);
}

int ExplorePanel::PositionOfRate(double rate) {
    if (!(rate > kRateLow))
        return 0;
    const long position = std::lround(std::log10(rate / kRateLow) * RateStepsPerDecade());
    return static_cast<int>(std::min<long>(position, kSliderSteps));
}

int ExplorePanel::PositionOf(double penalty) {
    if (!(penalty > kSliderLow))
        return 0;
    const long position = std::lround(std::log10(penalty / kSliderLow) * kStepsPerDecade);
    return static_cast<int>(std::min<long>(position, kSliderSteps));
}

ExplorePanel::ExplorePanel(ZantrelDoc& doc, StageRuns& runs, DialogHost& host, QWidget* parent)
    : QDockWidget(parent), m_doc(doc), m_runs(runs), m_host(host) {
    setObjectName(QStringLiteral("ExplorePanel"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);

    m_note = new QLabel(content);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    m_controls = new QWidget(content);
    auto* controls = new QVBoxLayout(m_controls);
    controls->setContentsMargins(0, 0, 0, 0);
    auto* settings = m_settingsBox = new QGroupBox(m_controls);
    auto* form = new QFormLayout(settings);
    for (QLabel*& name : m_rowNames)
        name = new QLabel(m_controls);
    m_modeChoice = new QComboBox(settings);
    m_modeChoice->addItem(QString(), static_cast<int>(RunMode::Exact));
    m_modeChoice->addItem(QString(), static_cast<int>(RunMode::Optimised));
    form->addRow(m_rowNames[ModeName], m_modeChoice);
    m_targetChoice = new QComboBox(settings);
    m_targetChoice->addItem(QString(), static_cast<int>(Target::Penalty));
    m_targetChoice->addItem(QString(), static_cast<int>(Target::Rate));
    form->addRow(m_rowNames[TargetName], m_targetChoice);
    m_slider = new QSlider(Qt::Horizontal, settings);
    m_slider->setRange(0, kSliderSteps);
    m_slider->setPageStep(kStepsPerDecade / 4);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(kStepsPerDecade);
    m_penaltyEdit = new QLineEdit(settings);
    m_penaltyEdit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    m_rateEdit = new QLineEdit(settings);
    m_rateEdit->setMaximumWidth(m_penaltyEdit->maximumWidth());
    m_rateEdit->hide();
    m_scale = new SliderScale(*m_slider, &PenaltyAt, settings);
    auto* sliderColumn = new QVBoxLayout;
    sliderColumn->setSpacing(0);
    sliderColumn->addWidget(m_slider);
    sliderColumn->addWidget(m_scale);
    auto* penaltyRow = new QHBoxLayout;
    penaltyRow->addLayout(sliderColumn, 1);
    penaltyRow->addWidget(m_penaltyEdit, 0, Qt::AlignTop);
    penaltyRow->addWidget(m_rateEdit, 0, Qt::AlignTop);
    form->addRow(m_rowNames[PenaltyName], penaltyRow);
    m_minBlockSizeEdit = new QLineEdit(settings);
    m_minBlockSizeEdit->setMaximumWidth(m_penaltyEdit->maximumWidth());
    form->addRow(m_rowNames[MinBlockSizeName], m_minBlockSizeEdit);
    controls->addWidget(settings);

    // The curve right under the settings it answers: in a short window the figures scroll.
    auto* curveBox = m_curveBox = new QGroupBox(m_controls);
    auto* curveLayout = new QVBoxLayout(curveBox);
    // A heading that wraps rather than a title, which would set the panel's narrowest width.
    m_curveHeading = new QLabel(curveBox);
    m_curveHeading->setWordWrap(true);
    curveLayout->addWidget(m_curveHeading);
    m_curve = new RateCurveWidget(curveBox);
    curveLayout->addWidget(m_curve, 1);
    controls->addWidget(curveBox, 1);

    auto* result = m_resultBox = new QGroupBox(m_controls);
    auto* figures = new QFormLayout(result);
    m_settings = new QLabel(kNoFigure, result);
    m_settings->setWordWrap(true);
    figures->addRow(m_rowNames[SettingsName], m_settings);
    for (int row = 0; row < kFigureRows; ++row) {
        m_figures[row] = new QLabel(kNoFigure, result);
        m_figures[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(m_rowNames[kRowNames + row], m_figures[row]);
    }
    m_running = new QLabel(result);
    figures->addRow(m_running);
    m_rateNote = new QLabel(result);
    m_rateNote->setWordWrap(true);
    m_rateNote->hide();
    figures->addRow(m_rateNote);
    controls->addWidget(result);
    layout->addWidget(m_controls, 1);
    // Scrolled rather than squeezed: the window can give the picture the room it needs.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    setWidget(scroll);

    Retranslate();
    m_slider->setValue(PositionOf(m_values.penalty));
    m_penaltyEdit->setText(Text(FormatPenalty(m_values.penalty)));
    m_minBlockSizeEdit->setText(Text(FormatMinBlockSize(m_values.minBlockSize)));
    m_rateEdit->setText(FormatRate(m_rate));
    ShowTarget();

    connect(m_slider, &QSlider::valueChanged, this, &ExplorePanel::OnSliderMoved);
    connect(m_penaltyEdit, &QLineEdit::returnPressed, this, &ExplorePanel::OnEditsApplied);
    connect(m_minBlockSizeEdit, &QLineEdit::returnPressed, this, [this] {
        if (SliderTarget() == Target::Rate)
            OnRateApplied();
        else
            OnEditsApplied();
    });
    connect(m_rateEdit, &QLineEdit::returnPressed, this, &ExplorePanel::OnRateApplied);
    connect(m_modeChoice, &QComboBox::currentIndexChanged, this, &ExplorePanel::OnModeChosen);
    connect(m_targetChoice, &QComboBox::currentIndexChanged, this, &ExplorePanel::OnTargetChosen);
    connect(m_curve, &RateCurveWidget::PenaltyChosen, this, &ExplorePanel::OnCurvePenaltyChosen);
    // A new gray picture stops the curve being computed; the kept ones are checked against
    // it when a curve is next shown.
    connect(&doc, &ZantrelDoc::GrayReplaced, this, [this] { m_curveKey.reset(); });
    connect(&doc, &ZantrelDoc::Opened, this, &ExplorePanel::Refresh);
    connect(&doc, &ZantrelDoc::StageChanged, this, &ExplorePanel::Refresh);
    connect(&runs.Stages(), &BackgroundRun::BusyChanged, this, &ExplorePanel::ShowBusy);
    connect(&runs, &StageRuns::RateApplied, this, &ExplorePanel::OnRateRunApplied);
}

void ExplorePanel::Retranslate() {
    setWindowTitle(tr("探索"));
    m_settingsBox->setTitle(tr("分解深度"));
    m_resultBox->setTitle(tr("当前结果"));
    m_curveHeading->setText(tr("率失真曲线（点击一点取其惩罚因子）"));
    m_penaltyEdit->setToolTip(tr("惩罚因子（0 … 100000000），回车应用"));
    m_rateEdit->setToolTip(
        tr("文件比特率（%1 … %2 比特/像素），回车应用").arg(kRateLow).arg(kRateHigh));
    m_modeChoice->setItemText(0, RunModeName(RunMode::Exact));
    m_modeChoice->setItemText(1, RunModeName(RunMode::Optimised));
    m_modeChoice->setToolTip(
        tr("率失真优化：分块、切割线、斜面和量化的灰度值一起为文件选择，"
           "惩罚因子是文件每一比特的代价"));
    m_targetChoice->setItemText(0, tr("惩罚因子"));
    m_targetChoice->setItemText(1, tr("比特率"));
    m_targetChoice->setToolTip(tr("滑块调节惩罚因子，或（率失真优化时）文件的比特率"));
    m_minBlockSizeEdit->setToolTip(tr("最小分块尺寸（1 … 128），回车应用"));
    const char* const names[kRowNames + kFigureRows] = {QT_TR_NOOP("惩罚因子"),
                                                        QT_TR_NOOP("最小分块尺寸"),
                                                        QT_TR_NOOP("模式"),
                                                        QT_TR_NOOP("滑块调节"),
                                                        QT_TR_NOOP("参数"),
                                                        QT_TR_NOOP("分块数"),
                                                        QT_TR_NOOP("切割模型数"),
                                                        "PSNR",
                                                        "SSIM",
                                                        QT_TR_NOOP("估计比特率"),
                                                        QT_TR_NOOP("文件比特率"),
                                                        QT_TR_NOOP("斜面数")};
    for (int row = 0; row < kRowNames + kFigureRows; ++row)
        m_rowNames[row]->setText(tr(names[row]));
    ShowTarget();
    // As wide as their widest texts from the start, so a new result changes no size and
    // the window is not laid out again for it; the parameters wrap after their comma rather
    // than widen the panel.
    const int figureWidth =
        fontMetrics().horizontalAdvance(QStringLiteral("000.000000 ") + BitsPerPixel());
    for (QLabel* label : m_figures)
        label->setMinimumWidth(figureWidth);
    m_settings->setMinimumWidth(figureWidth);
    m_running->setMinimumSize(m_running->fontMetrics().size(0, RunningText()));
    m_running->setText(m_shownBusy ? RunningText() : QString());
    Refresh();
    m_curve->update();
}

int ExplorePanel::PreferredWidth() const {
    const auto* scroll = static_cast<const QScrollArea*>(widget());
    return scroll->widget()->sizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
           2 * scroll->frameWidth() + (width() - scroll->width());
}

QString ExplorePanel::SettingsText(double penalty, std::int32_t minBlockSize) {
    return tr("惩罚因子 %1，最小分块尺寸 %2").arg(Text(FormatPenalty(penalty))).arg(minBlockSize);
}

QString ExplorePanel::BitsPerPixel() {
    return tr("比特/像素");
}

QString ExplorePanel::RunningText() {
    return tr("正在计算…");
}

RunMode ExplorePanel::Mode() const {
    return static_cast<RunMode>(m_modeChoice->currentData().toInt());
}

void ExplorePanel::SetMode(RunMode mode) {
    const QSignalBlocker blocker(m_modeChoice);
    m_modeChoice->setCurrentIndex(m_modeChoice->findData(static_cast<int>(mode)));
    ShowTarget();
    Refresh();
}

ExplorePanel::Target ExplorePanel::SliderTarget() const {
    return Mode() == RunMode::Optimised ? static_cast<Target>(m_targetChoice->currentData().toInt())
                                        : Target::Penalty;
}

void ExplorePanel::ShowTarget() {
    const bool rate = SliderTarget() == Target::Rate;
    m_targetChoice->setEnabled(Mode() == RunMode::Optimised);
    m_rowNames[PenaltyName]->setText(rate ? tr("比特率") : tr("惩罚因子"));
    m_slider->setToolTip(
        rate
            ? tr("文件比特率 %1 … %2 比特/像素，每两格十倍").arg(kRateLow).arg(RateAt(kSliderSteps))
            : tr("惩罚因子 0.1 … 100000，每格十倍"));
    // Two ticks a decade of rates, as the tip says.
    m_slider->setTickInterval(rate ? static_cast<int>(std::lround(RateStepsPerDecade() / 2))
                                   : kStepsPerDecade);
    m_scale->SetValues(rate ? &RateAt : &PenaltyAt);
    m_penaltyEdit->setVisible(!rate);
    m_rateEdit->setVisible(rate);
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(rate ? PositionOfRate(m_rate) : PositionOf(m_values.penalty));
}

void ExplorePanel::OnModeChosen() {
    ShowTarget();
    // The same settings in the other mode.
    if (SliderTarget() == Target::Rate)
        Request(m_values, m_rate);
    else
        Request(m_values);
}

void ExplorePanel::OnTargetChosen() {
    // Each target starts from the current result, so that switching runs nothing new.
    if (const std::optional<RunFigures>& figures = m_doc.Figures()) {
        if (SliderTarget() == Target::Rate && IsRateTargetInRange(figures->fileBitrate)) {
            m_rate = figures->fileBitrate;
        } else if (SliderTarget() == Target::Penalty) {
            m_values.penalty = figures->penalty;
        }
    }
    m_penaltyEdit->setText(Text(FormatPenalty(m_values.penalty)));
    m_rateEdit->setText(FormatRate(m_rate));
    ShowTarget();
}

void ExplorePanel::OnRateApplied() {
    const std::optional<DecompositionParameters> parameters =
        ReadParameterFields(m_host, *m_penaltyEdit, *m_minBlockSizeEdit);
    if (!parameters)
        return;
    const std::optional<double> rate = ReadRateField(m_host, *m_rateEdit);
    if (!rate)
        return;
    m_rate = *rate;
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(PositionOfRate(*rate));
    Request(*parameters, *rate);
}

void ExplorePanel::OnSliderMoved(int position) {
    if (SliderTarget() == Target::Rate) {
        m_rate = RateAt(position);
        m_rateEdit->setText(FormatRate(m_rate));
        m_minBlockSizeEdit->setText(Text(FormatMinBlockSize(m_values.minBlockSize)));
        Request(m_values, m_rate, true);
        return;
    }
    DecompositionParameters parameters = m_values;
    parameters.penalty = PenaltyAt(position);
    m_penaltyEdit->setText(Text(FormatPenalty(parameters.penalty)));
    m_minBlockSizeEdit->setText(Text(FormatMinBlockSize(parameters.minBlockSize)));
    Request(parameters, std::nullopt, true);
}

void ExplorePanel::OnEditsApplied() {
    const std::optional<DecompositionParameters> parameters =
        ReadParameterFields(m_host, *m_penaltyEdit, *m_minBlockSizeEdit);
    if (!parameters)
        return;
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(PositionOf(parameters->penalty));
    Request(*parameters);
}

void ExplorePanel::OnCurvePenaltyChosen(double penalty) {
    DecompositionParameters parameters = m_values;
    parameters.penalty = penalty;
    m_penaltyEdit->setText(Text(FormatPenalty(penalty)));
    const QSignalBlocker blocker(m_slider);
    if (SliderTarget() == Target::Penalty) {
        m_slider->setValue(PositionOf(penalty));
    } else {
        // The slider keeps setting rates: it and the box take the point's, and the point's
        // own penalty runs, the file the curve measured.
        const std::vector<CurvePoint>& points = m_curve->Curve();
        const auto point = std::ranges::find(points, penalty, &CurvePoint::penalty);
        if (point != points.end()) {
            m_rate = std::clamp(point->bitrate, kRateLow, kRateHigh);
            m_rateEdit->setText(FormatRate(point->bitrate));
        }
        m_slider->setValue(PositionOfRate(m_rate));
    }
    Request(parameters);
}

void ExplorePanel::SetValues(const DecompositionParameters& values) {
    m_values = values;
    m_used = values;
    // A refused text left in a field goes too: the fields show what was run.
    m_penaltyEdit->setText(Text(FormatPenalty(values.penalty)));
    m_minBlockSizeEdit->setText(Text(FormatMinBlockSize(values.minBlockSize)));
    ShowTarget();
    Refresh();
}

void ExplorePanel::Request(DecompositionParameters parameters, std::optional<double> rate,
                           bool slider) {
    m_values = parameters;
    m_used = parameters;
    m_requestedRate = rate;
    const StageRequest request{parameters, true, Mode(), rate};
    if (slider)
        m_runs.Step(request);
    else
        m_runs.Start(request);
    Refresh();
}

void ExplorePanel::OnRateRunApplied(const RateOutcome& outcome) {
    // The penalty a rate target found is the one the parameter dialog offers next.
    if (m_used && m_requestedRate == outcome.target)
        m_used->penalty = outcome.penalty;
}

void ExplorePanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Refresh();
}

void ExplorePanel::Refresh() {
    const DocumentPictures& pictures = m_doc.Pictures();
    const bool available = !pictures.Decoded() && !pictures.Gray().samples.empty();
    if (pictures.Decoded()) {
        m_note->setText(tr("解码的 Zantrel 文件没有灰度图像，不能探索。"));
    } else if (!available) {
        m_note->setText(tr("请先执行“图像灰度化”：探索在灰度图像上进行。"));
    } else {
        m_note->clear();
    }
    m_note->setVisible(!available);
    m_controls->setEnabled(available);
    ShowFigures(available ? m_doc.Figures() : std::nullopt);
    if (!available) {
        m_curveKey.reset();
        m_curve->SetCurve({});
        m_curve->SetOtherCurve({});
        m_curve->SetComputing(false);
    }
    ShowBusy(m_runs.Busy());
    if (available && isVisible() && m_curveKey != CurveKey{m_values.minBlockSize, Mode()})
        StartCurve();
}

void ExplorePanel::ShowBusy(bool busy) {
    if (busy == m_shownBusy)
        return;
    m_shownBusy = busy;
    m_running->setText(busy ? RunningText() : QString());
}

void ExplorePanel::ShowRateNote(const std::optional<RunFigures>& figures) {
    const std::optional<RateOutcome>& outcome = m_runs.LastRate();
    // Only about the result shown: the run applied last made it.
    if (!figures || !outcome || outcome->miss == RateMiss::None ||
        outcome->penalty != figures->penalty) {
        m_rateNote->clear();
        m_rateNote->hide();
        return;
    }
    QString why;
    switch (outcome->miss) {
        case RateMiss::AboveFinest:
            why = tr("最小分块尺寸为 %1 时，最细的分解也只有这么多。").arg(figures->minBlockSize);
            break;
        case RateMiss::BelowCoarsest:
            why = tr("最粗的分解的文件也不会更小。");
            break;
        default:
            why = tr("相邻的两个惩罚因子之间，文件比特率跳过了它。");
            break;
    }
    m_rateNote->setText(tr("无法达到 %1 比特/像素：最接近的是 %2。")
                            .arg(FormatRate(outcome->target))
                            .arg(Text(FormatFigure(figures->fileBitrate))) +
                        why);
    m_rateNote->show();
}

void ExplorePanel::ShowFigures(const std::optional<RunFigures>& figures) {
    m_curve->SetCurrent(figures ? std::optional(PointOf(*figures)) : std::nullopt);
    // Only the optimised mode makes ramps: the row is the optimised result's, or the mode's
    // while there is none.
    static_cast<QFormLayout*>(m_resultBox->layout())
        ->setRowVisible(m_figures[Ramps],
                        figures ? m_doc.Pictures().Optimised() : Mode() == RunMode::Optimised);
    ShowRateNote(figures);
    if (!figures) {
        m_settings->setText(kNoFigure);
        for (QLabel* label : m_figures)
            label->setText(kNoFigure);
        return;
    }
    // A rate target's penalty comes out of a bisection: four significant digits tell it.
    const double penalty = SliderTarget() == Target::Rate
                               ? QString::number(figures->penalty, 'g', 4).toDouble()
                               : figures->penalty;
    m_settings->setText(SettingsText(penalty, figures->minBlockSize));
    m_figures[Blocks]->setText(QString::number(figures->blocks));
    m_figures[CutModels]->setText(QString::number(figures->cutModels));
    m_figures[Psnr]->setText(Text(FormatFigure(figures->psnr)) + QStringLiteral(" dB"));
    m_figures[Ssim]->setText(Text(FormatFigure(figures->ssim)));
    m_figures[BitRate]->setText(Text(FormatFigure(figures->bitrate)) + QLatin1Char(' ') +
                                BitsPerPixel());
    m_figures[FileBitRate]->setText(Text(FormatFigure(figures->fileBitrate)) + QLatin1Char(' ') +
                                    BitsPerPixel());
    m_figures[Ramps]->setText(QString::number(figures->ramps));
}

void ExplorePanel::StartCurve() {
    const CurveKey key{m_values.minBlockSize, Mode()};
    m_curveKey = key;
    std::shared_ptr<const GrayPicture> gray = m_doc.Inputs().gray;
    if (gray != m_curveGray && !(gray && m_curveGray && *gray == *m_curveGray)) {
        m_curves.clear();
        m_curveGray = gray;
    }
    const std::pair<std::int32_t, RunMode> kept{key.minBlockSize, key.mode};
    // The other mode's curve of the same picture and block size beside it, once it is known.
    const auto other = m_curves.find(
        {key.minBlockSize, key.mode == RunMode::Exact ? RunMode::Optimised : RunMode::Exact});
    m_curve->SetMode(key.mode);
    m_curve->SetOtherCurve(other != m_curves.end() ? other->second : std::vector<CurvePoint>{});
    if (const auto it = m_curves.find(kept); it != m_curves.end()) {
        m_curve->SetCurve(it->second);
        m_curve->SetComputing(false);
        return;
    }
    m_curve->SetCurve({});
    m_curve->SetComputing(true);
    m_runs.StartCurve(key.minBlockSize, key.mode,
                      [this, kept, gray](const std::vector<RunFigures>& figures) {
                          std::vector<CurvePoint> points;
                          for (const RunFigures& f : figures)
                              points.push_back(PointOf(f));
                          if (gray == m_curveGray)
                              m_curves[kept] = points;
                          m_curve->SetCurve(std::move(points));
                          m_curve->SetComputing(false);
                      });
}

QString ExplorePanel::FigureText(FigureRow row) const {
    return m_figures[row]->text();
}

QString ExplorePanel::RateNoteText() const {
    return m_rateNote->text();
}

QString ExplorePanel::NoteText() const {
    return m_note->isHidden() ? QString() : m_note->text();
}

}  // namespace zantrel
