#pragma once
// The Data Field Editor, the third tab of the main window's side panel: the
// Artist, Title and Album of catalogued MP3 files in the list LVData, filled
// from file names, typed in for many files at once, swapped or cleared, and
// written into the catalog records by Update (the files on disk are not
// touched; the data file changes when the catalog is saved). FrmMain owns it;
// its handlers carry the names of its controls.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ui_services.h"
#include "session/catalog_session.h"
#include "views/list_model.h"

namespace tallymere {

// Columns of LVData.
enum DataEditorColumn {
  kDataFileName,  // the File name without its extension
  kDataArtist,
  kDataTitle,
  kDataAlbum,
  kDataPath,
  kDataEditorColumns
};

// The captions of the pane's controls.
inline constexpr std::string_view kOption1Caption = "Apply to All";
inline constexpr std::string_view kOption2Caption = "Apply Tto Selected";
inline constexpr std::string_view kChkArtCaption = "Apply to \"Artist\"";
inline constexpr std::string_view kChkTitleCaption = "Apply to \"Title\"";
inline constexpr std::string_view kChkAlbumCaption = "Apply to \"Album\"";
inline constexpr std::string_view kTArtCaption = "Artist: ";
inline constexpr std::string_view kTTitleCaption = "Title:";
inline constexpr std::string_view kTAlbCaption = "Album:";
inline constexpr std::string_view kTFileCaption = "File:";

class DataFieldEditor {
 public:
  // Update writes into the session's catalog, shows the new fields in the
  // rows of `file_list` and marks the catalog changed.
  DataFieldEditor(UiServices& ui, CatalogSession& session, ListModel& file_list);
  DataFieldEditor(const DataFieldEditor&) = delete;
  DataFieldEditor& operator=(const DataFieldEditor&) = delete;

  // --- Handlers ---------------------------------------------------------------
  // The first two steps of Send to Data Field Editor: an entry for each
  // selected row of the file list. False, with the editor empty, when a file
  // that is not MP3 ended it.
  bool FillFromFileList();
  // Entering the tab: "Apply to All", and Enter sets the Album only.
  void EnterTab();
  void cmdUse_Click();  // "Use File Name"
  void mnuUse_Click() { cmdUse_Click(); }
  void cmdEnter_Click();
  void cmdAtoT_Click();  // "Artist <=> Title"
  void cmdTtoA_Click();  // "Title <=> Album"
  void mnuClearField_Click();
  void mnuPop3Del_Click();     // "Remove Selected"
  void mnuPop3DelAll_Click();  // "Remove All"
  void cmdUpdata_Click();      // "Update"
  void LVData_ItemClick(int row);

  // --- Inputs and what the view shows ---------------------------------------------
  ListModel& LVData() { return m_LVData; }
  const ListModel& LVData() const { return m_LVData; }
  // The scope of Use File Name, Enter and the swaps: Option1 "Apply to All"
  // or Option2 "Apply Tto Selected".
  bool Option1() const { return m_apply_to_all; }
  bool Option2() const { return !m_apply_to_all; }
  void set_Option1(bool all) { m_apply_to_all = all; }
  // The fields Enter sets.
  bool chkArt() const { return m_chkArt; }
  bool chkTitle() const { return m_chkTitle; }
  bool chkAlbum() const { return m_chkAlbum; }
  void set_chkArt(bool on) { m_chkArt = on; }
  void set_chkTitle(bool on) { m_chkTitle = on; }
  void set_chkAlbum(bool on) { m_chkAlbum = on; }
  // The input boxes; tFile only shows the clicked entry's file.
  const std::string& tArt() const { return m_tArt; }
  const std::string& tTitle() const { return m_tTitle; }
  const std::string& tAlb() const { return m_tAlb; }
  const std::string& tFile() const { return m_tFile; }
  void set_tArt(std::string text) { m_tArt = std::move(text); }
  void set_tTitle(std::string text) { m_tTitle = std::move(text); }
  void set_tAlb(std::string text) { m_tAlb = std::move(text); }

 private:
  std::vector<int> RowsInScope() const;
  void ClearInputs();
  void SwapColumns(int first, int second);
  // Writes the entries into their records; returns the indices of the
  // records updated.
  std::vector<int> UpdateRecords();
  // The file list's rows of these records show their new fields.
  void ShowInFileList(const std::vector<int>& updated);

  UiServices& m_ui;
  CatalogSession& m_session;
  ListModel& m_file_list;
  ListModel m_LVData;
  bool m_apply_to_all = true;
  bool m_chkArt = false;
  bool m_chkTitle = false;
  bool m_chkAlbum = true;
  std::string m_tArt;
  std::string m_tTitle;
  std::string m_tAlb;
  std::string m_tFile;
};

}  // namespace tallymere
