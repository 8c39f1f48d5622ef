#pragma once
// Texts the shell shows in more than one place: the window caption, the document's name and
// the status bar's idle text. The menu, toolbar and prompt texts live in the command table.

inline constexpr const char* kCreditLine = "Zantrel 项目组 制作";
// The application caption: the program's name with its credit line in full-width parentheses.
inline constexpr const char* kAppCaption = "Zantrel（Zantrel 项目组 制作）";
// The title of a document that holds no file (start-up without a file, Ctrl+N).
inline constexpr const char* kDocumentName = "图象处理";
inline constexpr const char* kIdleText = "就绪";
// The text for a command that ended on an error with no more precise wording.
inline constexpr const char* kCommandFailedText = "命令失败。";
// The profile that keeps the recent-file list: organisation and application name.
inline constexpr const char* kProfileKey = "Zantrel Transform";
inline constexpr const char* kProfileApplication = "Zantrel";
