#include "shell/record.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <cmath>
#include <unordered_map>

namespace {

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
enum SqliteCode : int {
  kBusy = 5,
  kLocked = 6,
  kReadOnly = 8,
  kIoError = 10,
  kCorrupt = 11,
  kFull = 13,
  kCantOpen = 14,
  kNotADatabase = 26,
  kNewerSchema = 1000,  // ours: a file of a later program, left alone
};

constexpr int kSchemaVersion = 1;

// Values in the engines' units, NULL where there is none. id only grows (AUTOINCREMENT), so that
// the window asks for the rows above the newest it shows.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS record ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time INTEGER NOT NULL,"         // ms since 1970-01-01 UTC
    " source TEXT NOT NULL,"          // the window that calculated
    " formulation INTEGER NOT NULL,"  // 0 IFC-67, 1 IF97
    " item INTEGER NOT NULL,"         // the form's item, its index in the item list
    " mode INTEGER NOT NULL,"         // the input mode (enum Mode), not a list index
    " in1 REAL, in2 REAL, in3 REAL,"  // the inputs in the form's units
    " solutions INTEGER NOT NULL,"    // how many the answer had, even beyond the two kept
    " failed INTEGER NOT NULL,"
    " p REAL, t REAL, h REAL, s REAL, v REAL, x REAL, state TEXT NOT NULL,"
    " p2 REAL, t2 REAL, h2 REAL, s2 REAL, v2 REAL, x2 REAL, state2 TEXT NOT NULL,"
    " note TEXT NOT NULL)";  // the reasons of a failure, else the warnings

constexpr const char* kColumns =
    "id, time, source, formulation, item, mode, in1, in2, in3, solutions, failed, p, t, h, s, v, "
    "x, state, p2, t2, h2, s2, v2, x2, state2, note";

constexpr const char* kMemory = ":memory:";

int Code(const QSqlError& error) {
  bool number = false;
  const int code = error.nativeErrorCode().toInt(&number);
  return number && code < kNewerSchema ? code & 0xFF : code;
}

QVariant Number(double value) {
  return std::isfinite(value) ? QVariant(value) : QVariant(QMetaType(QMetaType::Double));
}

double NumberOf(const QVariant& value) { return value.isNull() ? NAN : value.toDouble(); }

QString IdList(const std::vector<std::int64_t>& ids, std::size_t from, std::size_t to) {
  QString list;
  for (std::size_t i = from; i < to; ++i) list += (i > from ? "," : "") + QString::number(ids[i]);
  return list;
}

calc::RecordRow RowOf(const QSqlQuery& q) {
  calc::RecordRow row;
  row.id = q.value(0).toLongLong();
  row.time = q.value(1).toLongLong();
  row.source = q.value(2).toString().toStdString();
  row.request.formulation = q.value(3).toInt() ? calc::Formulation::IF97 : calc::Formulation::IFC67;
  row.request.item = Item(q.value(4).toInt());
  row.request.mode = Mode(q.value(5).toInt());
  for (int i = 0; i < 3; ++i)
    row.request.in[i] = q.value(6 + i).isNull() ? 0 : q.value(6 + i).toDouble();
  row.solutions = q.value(9).toInt();
  row.failed = q.value(10).toBool();
  for (int k = 0; k < 2; ++k) {
    calc::RecordPoint& p = k == 0 ? row.first : row.second;
    const int at = 11 + 7 * k;
    p = {NumberOf(q.value(at)),
         NumberOf(q.value(at + 1)),
         NumberOf(q.value(at + 2)),
         NumberOf(q.value(at + 3)),
         NumberOf(q.value(at + 4)),
         NumberOf(q.value(at + 5)),
         q.value(at + 6).toString().toStdString()};
  }
  row.note = q.value(25).toString().toStdString();
  return row;
}

std::int64_t Now() { return QDateTime::currentMSecsSinceEpoch(); }

}  // namespace

CRecord& CRecord::Instance() {
  static QPointer<CRecord> record;
  if (!record) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    record = new CRecord(folder + QStringLiteral("/record.sqlite"));
    // Closed with the application, while the database driver is still loaded.
    record->setParent(QCoreApplication::instance());
  }
  return *record;
}

CRecord::CRecord(const QString& path) : CRecord(path, Options{}) {}

