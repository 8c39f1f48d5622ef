#pragma once
// The explore panel "探索": the mode, the penalty on a logarithmic slider with an exact edit
// box (in the optimised mode the slider may set the file's bit rate instead), the minimum
// block size, the figures of the current result and the picture's rate–distortion curve. Moving the
// slider, pressing Enter in a box or clicking a point of the curve runs the quadtree, the search
// and the reconstruction on the worker; the newest request wins, and its result is shown in mode 6
// when that is shown, in mode 5 otherwise. The curve is computed on a worker of its own, once per
// gray picture, minimum block size and mode, while the panel shows. The panel works on the gray
// picture, so it is off until there is one and for a decoded document.

#include <QDockWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/RateCurveWidget.h"
#include "picture/Picture.h"
#include "quadtree/DecompositionParameters.h"
#include "view/ParameterFields.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace zantrel {

class DialogHost;
class SliderScale;
class StageRuns;
class ZantrelDoc;
struct RateOutcome;
struct RunFigures;

class ExplorePanel final : public QDockWidget {
    Q_OBJECT
  public:
    // Reads `doc`, runs on `runs` and shows refusals through `host`; all must outlive the panel.
    ExplorePanel(ZantrelDoc& doc, StageRuns& runs, DialogHost& host, QWidget* parent = nullptr);

    // The values of the last run, the panel's or the parameter dialog's, once there was one.
    const std::optional<DecompositionParameters>& UsedValues() const { return m_used; }
    // The width that shows every field without scrolling.
    int PreferredWidth() const;
    // Takes `values`, run from the parameter dialog: the panel's fields and slider show them
    // and its next run starts from them.
    void SetValues(const DecompositionParameters& values);
    // The mode of the panel's runs, which the parameter dialog opens with and sets.
    RunMode Mode() const;
    // Chooses the mode without running it.
    void SetMode(RunMode mode);
    // What the slider sets: the penalty, or in the optimised mode the file's bit rate.
    enum class Target { Penalty, Rate };
    Target SliderTarget() const;
    // Reads the document and the worker again: whether the panel is available, the figures,
    // whether a run computes, and the curve, which is computed again only for another gray
    // picture or minimum block size. The panel does so itself whenever they change.
    void Refresh();
    // Every text of the panel again, in the interface's language.
    void Retranslate();

    // The slider's scale: 0.1 at position 0 to 100000 at kSliderSteps, kStepsPerDecade
    // positions for each power of ten, each rounded to three significant digits.
    static constexpr int kStepsPerDecade = 100;
    static constexpr int kSliderSteps = 6 * kStepsPerDecade;
    static double PenaltyAt(int position);
    // The nearest position; the ends for penalties beyond them.
    static int PositionOf(double penalty);
    // The rate target's scale: kRateLow at position 0 to kRateHigh at kSliderSteps, evenly
    // in the logarithm, three significant digits.
    static double RateAt(int position);
    static int PositionOfRate(double rate);
    // The positions from one rate to ten times it.
    static double RateStepsPerDecade();

    QSlider* PenaltySlider() const { return m_slider; }
    SliderScale* PenaltyScale() const { return m_scale; }
    QLineEdit* PenaltyEdit() const { return m_penaltyEdit; }
    QLineEdit* MinBlockSizeEdit() const { return m_minBlockSizeEdit; }
    QLineEdit* RateEdit() const { return m_rateEdit; }
    QComboBox* ModeChoice() const { return m_modeChoice; }
    QComboBox* TargetChoice() const { return m_targetChoice; }
    RateCurveWidget* Curve() const { return m_curve; }
    // The shown figures: blocks, cut models, PSNR, SSIM, estimated and file bit rate with
    // units, and the optimised mode's leaves with a ramp.
    enum FigureRow { Blocks, CutModels, Psnr, Ssim, BitRate, FileBitRate, Ramps, kFigureRows };
    QString FigureText(FigureRow row) const;
    // Why the panel is off; empty while it is available.
    QString NoteText() const;
    // Where the current result misses its rate target, by how much and why; empty otherwise.
    QString RateNoteText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnSliderMoved(int position);
    // Enter in either box: both are checked with the parameter dialog's rules.
    void OnEditsApplied();
    void OnCurvePenaltyChosen(double penalty);
    // Enter in the rate box.
    void OnRateApplied();
    void OnModeChosen();
    void OnTargetChosen();
    // The slider, its tip and the boxes beside it for the target.
    void ShowTarget();
    // `slider`: a step of the slider, which lets a step still running show its picture.
    void Request(DecompositionParameters parameters, std::optional<double> rate = std::nullopt,
                 bool slider = false);
    void ShowFigures(const std::optional<RunFigures>& figures);
    void ShowRateNote(const std::optional<RunFigures>& figures);
    void OnRateRunApplied(const RateOutcome& outcome);
    void ShowBusy(bool busy);
    void StartCurve();
    static QString SettingsText(double penalty, std::int32_t minBlockSize);
    static QString BitsPerPixel();
    static QString RunningText();

    ZantrelDoc& m_doc;
    StageRuns& m_runs;
    DialogHost& m_host;
    QWidget* m_controls;
    QGroupBox* m_settingsBox;
    QGroupBox* m_resultBox;
    QGroupBox* m_curveBox;
    QLabel* m_curveHeading;
    // The row names: penalty, minimum block size, parameters, then one per figure.
    enum RowName { PenaltyName, MinBlockSizeName, ModeName, TargetName, SettingsName };
    static constexpr int kRowNames = SettingsName + 1;
    QLabel* m_rowNames[kRowNames + kFigureRows];
    QLabel* m_note;
    QSlider* m_slider;
    SliderScale* m_scale;
    QLineEdit* m_penaltyEdit;
    QLineEdit* m_minBlockSizeEdit;
    QLineEdit* m_rateEdit;
    QComboBox* m_modeChoice;
    QComboBox* m_targetChoice;
    QLabel* m_settings;
    QLabel* m_figures[kFigureRows];
    QLabel* m_running;
    QLabel* m_rateNote;
    RateCurveWidget* m_curve;

    DecompositionParameters m_values;  // the last valid values
    double m_rate = 0.1;               // the last valid rate target
    std::optional<DecompositionParameters> m_used;
    std::optional<double> m_requestedRate;  // the newest request's rate target, if it had one
    bool m_shownBusy = false;
    // The minimum block size and mode of the curve of the gray picture shown or being
    // computed; none while there is no such curve.
    struct CurveKey {
        std::int32_t minBlockSize;
        RunMode mode;
        bool operator==(const CurveKey&) const = default;
    };
    std::optional<CurveKey> m_curveKey;
    // The curves computed for m_curveGray, kept until another gray picture comes: converting
    // the same colour picture again costs no new curve.
    std::shared_ptr<const GrayPicture> m_curveGray;
    std::map<std::pair<std::int32_t, RunMode>, std::vector<CurvePoint>> m_curves;
};

}  // namespace zantrel
