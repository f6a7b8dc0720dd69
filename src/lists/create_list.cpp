#include "lists/create_list.h"

#include "lists/list_parts.h"
#include "lists/text_list.h"

namespace tallymere {

ListKind ListKindOf(const Settings& settings) {
  if (IsOn(settings.chkM3U)) return ListKind::kM3u;
  if (IsOn(settings.chkHtml)) return ListKind::kHtml;
  return ListKind::kText;
}

void ForceM3uOptions(Settings* settings) {
  settings->optOne = "True";
  settings->optSeperate = "False";
  settings->chkPath = 1;
  settings->chkSize = 0;
  settings->chkBitRate = 0;
  settings->chkHtml = 0;
  settings->chkHeader = 0;
  settings->chkSum = 0;
}

std::string OfferToOpenText(const Settings& settings, std::string_view written_path) {
  const std::string saved = "List has been saved as: " + std::string(written_path);
  switch (ListKindOf(settings)) {
    case ListKind::kHtml:
      return saved + ". Do you want to view it now?";
    case ListKind::kM3u:
      return saved + " Do you want to play it now?";
    case ListKind::kText:
      break;
  }
  return saved + " Do you want to view it now?";
}

// A playlist is always one sorted list, whatever optOne says.
Result<std::string> WriteList(const ListRequest& request, const CatalogTable& catalog) {
  if (IsOn(request.settings.chkM3U) || IsSingleList(request.settings)) {
    return CreatList_Single(request, catalog);
  }
  return CreatList_Folder(request, catalog);
}

Result<std::string> WriteList(const ListRequest& request, const std::vector<ListEntry>& rows) {
  if (IsOn(request.settings.chkM3U) || IsSingleList(request.settings)) {
    return CreatSingleReport(request, rows);
  }
  return CreatFolderReport(request, rows);
}

}  // namespace tallymere