CRecord::CRecord(const QString& path, const Options& options) : m_path(path), m_options(options) {
  static int connections = 0;
  m_connection = QStringLiteral("kelm-record-%1").arg(++connections);
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
    m_problem = QStringLiteral("缺少 SQLite 数据库驱动（Qt 的 QSQLITE），本次运行的计算不被记录。");
    return;
  }
  OpenFile();
}

CRecord::~CRecord() { Disconnect(); }

QString CRecord::Sentence(int code, const QString& detail) const {
  const QString file = QDir::toNativeSeparators(m_path);
  switch (code) {
    case kBusy:
    case kLocked:
      return QStringLiteral("记录文件 %1 被另一个程序锁定，本次运行的计算只保存在内存中。")
          .arg(file);
    case kFull:
      return QStringLiteral(
                 "记录文件 %1 无法再增长（磁盘已满或达到大小上限），本次运行的计算只保存在内存中。")
          .arg(file);
    case kCantOpen:
      return QStringLiteral(
                 "无法打开记录文件 "
                 "%1（该位置不能建立文件，或没有权限），本次运行的计算只保存在内存中。")
          .arg(file);
    case kReadOnly:
      return QStringLiteral("记录文件 %1 只能读不能写，本次运行的计算只保存在内存中。").arg(file);
    case kIoError:
      return QStringLiteral("读写记录文件 %1 时磁盘出错（%2），本次运行的计算只保存在内存中。")
          .arg(file, detail);
    case kNewerSchema:
      return QStringLiteral("记录文件 %1 由更新版本的程序创建，本次运行的计算只保存在内存中。")
          .arg(file);
    default:
      return QStringLiteral("无法读写记录文件 %1（%2），本次运行的计算只保存在内存中。")
          .arg(file, detail);
  }
}

void CRecord::OpenFile() {
  QDir().mkpath(QFileInfo(m_path).absolutePath());
  QString moved;
  for (int attempt = 0; attempt < 2; ++attempt) {
    QSqlError error;
    if (Connect(m_path, error)) {
      m_onDisk = true;
      if (!moved.isEmpty())
        m_problem = QStringLiteral("记录文件已损坏，已原样移到 %1 保留，并新建了记录文件 %2。")
                        .arg(QDir::toNativeSeparators(moved), QDir::toNativeSeparators(m_path));
      return;
    }
    Disconnect();
    const int code = Code(error);
    // A damaged file is kept for whoever wants to rescue it, under a name of its own.
    if ((code == kCorrupt || code == kNotADatabase) && moved.isEmpty()) {
      if (MoveAside(moved)) continue;
      return FallBackToMemory(
          QStringLiteral("记录文件 %1 已损坏且无法移开，本次运行的计算只保存在内存中。")
              .arg(QDir::toNativeSeparators(m_path)),
          false);
    }
    return FallBackToMemory(
        Sentence(code, error.databaseText().isEmpty() ? error.driverText() : error.databaseText()),
        false);
  }
}

// Opens `name` on the record's connection and makes it ready: on disk the write-ahead log, every
// commit flushed to the disk, the file checked; the table. False with the error.
bool CRecord::Connect(const QString& name, QSqlError& error) {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
  db.setDatabaseName(name);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_options.busyTimeoutMs));
  if (!db.open()) {
    error = db.lastError();
    return false;
  }
  QSqlQuery q(db);
  auto run = [&](const QString& sql) {
    if (q.exec(sql)) return true;
    error = q.lastError();
    return false;
  };
  const bool file = name != QLatin1String(kMemory);
  if (file) {
    if (!run(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !run(QStringLiteral("PRAGMA synchronous=FULL")))
      return false;
    if (!run(QStringLiteral("PRAGMA quick_check(1)"))) return false;
    if (q.next() && q.value(0).toString() != QLatin1String("ok")) {
      error = QSqlError(q.value(0).toString(), q.value(0).toString(), QSqlError::StatementError,
                        QString::number(kCorrupt));
      return false;
    }
    if (!run(QStringLiteral("PRAGMA user_version"))) return false;
    if (q.next() && q.value(0).toInt() > kSchemaVersion) {
      error = QSqlError({}, {}, QSqlError::StatementError, QString::number(kNewerSchema));
      return false;
    }
  }
  if (!run(QString::fromLatin1(kSchema)) ||
      !run(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion)))
    return false;
  if (file && m_options.maxBytes > 0) {
    if (!run(QStringLiteral("PRAGMA page_size")) || !q.next()) return false;
    const std::int64_t pages =
        std::max<std::int64_t>(1, m_options.maxBytes / q.value(0).toLongLong());
    if (!run(QStringLiteral("PRAGMA max_page_count=%1").arg(pages))) return false;
  }
  return true;
}

