#pragma once
// The parameter dialog of the quadtree command: the penalty factor and the minimum block
// size, and below them the mode the cut-line command will run in. It is made afresh for every
// run, so it always opens with 1, 4 and the exact mode. OK closes it only
// when both values pass their checks (block size first); a failed check shows its message and
// puts the focus back into the offending edit box.

#include <QDialog>
#include <cstdint>

#include "view/ParameterFields.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zantrel {

class DialogHost;

class DecompParamDlg final : public QDialog {
    Q_OBJECT
  public:
    // Messages go through `host`.
    explicit DecompParamDlg(DialogHost& host, QWidget* parent = nullptr);

    // Valid once the dialog was accepted.
    double m_penalty = 1.0;           // 0 … 100000000
    std::int32_t m_minBlockSize = 4;  // 1 … 128
    RunMode m_mode = RunMode::Exact;

    // Checks the mode's button.
    void SetMode(RunMode mode);

    QLineEdit* PenaltyEdit() const { return m_penaltyEdit; }
    QLineEdit* MinBlockSizeEdit() const { return m_minBlockSizeEdit; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QRadioButton* ModeButton(RunMode mode) const {
        return mode == RunMode::Optimised ? m_optimisedButton : m_exactButton;
    }

  private:
    void OnOK();

    DialogHost& m_host;
    QPushButton* m_okButton;
    QLineEdit* m_penaltyEdit;
    QLineEdit* m_minBlockSizeEdit;
    QPushButton* m_cancelButton;
    QRadioButton* m_exactButton;
    QRadioButton* m_optimisedButton;
};

}  // namespace zantrel
