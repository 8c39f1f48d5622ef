#include "view/ParameterFields.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "import/MessageTranslation.h"
#include "platform/Shell.h"
#include "view/DialogHost.h"

namespace zantrel {

namespace {

void Refuse(DialogHost& host, const QString& message, QLineEdit& offending) {
    host.ShowMessage(message, QString::fromUtf8(kAppName), MessageIcon::Exclamation);
    offending.setFocus();
    offending.selectAll();
}

}  // namespace

std::optional<DecompositionParameters> ReadParameterFields(DialogHost& host, QLineEdit& penalty,
                                                           QLineEdit& minBlockSize) {
    DecompositionParameters parameters;
    const std::optional<ParameterError> error = ParseDecompositionParameters(
        penalty.text().toStdString(), minBlockSize.text().toStdString(), parameters);
    if (!error)
        return parameters;
    Refuse(host, QString::fromStdString(TranslateMessage(error->pattern, error->arguments)),
           error->field == ParameterError::MinBlockSize ? minBlockSize : penalty);
    return std::nullopt;
}

QString RunModeName(RunMode mode) {
    return mode == RunMode::Optimised ? QCoreApplication::translate("ParameterFields", "率失真优化")
                                      : QCoreApplication::translate("ParameterFields", "精确模式");
}

std::optional<double> ReadRateField(DialogHost& host, QLineEdit& rate) {
    bool number = false;
    const double value = rate.text().trimmed().toDouble(&number);
    if (number && IsRateTargetInRange(value))
        return value;
    Refuse(host,
           QCoreApplication::translate("ParameterFields", "比特率须在 %1 到 %2 比特/像素之间。")
               .arg(kRateLow)
               .arg(kRateHigh),
           rate);
    return std::nullopt;
}

QString FormatRate(double rate) {
    return QString::number(rate, 'g', 3);
}

}  // namespace zantrel
