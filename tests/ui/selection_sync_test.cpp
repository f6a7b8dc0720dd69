#include "ui/qt/selection_sync.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <memory>

namespace tallymere {
namespace {

// A file list shown in a real view with extended row selection, as the main
// window shows it.
class ShownList {
 public:
  explicit ShownList(int rows) : m_list({"File Name", "Size"}, {2000, 800}), m_adapter(m_list) {
    for (int i = 0; i < rows; ++i) {
      m_list.AddRow({.text = "f" + std::to_string(i), .sub_items = {std::to_string(200 - i)}});
    }
    m_view.setUniformRowHeights(true);
    m_view.setRootIsDecorated(false);
    m_view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view.setModel(&m_adapter);
    m_view.resize(400, 600);
    m_view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    m_sync = std::make_unique<SelectionSync>(&m_adapter, m_view.selectionModel());
  }

  ListModel& list() { return m_list; }
  QTreeView& view() { return m_view; }
  QItemSelectionModel* selection() { return m_view.selectionModel(); }

  void Click(int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, modifiers,
                      m_view.visualRect(m_adapter.index(row, 0)).center());
  }
  std::vector<int> ViewRows() {
    std::vector<int> rows;
    for (int row = 0; row < m_list.row_count(); ++row) {
      if (selection()->isRowSelected(row, {})) rows.push_back(row);
    }
    return rows;
  }

  int ViewCurrent() { return selection()->currentIndex().row(); }  // -1 for none

 private:
  ListModel m_list;
  ListModelAdapter m_adapter;
  QTreeView m_view;
  std::unique_ptr<SelectionSync> m_sync;
};

TEST(SelectionSyncTest, ClicksInTheViewReachTheModel) {
  ShownList shown(10);
  QSignalSpy clicked(&shown.view(), &QAbstractItemView::clicked);
  std::vector<int> seen_by_click_handler;
  QObject::connect(&shown.view(), &QAbstractItemView::clicked,
                   [&] { seen_by_click_handler = shown.list().SelectedRows(); });

  shown.Click(2);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{2}));
  EXPECT_EQ(shown.list().current(), 2);
  EXPECT_EQ(seen_by_click_handler, (std::vector<int>{2}));  // already there for the handler

  shown.Click(5, Qt::ControlModifier);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{2, 5}));
  EXPECT_EQ(shown.list().current(), 5);

  shown.Click(7, Qt::ShiftModifier);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{2, 5, 6, 7}));

  shown.Click(3);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{3}));
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{3}));
  EXPECT_EQ(clicked.count(), 4);
}

TEST(SelectionSyncTest, ModelSelectionShowsInTheView) {
  ShownList shown(10);
  shown.list().SelectOnly(4);
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{4}));
  EXPECT_EQ(shown.ViewCurrent(), 4);

  shown.list().SetRangeSelected(6, 8, true);
  shown.list().SetSelected(7, false);
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{4, 6, 8}));
  // The view's echo did not change the model.
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{4, 6, 8}));

  shown.list().SetCurrent(9);
  EXPECT_EQ(shown.ViewCurrent(), 9);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{4, 6, 8}));

  shown.list().ClearSelection();
  shown.list().SetCurrent(-1);
  EXPECT_TRUE(shown.ViewRows().empty());
  EXPECT_EQ(shown.ViewCurrent(), -1);

  shown.list().AddRow({.text = "new", .sub_items = {}, .selected = true});
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{10}));
}

TEST(SelectionSyncTest, SelectionAndCurrentSurviveSortsRemovalsAndRefills) {
  ShownList shown(10);  // sizes 200..191: sorting by size reverses the rows
  shown.Click(1);
  shown.Click(3, Qt::ControlModifier);
  ASSERT_EQ(shown.list().current(), 3);

  shown.list().SetSortKey(1);
  shown.list().SetSorted(true);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{6, 8}));
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{6, 8}));
  EXPECT_EQ(shown.list().current(), 6);
  EXPECT_EQ(shown.ViewCurrent(), 6);
  EXPECT_EQ(shown.list().Cell(6, 0), "f3");

  shown.list().RemoveRow(6);  // the current row goes
  EXPECT_EQ(shown.list().current(), 5);
  EXPECT_EQ(shown.ViewCurrent(), 5);
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{7}));
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{7}));

  shown.list().Clear();
  shown.list().SetSorted(false);
  shown.list().AddRows(
      {ListRow{}, ListRow{.text = "chosen", .sub_items = {}, .selected = true}, ListRow{}});
  EXPECT_EQ(shown.ViewRows(), (std::vector<int>{1}));
  EXPECT_EQ(shown.ViewCurrent(), -1);

  // And the user can go on selecting after all that.
  shown.Click(2);
  EXPECT_EQ(shown.list().SelectedRows(), (std::vector<int>{2}));
}

}  // namespace
}  // namespace tallymere
