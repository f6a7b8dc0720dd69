#pragma once
// RAII for the pieces of desktop state a command changes while it runs, so
// every way out of a command (return, early stop, error) restores them.

#include <string>

#include "ports/ui_services.h"

namespace tallymere {

// The busy pointer for the life of the scope.
class BusyScope {
 public:
  explicit BusyScope(UiServices& ui) : m_ui(ui) { m_ui.BusyPointer(true); }
  ~BusyScope() { m_ui.BusyPointer(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  UiServices& m_ui;
};

// A running animation for the life of the scope.
class AnimationScope {
 public:
  AnimationScope(UiServices& ui, AnimationKind kind) : m_ui(ui), m_kind(kind) {
    m_ui.Animation(m_kind, true);
  }
  ~AnimationScope() { m_ui.Animation(m_kind, false); }
  AnimationScope(const AnimationScope&) = delete;
  AnimationScope& operator=(const AnimationScope&) = delete;

 private:
  UiServices& m_ui;
  AnimationKind m_kind;
};

}  // namespace tallymere
