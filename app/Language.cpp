#include "app/Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QTranslator>
#include <memory>
#include <vector>

namespace zantrel {

namespace {

const QString kLanguageKey = QStringLiteral("Settings/Language");
// The desktop's texts, then the messages of the layers below it where that file is built in.
const char* const kEnglishFiles[] = {":/i18n/zantrel_app_en.qm", ":/i18n/zantrel_messages_en.qm"};

struct Installed {
    std::optional<Language> language;
    std::vector<QPointer<QTranslator>> translators;
};

Installed& State() {
    static Installed installed;
    return installed;
}

void Install(std::unique_ptr<QTranslator> translator) {
    // Owned by the application, so none outlives it.
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.get());
    State().translators.emplace_back(translator.release());
}

}  // namespace

std::optional<Language> ParseLanguage(const QString& code) {
    if (code == QLatin1String("zh"))
        return Language::Chinese;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

Language SavedLanguage(const QSettings& profile) {
    return ParseLanguage(profile.value(kLanguageKey).toString()).value_or(Language::Chinese);
}

void SaveLanguage(QSettings& profile, Language language) {
    profile.setValue(kLanguageKey,
                     language == Language::English ? QStringLiteral("en") : QStringLiteral("zh"));
    profile.sync();
}

void ApplyLanguage(Language language) {
    Installed& state = State();
    if (state.language == language)
        return;
    state.language = language;
    for (const QPointer<QTranslator>& translator : state.translators) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    state.translators.clear();
    if (language == Language::English) {
        for (const char* file : kEnglishFiles) {
            auto translator = std::make_unique<QTranslator>();
            if (QFile::exists(QString::fromLatin1(file)) &&
                translator->load(QString::fromLatin1(file)))
                Install(std::move(translator));
        }
        return;
    }
    // Qt's own dialogs in the language of the rest of the interface, where installed.
    auto qtTexts = std::make_unique<QTranslator>();
    if (qtTexts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        Install(std::move(qtTexts));
}

Language AppliedLanguage() {
    return State().language.value_or(Language::Chinese);
}

}  // namespace zantrel
