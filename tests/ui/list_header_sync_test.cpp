#include "ui/qt/list_header_sync.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

namespace tallymere {
namespace {

TEST(ListHeaderSyncTest, WidthsInWindowUnitsGrowWithTheFontAndZeroHides) {
  EXPECT_EQ(UnitsToPixels(1800), 120);
  EXPECT_EQ(UnitsToPixels(650), 43);
  EXPECT_EQ(UnitsToPixels(0), 0);
  EXPECT_EQ(PixelsToUnits(120), 1800);
  // The old font's characters were 5 pixels wide: a wider font widens every
  // column as much, a narrower one never narrows it, and a column is never
  // narrower than its texts.
  EXPECT_EQ(ColumnPixels(600, 5.0, 0), 40);
  EXPECT_EQ(ColumnPixels(600, 7.0, 0), 56);
  EXPECT_EQ(ColumnPixels(600, 4.0, 0), 40);
  EXPECT_EQ(ColumnPixels(650, 7.0, 75), 75);
  EXPECT_EQ(ColumnPixels(0, 7.0, 75), 0);

  ListModel list({"File Name", "Path", "Size", "Modified"}, {3000, 0, 800, 1800});
  ListModelAdapter adapter(list);
  QTableView table;
  table.setModel(&adapter);
  ListHeaderSync sync(&adapter, table.horizontalHeader());
  QHeaderView* header = table.horizontalHeader();
  const auto scaled = [&](int units) {
    return ColumnPixels(units, header->fontMetrics().averageCharWidth(), 0);
  };
  EXPECT_EQ(header->sectionSize(0), scaled(3000));
  EXPECT_TRUE(header->isSectionHidden(1));
  EXPECT_EQ(header->sectionSize(3), scaled(1800));

  header->resizeSection(2, 77);  // as if dragged by the user
  list.SetWidth(1, 1500);
  list.SetWidth(3, 0);
  EXPECT_FALSE(header->isSectionHidden(1));
  EXPECT_EQ(header->sectionSize(1), scaled(1500));
  EXPECT_TRUE(header->isSectionHidden(3));
  EXPECT_EQ(header->sectionSize(2), 77);  // a column the program did not set stays
  list.SetGridLines(true);
  EXPECT_EQ(header->sectionSize(2), 77);

  // A refill keeps the columns as they are.
  list.AddRows({ListRow{.text = "a", .sub_items = {}}});
  EXPECT_TRUE(header->isSectionHidden(3));
  EXPECT_EQ(header->sectionSize(1), scaled(1500));
}

TEST(ListHeaderSyncTest, HeaderClicksGoToTheControllerAndTheIndicatorShowsItsChoice) {
  ListModel list({"File Name", "Size"}, {2000, 800});
  ListModelAdapter adapter(list);
  QTreeView view;
  view.setModel(&adapter);
  view.resize(400, 300);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QHeaderView* header = view.header();
  ListHeaderSync sync(&adapter, header);
  for (const char* name : {"b", "a"}) list.AddRow({.text = name, .sub_items = {}});
  EXPECT_FALSE(header->isSortIndicatorShown());

  // A stand-in controller: ascending on a new column, flipping on the same.
  int last = -1;
  QObject::connect(&sync, &ListHeaderSync::columnClicked, [&](int column) {
    const bool same = column - 1 == last;
    list.SetSortOrder(same && list.sort_order() == SortOrder::kAscending ? SortOrder::kDescending
                                                                         : SortOrder::kAscending);
    list.SetSortKey(column - 1);
    list.SetSorted(true);
    last = column - 1;
  });
  const auto click = [&](int section) {
    const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  };

  click(0);
  EXPECT_EQ(list.Cell(0, 0), "a");
  EXPECT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  click(0);
  EXPECT_EQ(list.Cell(0, 0), "b");
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  click(1);
  EXPECT_EQ(header->sortIndicatorSection(), 1);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

}  // namespace
}  // namespace tallymere
