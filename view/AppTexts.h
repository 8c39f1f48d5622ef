#pragma once
// Texts the shell shows in more than one place: the window caption, the document's name and
// the status bar's idle text. The menu, toolbar and prompt texts live in the command table.
// They are Chinese source texts, shown through AppText in the interface's language.

#include <QCoreApplication>
#include <QString>

namespace zantrel {

inline constexpr const char* kCreditLine = QT_TRANSLATE_NOOP("AppTexts", "Zantrel 项目组 制作");
// The application caption: the program's name with its credit line in full-width parentheses.
inline constexpr const char* kAppCaption =
    QT_TRANSLATE_NOOP("AppTexts", "Zantrel（Zantrel 项目组 制作）");
// The title of a document that holds no file (start-up without a file, Ctrl+N).
inline constexpr const char* kDocumentName = QT_TRANSLATE_NOOP("AppTexts", "图象处理");
inline constexpr const char* kIdleText = QT_TRANSLATE_NOOP("AppTexts", "就绪");
// The text for a command that ended on an error with no more precise wording.
inline constexpr const char* kCommandFailedText = QT_TRANSLATE_NOOP("AppTexts", "命令失败。");
// The profile that keeps the recent-file list: organisation and application name.
inline constexpr const char* kProfileKey = "Zantrel Transform";
inline constexpr const char* kProfileApplication = "Zantrel";

// One of the texts above in the interface's language.
inline QString AppText(const char* source) {
    return QCoreApplication::translate("AppTexts", source);
}

}  // namespace zantrel
