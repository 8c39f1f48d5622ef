#pragma once
// Printing a picture: one page, the picture centred on it at the printer's resolution.

#include <QImage>
#include <QString>

namespace zantrel {

class DialogHost;

// Asks `host` where to print, then prints `picture` on one page, centred and as large as the
// printable area allows, its proportions kept and its pixels sharp squares. The job takes the
// name of the document's file `path` (none when empty), and a PDF file is proposed beside it
// under that name. A null picture prints an empty page. A printer that cannot start is
// reported through the shell.
void PrintPicture(DialogHost& host, const QImage& picture, const QString& path);

}  // namespace zantrel
