#pragma once
// The Data File Info window's controller (frmDataInfo): seven labels about the
// open data file and the catalog in memory, filled when the window opens. The
// texts are the ones tallymere-cli info prints, from the same code.

#include <array>
#include <string>
#include <string_view>

#include "session/catalog_session.h"

namespace tallymere {

inline constexpr std::string_view kDataInfoCaption = "Tallymere - Data File Info";
inline constexpr std::string_view kDataInfoFrame = "Data File Properties";

class FrmDataInfo {
 public:
  explicit FrmDataInfo(const CatalogSession& session);

  void Form_Load();

  // Label1 to Label7, in screen order; their design texts until Form_Load.
  const std::array<std::string, 7>& labels() const { return m_labels; }

 private:
  const CatalogSession& m_session;
  std::array<std::string, 7> m_labels;
};

}  // namespace tallymere
