#pragma once
// What a file manager drops on the program: a data file to open, or folders
// to add to the scan batch. Only local files count; a web address or a file
// inside an archive is not a drop the program can use.

#include <QString>
#include <QStringList>

class QMimeData;

namespace tallymere {

// The first dropped file named *.mpd (in any case), or an empty string.
QString DataFileIn(const QMimeData* mime);
// Every dropped folder, in the order dropped.
QStringList FoldersIn(const QMimeData* mime);

}  // namespace tallymere
