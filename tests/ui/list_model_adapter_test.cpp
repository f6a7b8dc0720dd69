#include "ui/qt/list_model_adapter.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "ui/qt/colour_number.h"
#include "ui/qt/icon_provider.h"

namespace tallymere {
namespace {

using Tester = QAbstractItemModelTester;

ListModel FileList() {
  return ListModel({"File Name", "Path", "Size", "Modified"}, {2000, 0, 800, 1800});
}

ListRow Row(std::string name, std::string size = "1") {
  return {.text = std::move(name),
          .sub_items = {"C:\\Music\\", std::move(size), "8/23/99 10:15:30 PM"},
          .icon = 1};
}

std::vector<ListRow> Rows(int count) {
  std::vector<ListRow> rows;
  for (int i = 0; i < count; ++i) rows.push_back(Row("f" + std::to_string(i), std::to_string(i)));
  return rows;
}

TEST(ListModelAdapterTest, TesterAcceptsEveryKindOfListChange) {
  ListModel list = FileList();
  ListModelAdapter adapter(list);
  Tester tester(&adapter, Tester::FailureReportingMode::Fatal);
  QTreeView view;
  view.setModel(&adapter);

  for (const char* name : {"d", "b", "a", "c"}) list.AddRow(Row(name));
  list.SetSelected(1, true);
  list.SetCurrent(2);
  list.SetSorted(true);
  list.AddRow(Row("bb"));
  list.SetSortOrder(SortOrder::kDescending);
  list.AddRow(Row("aa"));
  list.SetCell(0, 3, "changed");
  list.SetTextColor(1, 0x00FF00);
  list.SetSortKey(2);
  list.RemoveRow(0);
  list.RemoveRow(list.row_count() - 1);
  list.SetWidth(1, 1500);
  list.AddRows(Rows(200));
  list.SetSorted(false);
  list.AddRows(Rows(3));
  list.SelectOnly(5);
  list.Clear();
  list.AddRow(Row("last"));

  ASSERT_EQ(adapter.rowCount(), 1);
  EXPECT_EQ(adapter.index(0, 0).data().toString(), "last");
}

TEST(ListModelAdapterTest, ShowsTextsColoursIconsAndHeaders) {
  ListModel list = FileList();
  ListModelAdapter adapter(list);
  ListRow tagged = Row(std::string("Song\0\0", 6));
  tagged.sub_items.resize(1);      // Size and Modified missing
  tagged.text_color = 0x000000FF;  // red, as 0x00BBGGRR
  tagged.icon = 3;
  list.AddRow(tagged);
  list.AddRow(Row("plain"));
  list.AddRow({.text = "bare", .sub_items = {}});

  EXPECT_EQ(adapter.columnCount(), 4);
  EXPECT_EQ(adapter.headerData(2, Qt::Horizontal).toString(), "Size");
  EXPECT_EQ(adapter.index(0, 0).data().toString(), "Song");
  EXPECT_EQ(adapter.index(0, 1).data().toString(), "C:\\Music\\");
  EXPECT_EQ(adapter.index(0, 2).data().toString(), "");
  EXPECT_EQ(adapter.index(0, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromNumber(0x00102030), QColor(0x30, 0x20, 0x10));
  EXPECT_FALSE(adapter.index(1, 0).data(Qt::ForegroundRole).isValid());

  const auto picture = [](const QVariant& icon) {
    return icon.value<QIcon>().pixmap(16, 16).toImage();
  };
  EXPECT_EQ(picture(adapter.index(0, 0).data(Qt::DecorationRole)),
            picture(QVariant(IconProvider::Icon("mp3"))));
  EXPECT_EQ(picture(adapter.index(1, 0).data(Qt::DecorationRole)),
            picture(QVariant(IconProvider::Icon("file"))));
  EXPECT_FALSE(adapter.index(1, 1).data(Qt::DecorationRole).isValid());
  EXPECT_FALSE(adapter.index(2, 0).data(Qt::DecorationRole).isValid());  // icon 0: none

  // A header click is the controller's: the adapter itself never sorts.
  adapter.sort(0, Qt::DescendingOrder);
  EXPECT_EQ(adapter.index(0, 0).data().toString(), "Song");
  EXPECT_FALSE(list.sorted());
}

TEST(ListModelAdapterTest, SmallChangesAreRowSignalsAndSortsMovePersistentIndexes) {
  ListModel list = FileList();
  ListModelAdapter adapter(list);
  for (const char* name : {"d", "b", "a", "c"}) list.AddRow(Row(name));
  QPersistentModelIndex d(adapter.index(0, 2));
  QPersistentModelIndex a(adapter.index(2, 0));
  QSignalSpy inserted(&adapter, &QAbstractItemModel::rowsInserted);
  QSignalSpy changed(&adapter, &QAbstractItemModel::dataChanged);
  QSignalSpy reset(&adapter, &QAbstractItemModel::modelReset);
  QSignalSpy columns(&adapter, &ListModelAdapter::columnsChanged);

  list.SetSorted(true);
  EXPECT_EQ(d.row(), 3);
  EXPECT_EQ(d.column(), 2);
  EXPECT_EQ(a.row(), 0);
  EXPECT_EQ(a.data().toString(), "a");

  list.AddRow(Row("bb"));
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted.at(0).at(1).toInt(), 2);
  EXPECT_EQ(d.row(), 4);

  list.SetCell(4, 0, "z");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), adapter.index(4, 0));
  EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>(), adapter.index(4, 3));

  list.SetWidth(3, 0);
  list.SetGridLines(true);
  ASSERT_EQ(columns.count(), 2);
  EXPECT_EQ(columns.at(0).at(0).toInt(), 3);
  EXPECT_EQ(columns.at(1).at(0).toInt(), -1);
  EXPECT_EQ(reset.count(), 0);

  list.RemoveRow(0);
  EXPECT_FALSE(a.isValid());
  EXPECT_EQ(d.row(), 3);
}

TEST(ListModelAdapterTest, BulkFillOfAFullCatalogShowsEveryRow) {
  constexpr int kRows = 32765;
  ListModel list = FileList();
  ListModelAdapter adapter(list);
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setRootIsDecorated(false);
  view.setModel(&adapter);
  view.resize(600, 400);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QSignalSpy reset(&adapter, &QAbstractItemModel::modelReset);
  QSignalSpy inserted(&adapter, &QAbstractItemModel::rowsInserted);

  list.AddRows(Rows(kRows));
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(inserted.count(), 0);
  ASSERT_EQ(view.model()->rowCount(), kRows);

  const QModelIndex last = adapter.index(kRows - 1, 0);
  view.scrollTo(last);
  QCoreApplication::processEvents();
  EXPECT_TRUE(view.viewport()->rect().intersects(view.visualRect(last)));
  EXPECT_EQ(last.data().toString(), "f32764");

  list.SetSortKey(2);
  list.SetSortOrder(SortOrder::kDescending);
  list.SetSorted(true);
  EXPECT_EQ(adapter.index(0, 2).data().toString(), "9999");
  EXPECT_EQ(view.model()->rowCount(), kRows);
}

}  // namespace
}  // namespace tallymere
