#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/ToolIcons.h"
#include "view/AppTexts.h"

namespace zantrel {

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("关于 Zantrel"));

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* version = new QLabel(tr("Zantrel 版本 %1").arg(QStringLiteral(ZANTREL_VERSION)), this);
    auto* credit = new QLabel(AppText(kCreditLine), this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(credit, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zantrel
