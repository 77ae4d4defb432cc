#include "calc/table.h"

#include <fcntl.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace calc {
namespace {

std::string Flat(std::string text, char bad1, char bad2) {
  for (char& c : text)
    if (c == bad1 || c == bad2 || c == '\r') c = ' ';
  return text;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A name beside `path` that no other writer picks: the final name with a random suffix.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  std::random_device random;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(random()));
  return path.string() + suffix;
}

// The causes an engineer meets, in words; anything else in the system's own.
std::string Cause(int error) {
  switch (error) {
    case ENOENT: return "文件夹不存在";
    case EACCES:
    case EPERM: return "没有写入权限";
    case ENOSPC: return "磁盘已满";
#ifdef EDQUOT
    case EDQUOT: return "超出磁盘配额";
#endif
    case EROFS: return "文件系统只读";
    case EISDIR: return "同名的文件夹已存在";
    case ENOTDIR: return "路径中有一段不是文件夹";
    case ENAMETOOLONG: return "文件名太长";
    default: return std::strerror(error);
  }
}

bool Fail(const std::string& path, const std::string& cause, std::string& error) {
  error = "无法写入文件 " + path + "：" + cause;
  return false;
}

#ifdef _WIN32
int OpenNew(const char* path) {
  return ::_open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int SyncAndClose(int fd) { return (::_commit(fd) | ::_close(fd)) == 0 ? 0 : errno; }
long Write(int fd, const char* data, std::size_t size) {
  return ::_write(fd, data, unsigned(size));
}
#else
int OpenNew(const char* path) {
  return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int SyncAndClose(int fd) {
  const int sync = ::fsync(fd) == 0 ? 0 : errno;
  const int close = ::close(fd) == 0 ? 0 : errno;
  return sync ? sync : close;
}
long Write(int fd, const char* data, std::size_t size) { return long(::write(fd, data, size)); }
#endif

// Flushes a file that another writer closed to the disk; 0 or the errno.
int SyncFile(const std::filesystem::path& file) {
#ifdef _WIN32
  const int fd = ::_open(file.string().c_str(), _O_RDWR | _O_BINARY);
#else
  const int fd = ::open(file.string().c_str(), O_RDONLY | O_CLOEXEC);
#endif
  return fd < 0 ? errno : SyncAndClose(fd);
}

// Writes `text` into the new file `temporary` and flushes it to the disk; 0 or the errno.
int WriteNew(const std::filesystem::path& temporary, const std::string& text) {
  const int fd = OpenNew(temporary.string().c_str());
  if (fd < 0) return errno;
  std::size_t done = 0;
  while (done < text.size()) {
    const long n = Write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int cause = n < 0 ? errno : ENOSPC;
      SyncAndClose(fd);
      return cause;
    }
    done += std::size_t(n);
  }
  return SyncAndClose(fd);
}

void Remove(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

// The complete temporary file takes the final name; on failure it is removed.
bool Replace(const std::filesystem::path& temporary, const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (!ec) return true;
  Remove(temporary);
  return Fail(path,
              ec.category() == std::generic_category() || ec.category() == std::system_category()
                  ? Cause(ec.value())
                  : ec.message(),
              error);
}

// A spreadsheet number format that shows as many decimals as `text` has.
std::string NumberFormat(const std::string& text) {
  const std::size_t point = text.find('.');
  const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
  return decimals == 0 ? "0" : "0." + std::string(decimals, '0');
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return "—";
  char text[400];  // 1e308 with its decimals
  const auto end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
  return std::string(text, end);
}

Cell Cell::Number(double value, int decimals) {
  if (!std::isfinite(value)) return Text("—");
  return {FormatFixed(value, decimals), value};
}

int DisplayWidth(const std::string& s) {
  int width = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte
    unsigned cp = c;
    if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
      cp = (c & 0x0Fu) << 12 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6 |
           (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
    }
    const bool wide = (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
                      (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF00 && cp <= 0xFF60);
    width += wide ? 2 : 1;
  }
  return width;
}

std::string PadToWidth(const std::string& s, int columns) {
  const int width = DisplayWidth(s);
  return width >= columns ? s : s + std::string(columns - width, ' ');
}

namespace {
// The captions and every row, each cell made safe by `field`, between separators.
template <class Field>
std::string Lines(const Table& table, const char* separator, const char* end, Field field) {
  std::string out;
  auto line = [&](auto cells, auto text) {
    for (std::size_t i = 0; i < cells.size(); ++i)
      out += (i ? separator : "") + field(text(cells[i]));
    out += end;
  };
  line(table.captions, [](const std::string& s) { return s; });
  for (const auto& row : table.rows) line(row, [](const Cell& c) { return c.text; });
  return out;
}
}  // namespace

std::string ToTsv(const Table& table) {
  return Lines(table, "\t", "\n", [](const std::string& s) { return Flat(s, '\t', '\n'); });
}

std::string ToCsv(const Table& table) {
  return "\xEF\xBB\xBF" + Lines(table, ",", "\r\n", CsvField);
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
  const std::filesystem::path temporary = TemporaryBeside(path);
  if (const int cause = WriteNew(temporary, text); cause != 0) {
    Remove(temporary);
    return Fail(path, Cause(cause), error);
  }
  return Replace(temporary, path, error);
}

bool WriteXlsx(const std::string& path, const Table& table, const Stamp& stamp,
               std::string& error) {
  constexpr std::size_t kMaxRows = 1048575;  // a sheet's rows under the caption row
  constexpr std::size_t kMaxText = 32767;    // characters of a cell
  if (table.rows.size() > kMaxRows)
    return Fail(path,
                "一个工作表最多 1048575 行，这里有 " + std::to_string(table.rows.size()) + " 行",
                error);
  // The library reports a file it cannot create only by a general code: create the temporary
  // file first, so that the cause is known, and let the library write over it.
  const std::filesystem::path temporary = TemporaryBeside(path);
  if (const int cause = WriteNew(temporary, {}); cause != 0) {
    Remove(temporary);
    return Fail(path, Cause(cause), error);
  }
  // Rows go to a temporary file as they are written, so that a record of 100 000 rows needs
  // little memory; the texts are then stored in their cells, not in a shared table.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(temporary.string().c_str(), &options);
  if (book == nullptr) {
    Remove(temporary);
    return Fail(path, Cause(ENOMEM), error);
  }
  std::string problem;  // the first cell the library refused
  auto check = [&](lxw_error status) {
    if (status != LXW_NO_ERROR && problem.empty()) problem = lxw_strerror(status);
  };
  auto text = [&](lxw_worksheet* sheet, std::size_t row, std::size_t column, const std::string& t,
                  lxw_format* format) {
    if (t.size() > kMaxText && problem.empty()) problem = "单元格的文字超过 32767 个字符";
    // An empty text is an empty cell.
    if (!t.empty())
      check(worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), t.c_str(), format));
  };
  lxw_worksheet* results = workbook_add_worksheet(book, "结果");
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  std::map<std::string, lxw_format*> numberFormats;
  for (std::size_t c = 0; c < table.captions.size(); ++c)
    text(results, 0, c, table.captions[c], bold);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
      const Cell& cell = table.rows[r][c];
      if (std::isfinite(cell.number)) {
        lxw_format*& format = numberFormats[NumberFormat(cell.text)];
        if (format == nullptr) {
          format = workbook_add_format(book);
          format_set_num_format(format, NumberFormat(cell.text).c_str());
        }
        check(worksheet_write_number(results, lxw_row_t(r + 1), lxw_col_t(c), cell.number, format));
      } else {
        text(results, r + 1, c, cell.text, nullptr);
      }
    }
  }
  check(worksheet_set_column(
      results, 0, lxw_col_t(table.captions.empty() ? 0 : table.captions.size() - 1), 16, nullptr));
  lxw_worksheet* about = workbook_add_worksheet(book, "说明");
  for (std::size_t r = 0; r < stamp.size(); ++r) {
    text(about, r, 0, stamp[r].first, bold);
    text(about, r, 1, stamp[r].second, nullptr);
  }
  check(worksheet_set_column(about, 0, 0, 16, nullptr));
  check(worksheet_set_column(about, 1, 1, 60, nullptr));
  const lxw_error status = workbook_close(book);
  if (status != LXW_NO_ERROR || !problem.empty()) {
    Remove(temporary);
    return Fail(path, problem.empty() ? lxw_strerror(status) : problem, error);
  }
  if (const int cause = SyncFile(temporary); cause != 0) {
    Remove(temporary);
    return Fail(path, Cause(cause), error);
  }
  return Replace(temporary, path, error);
}

}  // namespace calc
