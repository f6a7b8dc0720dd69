#pragma once
// The list views of the windows (LV, LVP, LVData): whole rows, several at a
// time, sorted by their controller, with grid lines when their model asks.

#include <QTreeView>
#include <functional>

#include "ui/qt/list_model_adapter.h"

namespace tallymere {

inline QTreeView* MakeListView(const char* name) {
  auto* view = new QTreeView;
  view->setObjectName(name);
  view->setRootIsDecorated(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSortingEnabled(false);  // the controller sorts
  return view;
}

// Grid lines: a light rule under and beside every cell, drawn while
// grid_lines says so, looked at again whenever the model's columns change.
inline void ShowGridLinesOf(ListModelAdapter* adapter, QTreeView* view,
                            std::function<bool()> grid_lines) {
  QObject::connect(adapter, &ListModelAdapter::columnsChanged, view,
                   [view, grid_lines = std::move(grid_lines)](int first) {
                     if (first >= 0) return;
                     view->setStyleSheet(grid_lines()
                                             ? "QTreeView::item { border-right: 1px solid "
                                               "palette(midlight); border-bottom: 1px solid "
                                               "palette(midlight); }"
                                             : QString());
                   });
}

}  // namespace tallymere
