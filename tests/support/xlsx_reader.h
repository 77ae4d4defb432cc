// A small reader of the workbooks the program writes: the ZIP archive inflated with zlib, then
// the sheets' cells, shared strings and number formats picked out of their XML. Enough for
// libxlsxwriter's output, nothing more.
#pragma once

#include <zlib.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace testxlsx {

struct Cell {
  bool number = false;
  std::string text;    // a string cell's text, or the number as written
  double value = 0;    // a number cell's value
  std::string format;  // its number format code ("0.000000"), empty for the general one
};

struct Sheet {
  std::string name;
  std::map<std::string, Cell> cells;  // by reference, "A1"
  const Cell& at(const std::string& ref) const {
    const auto it = cells.find(ref);
    if (it == cells.end()) throw std::runtime_error("no cell " + ref + " in " + name);
    return it->second;
  }
  // Rows used, counting from 1.
  int rows() const {
    int last = 0;
    for (const auto& [ref, cell] : cells) {
      const int row = std::stoi(ref.substr(ref.find_first_of("0123456789")));
      if (row > last) last = row;
    }
    return last;
  }
};

inline std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + i));
  return v;
}

// Every member of a ZIP archive, inflated.
inline std::map<std::string, std::string> Unzip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string zip{std::istreambuf_iterator<char>(in), {}};
  const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (zip.empty() || end == std::string::npos) throw std::runtime_error("not a ZIP archive");
  const std::uint32_t count = Le(zip, end + 10, 2);
  std::size_t entry = Le(zip, end + 16, 4);
  std::map<std::string, std::string> members;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t method = Le(zip, entry + 10, 2), packed = Le(zip, entry + 20, 4),
                        size = Le(zip, entry + 24, 4), nameLength = Le(zip, entry + 28, 2),
                        extra = Le(zip, entry + 30, 2), comment = Le(zip, entry + 32, 2),
                        local = Le(zip, entry + 42, 4);
    const std::string name = zip.substr(entry + 46, nameLength);
    const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    std::string out(size, '\0');
    if (method == 0) {
      out = zip.substr(data, size);
    } else {
      z_stream z{};
      inflateInit2(&z, -MAX_WBITS);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
      z.avail_in = packed;
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = size;
      const int status = inflate(&z, Z_FINISH);
      inflateEnd(&z);
      if (status != Z_STREAM_END) throw std::runtime_error("cannot inflate " + name);
    }
    members[name] = out;
    entry += 46 + nameLength + extra + comment;
  }
  return members;
}

inline std::string Unescape(std::string s) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
      s.replace(at, std::string(from).size(), to);
  }
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

// The text inside every <t> of an element.
inline std::string Texts(const std::string& element) {
  std::string text;
  for (const std::string& t : Elements(element, "t")) {
    const std::size_t open = t.find('>') + 1;
    if (t.at(open - 2) != '/') text += Unescape(t.substr(open, t.rfind("</t>") - open));
  }
  return text;
}

// The sheets of a workbook in order, with their cells.
inline std::vector<Sheet> ReadWorkbook(const std::string& path) {
  const std::map<std::string, std::string> zip = Unzip(path);
  std::vector<std::string> strings;
  if (zip.count("xl/sharedStrings.xml"))
    for (const std::string& si : Elements(zip.at("xl/sharedStrings.xml"), "si"))
      strings.push_back(Texts(si));
  std::map<std::string, std::string> codes;  // numFmtId → format code
  std::vector<std::string> xfFormats;        // by style index
  const std::string styles = zip.count("xl/styles.xml") ? zip.at("xl/styles.xml") : "";
  for (const std::string& f : Elements(styles, "numFmt"))
    codes[Attribute(f, "numFmtId")] = Attribute(f, "formatCode");
  const auto xfs = Elements(styles, "cellXfs");
  if (!xfs.empty())
    for (const std::string& xf : Elements(xfs[0], "xf")) xfFormats.push_back(codes[Attribute(xf, "numFmtId")]);
  std::vector<Sheet> sheets;
  int index = 0;
  for (const std::string& s : Elements(zip.at("xl/workbook.xml"), "sheet")) {
    Sheet sheet;
    sheet.name = Attribute(s, "name");
    const std::string xml = zip.at("xl/worksheets/sheet" + std::to_string(++index) + ".xml");
    for (const std::string& c : Elements(xml, "c")) {
      const std::string head = c.substr(0, c.find('>'));
      Cell cell;
      const std::string type = Attribute(head, "t");
      const auto v = Elements(c, "v");
      const std::string value =
          v.empty() ? "" : v[0].substr(v[0].find('>') + 1, v[0].rfind("</v>") - v[0].find('>') - 1);
      if (type == "s") {
        cell.text = strings.at(std::stoul(value));
      } else if (type == "inlineStr" || type == "str") {
        cell.text = type == "str" ? Unescape(value) : Texts(c);
      } else {
        cell.number = true;
        cell.text = value;
        cell.value = std::stod(value);
      }
      const std::string style = Attribute(head, "s");
      if (!style.empty() && std::stoul(style) < xfFormats.size()) cell.format = xfFormats[std::stoul(style)];
      sheet.cells[Attribute(head, "r")] = cell;
    }
    sheets.push_back(sheet);
  }
  return sheets;
}

}  // namespace testxlsx
