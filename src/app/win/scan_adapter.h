// The catalogue's library list and main-window seams over the program's
// ScanSink, so the registry scan of the catalogue fills the real list.
#pragma once

#include <string>

#include "app/model/app_services.h"
#include "catalogue/library_list.h"
#include "catalogue/main_window.h"
#include "catalogue/vector_library_list.h"

namespace velbrook::app {

// Mirrors the rows the scan adds in a vector (the scan reads back File texts
// to find the sorted place) and hands each finished row to the sink, which
// inserts it at the same place in the window's list.
class ScanSinkLibraryList : public catalogue::LibraryList {
 public:
  explicit ScanSinkLibraryList(ScanSink* sink) : sink_(sink) {}

  int RowCount() const override { return shadow_.RowCount(); }
  std::string CellText(int row, int column) const override { return shadow_.CellText(row, column); }
  void DeleteAllRows() override { shadow_.DeleteAllRows(); }
  void InsertRow(int index, const std::string& file) override;
  void SetCellText(int row, int column, const std::string& text) override;
  // The scan never selects or focuses; the search does not use this list.
  void SelectRowAndShow(int /*row*/) override {}
  void SelectRow(int /*row*/) override {}
  void Focus() override {}

 private:
  ScanSink* sink_;
  catalogue::VectorLibraryList shadow_;
};

// Message pumping, abort and status texts through the sink. The count texts
// are the caller's job after a completed scan, so they are dropped here.
class ScanSinkWindow : public catalogue::MainWindow {
 public:
  explicit ScanSinkWindow(ScanSink* sink) : sink_(sink) {}

  void PumpMessages() override { aborted_ = aborted_ || sink_->PollAbort(); }
  void StartAbortable() override {}
  bool AbortRequested() const override { return aborted_; }
  void SetStatusText(const std::string& text) override { sink_->SetStatusText(text); }
  void SetCountText(const std::string& /*text*/) override {}
  void SetCountSuffixText(const std::string& /*text*/) override {}
  void SetCaption(const std::string& /*text*/) override {}
  void ShowMessage(const std::string& /*text*/) override {}

  bool aborted() const { return aborted_; }

 private:
  ScanSink* sink_;
  bool aborted_ = false;
};

}  // namespace velbrook::app
