#include "app/WidgetDialogHost.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

namespace zantrel {

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("WidgetDialogHost", source);
}

}  // namespace

std::optional<QString> WidgetDialogHost::ChooseFile(const FileDialogRequest& request) {
    QFileDialog dialog(m_owner);
    dialog.setNameFilter(request.filter);
    if (request.forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The document asks before it replaces a file, with its own wording.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(path).absolutePath();
    // A name without an extension gets the chosen filter's, so the filter picks the format.
    if (request.forSaving && QFileInfo(path).suffix().isEmpty()) {
        static const QRegularExpression kFirstPattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch match = kFirstPattern.match(dialog.selectedNameFilter());
        if (match.hasMatch())
            path += QLatin1Char('.') + match.captured(1);
    }
    return path;
}

void WidgetDialogHost::ShowMessage(const QString& text, const QString& caption, MessageIcon icon) {
    ShowMessage(text, QString(), caption, icon);
}

void WidgetDialogHost::ShowMessage(const QString& text, const QString& informative,
                                   const QString& caption, MessageIcon icon) {
    QMessageBox box(
        icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information, caption,
        text, QMessageBox::NoButton, m_owner);
    box.setInformativeText(informative);
    box.addButton(Tr(QT_TRANSLATE_NOOP("WidgetDialogHost", "确定")), QMessageBox::AcceptRole);
    // Wide enough for the caption, which is the label of a figure box, and for each short line
    // under the message (a figure with its unit) unbroken.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        constexpr int kShortLine = 480;
        int widest = box.fontMetrics().horizontalAdvance(caption);
        for (const QString& line : informative.split(QLatin1Char('\n')))
            widest =
                std::max(widest, std::min(kShortLine, box.fontMetrics().horizontalAdvance(line)));
        const int width = widest + 120;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

bool WidgetDialogHost::Confirm(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, m_owner);
    QPushButton* yes =
        box.addButton(Tr(QT_TRANSLATE_NOOP("WidgetDialogHost", "是(&Y)")), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(Tr(QT_TRANSLATE_NOOP("WidgetDialogHost", "否(&N)")), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int WidgetDialogHost::Exec(QDialog& dialog) {
    return dialog.exec();
}

bool WidgetDialogHost::SetUpPrinter(QPrinter& printer, const QString& pdfName) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        QString path = QFileDialog::getSaveFileName(
            m_owner, Tr(QT_TRANSLATE_NOOP("WidgetDialogHost", "打印到 PDF 文件")),
            !pdfName.isEmpty()       ? pdfName
            : m_lastFolder.isEmpty() ? QStringLiteral("Zantrel.pdf")
                                     : QDir(m_lastFolder).filePath(QStringLiteral("Zantrel.pdf")),
            Tr(QT_TRANSLATE_NOOP("WidgetDialogHost", "PDF 文件(*.pdf)")));
        if (path.isEmpty())
            return false;
        m_lastFolder = QFileInfo(path).absolutePath();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
    QPrintDialog dialog(&printer, m_owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace zantrel
