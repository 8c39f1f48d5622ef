#pragma once
// The interface language: Chinese, the source texts, or English through the translations
// embedded in the program (the desktop's texts and, where built in, the messages from below
// it). The choice is kept in the profile; `zantrel --lang` overrides it for one start.

#include <QString>
#include <optional>

class QSettings;

namespace zantrel {

enum class Language { Chinese, English };

// "zh" or "en", as --lang and the profile write them; nullopt for anything else.
std::optional<Language> ParseLanguage(const QString& code);

// The language kept in `profile`; Chinese when none or an unknown one is kept.
Language SavedLanguage(const QSettings& profile);
void SaveLanguage(QSettings& profile, Language language);

// Installs the translators of `language` in place of the others; Qt then sends every window
// QEvent::LanguageChange. Chinese brings Qt's own dialogs in Chinese, as ever.
void ApplyLanguage(Language language);
Language AppliedLanguage();

}  // namespace zantrel
