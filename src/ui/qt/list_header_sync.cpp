#include "ui/qt/list_header_sync.h"

#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QStyle>
#include <algorithm>

namespace tallymere {
namespace {

bool IsLastShown(const QHeaderView& header, int column) {
  for (int visual = header.count() - 1; visual >= 0; --visual) {
    const int logical = header.logicalIndex(visual);
    if (!header.isSectionHidden(logical)) return logical == column;
  }
  return false;
}

}  // namespace

int UnitsToPixels(int units) { return (units + kUnitsPerPixel / 2) / kUnitsPerPixel; }

int PixelsToUnits(int pixels) { return pixels * kUnitsPerPixel; }

int ColumnPixels(int units, double char_pixels, int fit_pixels) {
  if (units <= 0) return 0;
  const double scale = std::max(char_pixels / kReferenceCharPixels, 1.0);
  const auto scaled = static_cast<int>(units * scale / kUnitsPerPixel + 0.5);
  return std::max(scaled, fit_pixels);
}

void ApplyColumnWidths(const ListModel& model, QHeaderView* header, int first, int last,
                       const QMap<int, int>& user_widths) {
  if (last < 0) last = model.column_count() - 1;
  first = std::max(first, 0);
  last = std::min({last, model.column_count() - 1, header->count() - 1});
  const QFontMetrics metrics = header->fontMetrics();
  // Room beside a header's text for its margins and the sort indicator.
  const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
                      header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
  for (int column = first; column <= last; ++column) {
    const int fit =
        std::max(metrics.horizontalAdvance(QString::fromStdString(model.headers()[column])),
                 metrics.horizontalAdvance(QString::fromStdString(model.column_sample(column)))) +
        margins;
    const int pixels = ColumnPixels(model.width(column), metrics.averageCharWidth(), fit);
    if (pixels <= 0) {
      header->hideSection(column);
    } else {
      header->showSection(column);
      header->resizeSection(column, user_widths.value(column, pixels));
    }
  }
}

void ApplySortIndicator(const ListModel& model, QHeaderView* header) {
  header->setSortIndicatorShown(model.sorted());
  if (model.sorted()) {
    header->setSortIndicator(model.sort_key(), model.sort_order() == SortOrder::kAscending
                                                   ? Qt::AscendingOrder
                                                   : Qt::DescendingOrder);
  }
}

ListHeaderSync::ListHeaderSync(ListModelAdapter* adapter, QHeaderView* header)
    : QObject(header), m_adapter(adapter), m_header(header) {
  header->setSectionsClickable(true);
  // The header flips its own indicator on a click; the controller decides
  // the real order, so the model's is shown again once the click is handled.
  connect(header, &QHeaderView::sectionClicked, this, [this](int logical_index) {
    emit columnClicked(logical_index + 1);
    if (m_adapter && m_header) ApplySortIndicator(m_adapter->model(), m_header);
  });
  connect(adapter, &ListModelAdapter::columnsChanged, this, [this](int first, int last) {
    // first = -1 means only the grid lines changed: widths stay as they are.
    if (m_adapter && m_header && first >= 0) {
      const QScopedValueRollback applying(m_applying, true);
      ApplyColumnWidths(m_adapter->model(), m_header, first, last, m_user_widths);
    }
  });
  // Only a width the user drags is theirs: hiding a column resizes it to 0,
  // and the stretched last column follows the window, not the user.
  connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int pixels) {
    if (m_applying || pixels <= 0 || !m_header || m_header->isSectionHidden(column)) return;
    if (m_header->stretchLastSection() && IsLastShown(*m_header, column)) return;
    m_user_widths[column] = pixels;
  });
  const auto sort_indicator = [this] {
    if (m_adapter && m_header) ApplySortIndicator(m_adapter->model(), m_header);
  };
  connect(adapter, &QAbstractItemModel::layoutChanged, this, sort_indicator);
  connect(adapter, &QAbstractItemModel::modelReset, this, sort_indicator);
  connect(adapter, &QAbstractItemModel::rowsInserted, this, sort_indicator);
  const QScopedValueRollback applying(m_applying, true);
  ApplyColumnWidths(adapter->model(), header);
  ApplySortIndicator(adapter->model(), header);
}

void ListHeaderSync::set_user_widths(const QMap<int, int>& widths) {
  m_user_widths = widths;
  if (!m_adapter || !m_header) return;
  const QScopedValueRollback applying(m_applying, true);
  ApplyColumnWidths(m_adapter->model(), m_header, 0, -1, m_user_widths);
}

}  // namespace tallymere