void CRecord::Disconnect() {
  if (!QSqlDatabase::contains(m_connection)) return;
  QSqlDatabase::database(m_connection, false).close();
  QSqlDatabase::removeDatabase(m_connection);
}

bool CRecord::MoveAside(QString& movedTo) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString target = m_path + QStringLiteral(".corrupt-") + stamp;
  for (int n = 2; QFile::exists(target); ++n)
    target = m_path + QStringLiteral(".corrupt-%1-%2").arg(stamp).arg(n);
  if (!QFile::rename(m_path, target)) return false;
  // Its log and index belong to it.
  for (const char* part : {"-wal", "-shm"})
    if (QFile::exists(m_path + part)) QFile::rename(m_path + part, target + part);
  movedTo = target;
  return true;
}

void CRecord::FallBackToMemory(const QString& problem, bool copyRows) {
  Disconnect();
  m_onDisk = false;
  m_problem = problem;
  QSqlError error;
  if (!Connect(QString::fromLatin1(kMemory), error)) {
    Disconnect();
    m_problem = QStringLiteral("无法记录计算（%1）。").arg(error.driverText());
  } else if (copyRows) {
    // The rows so far, so that the window still shows them; the file is only read.
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS disk"));
    q.addBindValue(m_path);
    if (q.exec()) {
      q.exec(QStringLiteral("INSERT INTO record SELECT * FROM disk.record"));
      q.exec(QStringLiteral("DETACH DATABASE disk"));
    }
  }
  emit ProblemChanged(m_problem);
}

