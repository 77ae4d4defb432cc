// "批量计算": many state points at once. A block pasted from a spreadsheet, or a TSV or CSV file,
// in kelm-calc --batch's line format with the inputs in the program's units, calculated on a
// worker thread with a progress bar and a cancel button while the window stays responsive. The
// results go to the record and to the window's table; each line that cannot be read is listed
// with its number and why, and the others are calculated.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "calc/batch.h"
#include "calc/record.h"

class CRecord;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// Rows of the record's columns held in memory.
class CRowsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CRowsModel(QObject* parent);
  void Clear();
  // Rows with the numbers of the lines they came from, shown as the rows' headers.
  void Add(const std::vector<calc::RecordRow>& rows, const std::vector<int>& lines);
  void SetUnits(const calc::Units& units);
  const std::vector<calc::RecordRow>& Rows() const { return m_rows; }
  const calc::Units& Units() const { return m_units; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  calc::Units m_units;
  std::vector<std::string> m_captions;
  std::vector<calc::RecordRow> m_rows;
  std::vector<int> m_lines;
  std::vector<std::vector<calc::Cell>> m_cells;
};

class CBatchWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CBatchWnd(QWidget* parent, CRecord& record);
  explicit CBatchWnd(QWidget* parent);
  ~CBatchWnd() override;

  // Reads the lines of the input field and calculates them on the worker thread.
  void Run();
  void Cancel();
  bool Running() const { return m_worker.joinable(); }
  // Puts a TSV or CSV file (UTF-8, or GB18030 as Chinese spreadsheets save it) into the input.
  bool OpenFile(const QString& path);
  const CRowsModel& Results() const { return *m_model; }

 signals:
  // After a run, finished or cancelled.
  void Finished();

 private:
  // What the worker and the window share during a run. The worker stays at most a few chunks
  // ahead of the window, so a cancel stops it within those few and a busy window is not
  // flooded with answers it has not shown yet.
  struct Job {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable changed;
    int taken = 0;  // chunks the window has taken, under mutex
    void Stop();
  };
  void ChooseFile();
  void Take(std::vector<calc::Answer> answers, int done, int total);
  void End(bool cancelled);
  void ShowUnits();
  void SetRunning(bool running);

  CRecord& m_record;
  CRowsModel* m_model;
  QLabel* m_format;
  QComboBox* m_formulation;
  QPlainTextEdit* m_input;
  QPushButton* m_open;
  QPushButton* m_run;
  QPushButton* m_cancel;
  QPushButton* m_copy;
  QPushButton* m_export;
  QProgressBar* m_progress;
  QLabel* m_status;
  QTableView* m_view;
  QListWidget* m_errors;
  std::shared_ptr<Job> m_job;
  std::vector<int> m_lines;  // the input line of each request of the run
  std::thread m_worker;
  int m_unreadable = 0;
};
