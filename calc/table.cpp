#include "calc/table.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

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

bool Fail(const std::string& path, const std::string& cause, std::string& error) {
  error = "无法写入文件 " + path + "：" + cause;
  return false;
}

bool Replace(const std::filesystem::path& temporary, const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (!ec) return true;
  std::filesystem::remove(temporary, ec);
  return Fail(path, std::strerror(errno ? errno : EIO), error);
}

}  // namespace

Cell Cell::Number(double value, int decimals) {
  if (!std::isfinite(value)) return Text("—");
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return {text, value};
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
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return Fail(path, std::strerror(errno ? errno : EACCES), error);
    out.write(text.data(), std::streamsize(text.size()));
    out.flush();
    if (!out) {
      const int cause = errno ? errno : EIO;
      out.close();
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return Fail(path, std::strerror(cause), error);
    }
  }
  return Replace(temporary, path, error);
}

bool WriteXlsx(const std::string& path, const Table& table, const Stamp& stamp,
               std::string& error) {
  const std::filesystem::path temporary = TemporaryBeside(path);
  lxw_workbook* book = workbook_new(temporary.c_str());
  if (book == nullptr) return Fail(path, std::strerror(errno ? errno : EACCES), error);
  lxw_worksheet* results = workbook_add_worksheet(book, "结果");
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  for (std::size_t c = 0; c < table.captions.size(); ++c)
    worksheet_write_string(results, 0, lxw_col_t(c), table.captions[c].c_str(), bold);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
      const Cell& cell = table.rows[r][c];
      if (std::isfinite(cell.number))
        worksheet_write_number(results, lxw_row_t(r + 1), lxw_col_t(c), cell.number, nullptr);
      else
        worksheet_write_string(results, lxw_row_t(r + 1), lxw_col_t(c), cell.text.c_str(), nullptr);
    }
  }
  worksheet_set_column(
      results, 0, lxw_col_t(table.captions.empty() ? 0 : table.captions.size() - 1), 16, nullptr);
  lxw_worksheet* about = workbook_add_worksheet(book, "说明");
  for (std::size_t r = 0; r < stamp.size(); ++r) {
    worksheet_write_string(about, lxw_row_t(r), 0, stamp[r].first.c_str(), bold);
    worksheet_write_string(about, lxw_row_t(r), 1, stamp[r].second.c_str(), nullptr);
  }
  worksheet_set_column(about, 0, 0, 16, nullptr);
  worksheet_set_column(about, 1, 1, 60, nullptr);
  const lxw_error status = workbook_close(book);
  if (status != LXW_NO_ERROR) {
    std::error_code ec;
    std::filesystem::remove(temporary, ec);
    return Fail(path, lxw_strerror(status), error);
  }
  return Replace(temporary, path, error);
}

}  // namespace calc
