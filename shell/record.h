// The calculation record: every calculation of the program, one row each, in an SQLite database in
// the user's data folder (write-ahead log, each row flushed to the disk when its calculation
// finishes), so that it outlives a restart and a crash, and two running copies both add to it.
//
// Any window that calculates adds its rows here:
//
//   CRecord::Instance().Append(calc::Calculate(request), QStringLiteral("汽轮机"));
//   CRecord::Instance().Append(answers, QStringLiteral("批量计算"));  // many, one transaction
//
// A file that cannot be used (locked by another program, unreadable, the disk full) leaves the
// program working: the rows of the session are kept in memory, and Problem() says why in one
// sentence. A corrupt file is moved aside under a name with the date and time, never written
// over, and a new one is begun. Use from the GUI thread only.
#pragma once

#include <QObject>
#include <QSqlError>
#include <QString>
#include <cstdint>
#include <vector>

#include "calc/calc.h"
#include "calc/record.h"

class CRecord : public QObject {
  Q_OBJECT

 public:
  struct Options {
    int busyTimeoutMs = 5000;   // how long to wait for another copy's write before giving up
    std::int64_t maxBytes = 0;  // the largest the file may grow to; 0: as large as the disk allows
  };

  // The program's record, "record.sqlite" in the user's data folder, opened on first use.
  static CRecord& Instance();

  explicit CRecord(const QString& path);
  CRecord(const QString& path, const Options& options);
  ~CRecord() override;
  CRecord(const CRecord&) = delete;
  CRecord& operator=(const CRecord&) = delete;

  // Appends the answer's row with the time now; returns its id, 0 when it could not be kept even
  // in memory.
  std::int64_t Append(const calc::Answer& answer, const QString& source);
  // Appends many rows in one transaction; returns how many were kept.
  int Append(const std::vector<calc::Answer>& answers, const QString& source);
  int Append(std::vector<calc::RecordRow> rows);

  bool OnDisk() const { return m_onDisk; }
  // Why the rows are not on disk, or what happened to a damaged file; empty when all is well.
  QString Problem() const { return m_problem; }
  QString Path() const { return m_path; }

  // Which rows the window shows: an item (−1 all) and a text found in the state, the reason, the
  // source or the local time.
  struct Filter {
    int item = -1;
    QString text;
  };
  // The ids of the rows that pass, newest first; only those above `after` when it is given.
  std::vector<std::int64_t> Ids(const Filter& filter, std::int64_t after = 0) const;
  // The rows with the given ids, in the given order (a row deleted meanwhile comes back empty,
  // id 0).
  std::vector<calc::RecordRow> Rows(const std::vector<std::int64_t>& ids) const;
  std::int64_t Count() const;

  bool Remove(const std::vector<std::int64_t>& ids);
  bool Clear();

 signals:
  // Rows were added (ids above every earlier one).
  void Appended();
  // Rows were removed, or all of them.
  void Removed();
  // The record moved to memory, or found a damaged file: Problem() says what.
  void ProblemChanged(const QString& problem);

 private:
  int AppendRows(std::vector<calc::RecordRow>& rows);  // fills in their ids
  void OpenFile();
  bool Connect(const QString& name, QSqlError& error);
  void Disconnect();
  bool MoveAside(QString& movedTo);
  void FallBackToMemory(const QString& problem, bool copyRows);
  bool Insert(std::vector<calc::RecordRow>& rows, QSqlError& error);
  QString Sentence(int code, const QString& detail) const;

  QString m_path;
  Options m_options;
  QString m_connection;
  bool m_onDisk = false;
  QString m_problem;
};
