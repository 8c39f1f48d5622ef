#include "view/ParameterFields.h"

#include <QLineEdit>

#include "import/MessageTranslation.h"
#include "platform/Shell.h"
#include "view/DialogHost.h"

namespace zantrel {

std::optional<DecompositionParameters> ReadParameterFields(DialogHost& host, QLineEdit& penalty,
                                                           QLineEdit& minBlockSize) {
    DecompositionParameters parameters;
    const std::optional<ParameterError> error = ParseDecompositionParameters(
        penalty.text().toStdString(), minBlockSize.text().toStdString(), parameters);
    if (!error)
        return parameters;
    host.ShowMessage(QString::fromStdString(TranslateMessage(error->pattern, error->arguments)),
                     QString::fromUtf8(kAppName), MessageIcon::Exclamation);
    QLineEdit& offending = error->field == ParameterError::MinBlockSize ? minBlockSize : penalty;
    offending.setFocus();
    offending.selectAll();
    return std::nullopt;
}

}  // namespace zantrel
