#pragma once
// The About box: icon, program name and version, and the caption's credit line.

#include <QDialog>

namespace zantrel {

class AboutDlg final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDlg(QWidget* parent = nullptr);
};

}  // namespace zantrel