bool CRecord::Insert(std::vector<calc::RecordRow>& rows, QSqlError& error) {
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  QSqlQuery q(db);
  // IMMEDIATE takes the write lock at once, waiting for another copy's write to end.
  if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
    error = q.lastError();
    return false;
  }
  q.prepare(
      QStringLiteral("INSERT INTO record (time, source, formulation, item, mode, in1, in2, "
                     "in3, solutions, failed, p, t, h, s, v, x, state, p2, t2, h2, s2, v2, "
                     "x2, state2, note) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                     "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  for (calc::RecordRow& row : rows) {
    q.addBindValue(qint64(row.time));
    q.addBindValue(QString::fromStdString(row.source));
    q.addBindValue(int(row.request.formulation == calc::Formulation::IF97));
    q.addBindValue(int(row.request.item));
    q.addBindValue(int(row.request.mode));
    for (double in : row.request.in) q.addBindValue(Number(in));
    q.addBindValue(row.solutions);
    q.addBindValue(int(row.failed));
    for (const calc::RecordPoint* p : {&row.first, &row.second}) {
      for (double value : {p->p, p->t, p->h, p->s, p->v, p->x}) q.addBindValue(Number(value));
      q.addBindValue(QString::fromStdString(p->state));
    }
    q.addBindValue(QString::fromStdString(row.note));
    if (!q.exec()) {
      error = q.lastError();
      QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
      return false;
    }
    row.id = q.lastInsertId().toLongLong();
  }
  if (!q.exec(QStringLiteral("COMMIT"))) {
    error = q.lastError();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return false;
  }
  return true;
}

std::int64_t CRecord::Append(const calc::Answer& answer, const QString& source) {
  std::vector<calc::RecordRow> rows = {calc::ToRecordRow(answer, Now(), source.toStdString())};
  return AppendRows(rows) == 1 ? rows[0].id : 0;
}

int CRecord::Append(const std::vector<calc::Answer>& answers, const QString& source) {
  std::vector<calc::RecordRow> rows;
  rows.reserve(answers.size());
  const std::int64_t now = Now();
  for (const calc::Answer& a : answers)
    rows.push_back(calc::ToRecordRow(a, now, source.toStdString()));
  return AppendRows(rows);
}

int CRecord::Append(std::vector<calc::RecordRow> rows) { return AppendRows(rows); }

int CRecord::AppendRows(std::vector<calc::RecordRow>& rows) {
  if (rows.empty() || !QSqlDatabase::contains(m_connection)) return 0;
  QSqlError error;
  if (!Insert(rows, error)) {
    if (!m_onDisk) return 0;
    // The file cannot take the rows (the disk full, locked too long, an I/O error): the session
    // goes on in memory with the rows so far.
    FallBackToMemory(Sentence(Code(error), error.databaseText().isEmpty() ? error.driverText()
                                                                          : error.databaseText()),
                     true);
    if (!QSqlDatabase::contains(m_connection) || !Insert(rows, error)) return 0;
  }
  emit Appended();
  return int(rows.size());
}

std::vector<std::int64_t> CRecord::Ids(const Filter& filter, std::int64_t after) const {
  std::vector<std::int64_t> ids;
  if (!QSqlDatabase::contains(m_connection)) return ids;
  QString sql = QStringLiteral("SELECT id FROM record WHERE id > ?");
  if (filter.item >= 0) sql += QStringLiteral(" AND item = ?");
  const QString text = filter.text.trimmed();
  if (!text.isEmpty())
    sql += QStringLiteral(
        " AND (state LIKE ? ESCAPE '\\' OR state2 LIKE ? ESCAPE '\\' OR note LIKE ? ESCAPE '\\'"
        " OR source LIKE ? ESCAPE '\\' OR strftime('%Y-%m-%d %H:%M:%S', time / 1000, 'unixepoch',"
        " 'localtime') LIKE ? ESCAPE '\\')");
  sql += QStringLiteral(" ORDER BY id DESC");
  QSqlQuery q(QSqlDatabase::database(m_connection, false));
  q.setForwardOnly(true);
  q.prepare(sql);
  q.addBindValue(qint64(after));
  if (filter.item >= 0) q.addBindValue(filter.item);
  if (!text.isEmpty()) {
    QString pattern = text;
    pattern.replace('\\', QStringLiteral("\\\\"))
        .replace('%', QStringLiteral("\\%"))
        .replace('_', QStringLiteral("\\_"));
    for (int i = 0; i < 5; ++i) q.addBindValue('%' + pattern + '%');
  }
  if (!q.exec()) return ids;
  while (q.next()) ids.push_back(q.value(0).toLongLong());
  return ids;
}

std::vector<calc::RecordRow> CRecord::Rows(const std::vector<std::int64_t>& ids) const {
  std::vector<calc::RecordRow> rows(ids.size());
  if (!QSqlDatabase::contains(m_connection)) return rows;
  std::unordered_map<std::int64_t, calc::RecordRow> found;
  QSqlQuery q(QSqlDatabase::database(m_connection, false));
  q.setForwardOnly(true);
  constexpr std::size_t kChunk = 500;
  for (std::size_t from = 0; from < ids.size(); from += kChunk) {
    const std::size_t to = std::min(ids.size(), from + kChunk);
    if (!q.exec(QStringLiteral("SELECT %1 FROM record WHERE id IN (%2)")
                    .arg(QLatin1String(kColumns), IdList(ids, from, to))))
      continue;
    while (q.next()) {
      calc::RecordRow row = RowOf(q);
      found.emplace(row.id, std::move(row));
    }
  }
  for (std::size_t i = 0; i < ids.size(); ++i) {
    auto it = found.find(ids[i]);
    if (it != found.end()) rows[i] = std::move(it->second);
  }
  return rows;
}

std::int64_t CRecord::Count() const {
  if (!QSqlDatabase::contains(m_connection)) return 0;
  QSqlQuery q(QSqlDatabase::database(m_connection, false));
  return q.exec(QStringLiteral("SELECT count(*) FROM record")) && q.next() ? q.value(0).toLongLong()
                                                                           : 0;
}

bool CRecord::Remove(const std::vector<std::int64_t>& ids) {
  if (!QSqlDatabase::contains(m_connection)) return false;
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  QSqlQuery q(db);
  if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
  constexpr std::size_t kChunk = 500;
  for (std::size_t from = 0; from < ids.size(); from += kChunk) {
    if (!q.exec(QStringLiteral("DELETE FROM record WHERE id IN (%1)")
                    .arg(IdList(ids, from, std::min(ids.size(), from + kChunk))))) {
      QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
      return false;
    }
  }
  if (!q.exec(QStringLiteral("COMMIT"))) {
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return false;
  }
  emit Removed();
  return true;
}

bool CRecord::Clear() {
  if (!QSqlDatabase::contains(m_connection)) return false;
  QSqlQuery q(QSqlDatabase::database(m_connection, false));
  if (!q.exec(QStringLiteral("DELETE FROM record"))) return false;
  emit Removed();
  return true;
}
