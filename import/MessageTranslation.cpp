#include "import/MessageTranslation.h"

#include <QCoreApplication>
#include <QTranslator>

#include "picture/MessageText.h"

namespace zantrel {

bool InstallMessagesTranslation(std::string_view language) {
    // "en", "en_GB", "en-US": English; "eo" or "enx" are other languages.
    const bool english = language.starts_with("en") &&
                         (language.size() == 2 || language[2] == '_' || language[2] == '-');
    if (!english)
        return false;
    // Lives as long as the program: the application keeps only a pointer to it.
    static QTranslator translator;
    if (translator.isEmpty() && !translator.load(QStringLiteral(":/i18n/zantrel_messages_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

std::string TranslateMessage(std::string_view pattern, const std::vector<std::string>& arguments) {
    const std::string source(pattern);
    const QByteArray translated = QCoreApplication::translate("Zantrel", source.c_str()).toUtf8();
    return FillPlaceholders(std::string_view(translated.constData(), translated.size()), arguments);
}

std::string TranslateStageText(std::string_view text) {
    std::size_t labelEnd = text.size();
    while (labelEnd > 0 && text[labelEnd - 1] >= '0' && text[labelEnd - 1] <= '9')
        --labelEnd;
    return TranslateMessage(text.substr(0, labelEnd)) + std::string(text.substr(labelEnd));
}

}  // namespace zantrel
