#include "view/DecompParamDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <initializer_list>

#include "quadtree/DecompositionParameters.h"
#include "view/DialogHost.h"
#include "view/ParameterFields.h"

namespace zantrel {

namespace {

// Converts dialog units, which scale with the dialog's font, to pixels: a horizontal unit is
// a quarter of the average character width, a vertical one an eighth of the line height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFontMetrics& metrics)
        : m_baseX(metrics.horizontalAdvance(
                      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                  52.0),
          m_baseY(metrics.height()) {}

    QRect Rect(int x, int y, int width, int height) const {
        return {X(x), Y(y), X(width), Y(height)};
    }
    int X(int units) const { return qRound(units * m_baseX / 4.0); }
    int Y(int units) const { return qRound(units * m_baseY / 8.0); }

  private:
    double m_baseX;
    double m_baseY;
};

// A label wide enough for its text even where the font runs wider than the layout assumed.
void PlaceLabel(QLabel* label, QRect rect) {
    rect.setWidth(std::max(rect.width(), label->sizeHint().width()));
    rect.setHeight(std::max(rect.height(), label->sizeHint().height()));
    label->setGeometry(rect);
}

}  // namespace

DecompParamDlg::DecompParamDlg(DialogHost& host, QWidget* parent) : QDialog(parent), m_host(host) {
    // The title bar stays empty; Qt shows the program's name for an empty title, not a blank.
    setWindowTitle(QStringLiteral(" "));
    const DialogUnits units(fontMetrics());

    // Created in tab order: OK, penalty, minimum block size, Cancel.
    m_okButton = new QPushButton(tr("确定"), this);
    m_okButton->setGeometry(units.Rect(95, 70, 50, 14));
    m_okButton->setDefault(true);
    m_penaltyEdit = new QLineEdit(this);
    m_penaltyEdit->setGeometry(units.Rect(20, 40, 40, 14));
    auto* penaltyLabel = new QLabel(tr("请输入惩罚因子"), this);
    PlaceLabel(penaltyLabel, units.Rect(16, 20, 57, 8));
    auto* group = new QGroupBox(tr("分解深度"), this);
    group->setGeometry(units.Rect(10, 7, 150, 85));
    group->lower();
    auto* minBlockSizeLabel = new QLabel(tr("最小分块尺寸"), this);
    PlaceLabel(minBlockSizeLabel, units.Rect(95, 20, 49, 8));
    m_minBlockSizeEdit = new QLineEdit(this);
    m_minBlockSizeEdit->setGeometry(units.Rect(95, 40, 40, 14));
    m_cancelButton = new QPushButton(tr("取消"), this);
    m_cancelButton->setGeometry(units.Rect(20, 70, 50, 14));
    // Enter on a focused button presses that button, as Space does: Cancel must not pass it
    // on to the default button.
    m_cancelButton->setAutoDefault(true);
    // The mode below the group, which keeps its place and size.
    m_exactButton = new QRadioButton(RunModeName(RunMode::Exact), this);
    m_exactButton->setGeometry(units.Rect(20, 96, 70, 12));
    m_optimisedButton = new QRadioButton(RunModeName(RunMode::Optimised), this);
    m_optimisedButton->setGeometry(units.Rect(95, 96, 70, 12));
    for (QRadioButton* button : {m_exactButton, m_optimisedButton})
        button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
    // One choice: Tab stops at the checked button only, and the arrows move the check.
    auto* modes = new QButtonGroup(this);
    for (QRadioButton* button : {m_exactButton, m_optimisedButton})
        modes->addButton(button);
    connect(modes, &QButtonGroup::buttonToggled, this, [](QAbstractButton* button, bool checked) {
        button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    });
    m_exactButton->setChecked(true);
    m_optimisedButton->setFocusPolicy(Qt::ClickFocus);

    // Texts longer than the layout's (English, a wide font) move the right column over and widen
    // the group and the dialog; where they fit, everything keeps its place.
    const int gap = units.X(4);
    const int shift = std::max(0, penaltyLabel->geometry().right() + gap - minBlockSizeLabel->x());
    for (QWidget* right : std::initializer_list<QWidget*>{minBlockSizeLabel, m_minBlockSizeEdit,
                                                          m_okButton, m_optimisedButton})
        right->move(right->x() + shift, right->y());
    const int groupRight =
        std::max(group->geometry().right() + shift, minBlockSizeLabel->geometry().right() + gap);
    group->resize(groupRight - group->x() + 1, group->height());
    const int contentRight = std::max(groupRight, m_optimisedButton->geometry().right());
    setFixedSize(std::max(units.X(170), contentRight + 1 + units.X(10)), units.Y(114));

    m_penaltyEdit->setText(QString::fromStdString(FormatPenalty(m_penalty)));
    m_minBlockSizeEdit->setText(QString::fromStdString(FormatMinBlockSize(m_minBlockSize)));

    connect(m_okButton, &QPushButton::clicked, this, &DecompParamDlg::OnOK);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void DecompParamDlg::SetMode(RunMode mode) {
    ModeButton(mode)->setChecked(true);
}

void DecompParamDlg::OnOK() {
    const std::optional<DecompositionParameters> parameters =
        ReadParameterFields(m_host, *m_penaltyEdit, *m_minBlockSizeEdit);
    if (!parameters)
        return;
    m_penalty = parameters->penalty;
    m_minBlockSize = parameters->minBlockSize;
    m_mode = m_optimisedButton->isChecked() ? RunMode::Optimised : RunMode::Exact;
    accept();
}

}  // namespace zantrel
