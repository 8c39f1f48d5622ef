#pragma once
// The About box: icon, program name and version, and the caption's credit line.

#include <QDialog>

class CAboutDlg final : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
