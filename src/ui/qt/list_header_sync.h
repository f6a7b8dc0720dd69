#pragma once
// The header of a view showing a ListModel: column widths from the model
// (window units, 15 to a pixel, i.e. twips at 96 dpi; a width of 0 hides the
// column), the sort indicator from the model's sort column and order, and
// header clicks handed on for the controller to sort.

#include <QHeaderView>
#include <QMap>
#include <QObject>
#include <QPointer>

#include "ui/qt/list_model_adapter.h"

namespace tallymere {

inline constexpr int kUnitsPerPixel = 15;

int UnitsToPixels(int units);
int PixelsToUnits(int pixels);

// The average width of a character of the font the widths were set for, in
// pixels: the old desktop's small sans-serif.
inline constexpr double kReferenceCharPixels = 5.0;

// The pixels a column set to `units` takes in a font whose average character
// is char_pixels wide: the width grows with the font, so its texts fit as
// they did in the old one, and is never narrower than fit_pixels (its header
// and its sample text as measured, with their margins).
int ColumnPixels(int units, double char_pixels, int fit_pixels);

// Widths of the columns first..last (all by default); 0 hides a column. A
// column the model shows takes the user's width for it when there is one.
void ApplyColumnWidths(const ListModel& model, QHeaderView* header, int first = 0, int last = -1,
                       const QMap<int, int>& user_widths = {});
// Shows the sort indicator on the sort column while the model is sorted.
void ApplySortIndicator(const ListModel& model, QHeaderView* header);

class ListHeaderSync : public QObject {
  Q_OBJECT

 public:
  // The header must belong to a view showing the adapter. Widths are taken
  // from the model now and whenever the model changes one; a width the user
  // drags stays until the program sets that column again.
  ListHeaderSync(ListModelAdapter* adapter, QHeaderView* header);

  // The widths in pixels the user gave columns by dragging, by column; a
  // column the program hides (width 0) keeps the user's width for when it
  // shows again.
  const QMap<int, int>& user_widths() const { return m_user_widths; }
  // Widths remembered from an earlier run, applied to the shown columns.
  void set_user_widths(const QMap<int, int>& widths);

 signals:
  // A header click, with the 1-based column number the file list's column
  // click handler takes.
  void columnClicked(int column);

 private:
  QPointer<ListModelAdapter> m_adapter;
  QPointer<QHeaderView> m_header;
  QMap<int, int> m_user_widths;
  bool m_applying = false;  // the program, not the user, is sizing columns
};

}  // namespace tallymere
