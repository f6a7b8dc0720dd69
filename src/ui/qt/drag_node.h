#pragma once
// Dragging a tree node to the scan batch: the node travels as its id under a
// MIME type of our own, and the drag shows a welcome or a not-welcome picture
// as the batch list decides.

#include <QMimeData>
#include <QPixmap>

namespace tallymere {

inline constexpr char kNodeMimeType[] = "application/x-tallymere-tree-node";

QMimeData* NodeMimeData(int node);
// The dragged node, or -1 when the data carries none.
int NodeFromMimeData(const QMimeData* data);

// The picture shown while a drop is welcome (copy) and while it is not (link:
// the drop still happens, but adds nothing useful).
QPixmap WelcomeDragPicture();
QPixmap NotWelcomeDragPicture();

}  // namespace tallymere
