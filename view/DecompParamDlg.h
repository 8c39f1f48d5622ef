#pragma once
// The parameter dialog of the quadtree command: the penalty factor and the minimum block
// size. It is made afresh for every run, so it always opens with 1 and 4. OK closes it only
// when both values pass their checks (block size first); a failed check shows its message and
// puts the focus back into the offending edit box.

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;

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

    QLineEdit* PenaltyEdit() const { return m_penaltyEdit; }
    QLineEdit* MinBlockSizeEdit() const { return m_minBlockSizeEdit; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

  private:
    void OnOK();

    DialogHost& m_host;
    QPushButton* m_okButton;
    QLineEdit* m_penaltyEdit;
    QLineEdit* m_minBlockSizeEdit;
    QPushButton* m_cancelButton;
};

}  // namespace zantrel
