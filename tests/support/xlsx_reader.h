// A reader of the workbooks the program writes, enough for them and nothing more: the ZIP archive
// inflated with zlib, then the cells (every text an inline string) and their number formats.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace testxlsx {

struct Cell {
  bool number = false;
  std::string text;    // a text cell's text, or the number as written
  double value = 0;    // a number cell's value
  std::string format;  // its number format code ("0.000000"), empty for the general one
};

struct Sheet {
  std::string name;
  std::map<std::string, Cell> cells;  // by reference, "A1"
  const Cell& at(const std::string& ref) const { return cells.at(ref); }
  // Rows used, counting from 1.
  int rows() const {
    int last = 0;
    for (const auto& [ref, cell] : cells)
      last = std::max(last, std::stoi(ref.substr(ref.find_first_of("0123456789"))));
    return last;
  }
};

inline std::size_t Le(const std::string& b, std::size_t at, int bytes) {
  std::size_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + i));
  return v;
}

// Every member of a ZIP archive (all deflated), by its central directory.
inline std::map<std::string, std::string> Unzip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string zip{std::istreambuf_iterator<char>(in), {}};
  const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos) throw std::runtime_error("not a ZIP archive");
  std::map<std::string, std::string> members;
  for (std::size_t i = Le(zip, end + 10, 2), entry = Le(zip, end + 16, 4); i > 0; --i) {
    const std::size_t nameLength = Le(zip, entry + 28, 2), local = Le(zip, entry + 42, 4);
    const std::string name = zip.substr(entry + 46, nameLength);
    std::string& out = members[name] = std::string(Le(zip, entry + 24, 4), '\0');
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
    z.avail_in = uInt(Le(zip, entry + 20, 4));
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int status = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (status != Z_STREAM_END) throw std::runtime_error("cannot inflate " + name);
    entry += 46 + nameLength + Le(zip, entry + 30, 2) + Le(zip, entry + 32, 2);
  }
  return members;
}

inline std::string Unescape(std::string s) {
  for (const auto& [from, to] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
      s.replace(at, std::string(from).size(), to);
  // OOXML writes control characters as _xHHHH_.
  for (std::size_t at = s.find("_x"); at != std::string::npos && at + 7 <= s.size();
       at = s.find("_x", at + 1)) {
    if (s[at + 6] == '_' && std::isxdigit(static_cast<unsigned char>(s[at + 2])))
      s.replace(at, 7, 1, char(std::stoi(s.substr(at + 2, 4), nullptr, 16)));
  }
  return s;
}

inline std::string Attribute(const std::string& tag, const std::string& name) {
  const std::size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return {};
  const std::size_t start = at + name.size() + 3;
  return Unescape(tag.substr(start, tag.find('"', start) - start));
}

// The elements <tag …>…</tag> or <tag …/> of `xml`, each whole.
inline std::vector<std::string> Elements(const std::string& xml, const std::string& tag) {
  std::vector<std::string> found;
  for (std::size_t at = xml.find("<" + tag); at != std::string::npos;
       at = xml.find("<" + tag, at + 1)) {
    const char next = xml.at(at + 1 + tag.size());
    if (next != ' ' && next != '>' && next != '/') continue;
    const std::size_t open = xml.find('>', at);
    std::size_t close = open + 1;
    if (xml.at(open - 1) != '/') close = xml.find("</" + tag + ">", at) + tag.size() + 3;
    found.push_back(xml.substr(at, close - at));
  }
  return found;
}

// The sheets of a workbook in order, with their cells.
inline std::vector<Sheet> ReadWorkbook(const std::string& path) {
  const std::map<std::string, std::string> zip = Unzip(path);
  std::map<std::string, std::string> codes;  // numFmtId → format code
  for (const std::string& f : Elements(zip.at("xl/styles.xml"), "numFmt"))
    codes[Attribute(f, "numFmtId")] = Attribute(f, "formatCode");
  std::vector<std::string> formats;  // by style index
  for (const std::string& xf : Elements(Elements(zip.at("xl/styles.xml"), "cellXfs").at(0), "xf"))
    formats.push_back(codes[Attribute(xf, "numFmtId")]);
  std::vector<Sheet> sheets;
  for (const std::string& s : Elements(zip.at("xl/workbook.xml"), "sheet")) {
    Sheet& sheet = sheets.emplace_back(Sheet{Attribute(s, "name"), {}});
    const std::string xml = zip.at("xl/worksheets/sheet" + std::to_string(sheets.size()) + ".xml");
    for (const std::string& c : Elements(xml, "c")) {
      const std::string head = c.substr(0, c.find('>')), style = Attribute(head, "s");
      const bool number = Attribute(head, "t") != "inlineStr";
      const std::string inner = Elements(c, number ? "v" : "t").at(0);
      Cell& cell = sheet.cells[Attribute(head, "r")];
      const std::size_t open = inner.find('>') + 1;
      cell.text = Unescape(inner.substr(open, inner.rfind("</") - open));
      if ((cell.number = number)) cell.value = std::stod(cell.text);
      if (!style.empty()) cell.format = formats.at(std::stoul(style));
    }
  }
  return sheets;
}

}  // namespace testxlsx
