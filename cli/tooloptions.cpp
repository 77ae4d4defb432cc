#include "cli/tooloptions.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "calc/toolstamp.h"
#include "cli/calccli.h"
#include "form/formsession.h"

namespace kelmcli {

bool ParseToolOptions(const std::vector<std::string>& args, const std::vector<std::string>& own,
                      ToolOptions& out, std::string& error) {
  bool ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (ended || arg.rfind("--", 0) != 0) {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      ended = true;
      continue;
    }
    if (arg == "--compare") {
      out.compare = true;
      continue;
    }
    if (arg == "--tsv") {
      out.tsv = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const bool known = name == "--formulation" || name == "--units" || name == "--xlsx" ||
                       std::find(own.begin(), own.end(), name) != own.end();
    if (!known) {
      error = "unknown option " + Quote(arg);
      return false;
    }
    if (eq == std::string::npos && i + 1 == args.size()) {
      error = name + " needs a value";
      return false;
    }
    const std::string value = eq == std::string::npos ? args[++i] : arg.substr(eq + 1);
    if (name == "--formulation") {
      if (value != "ifc67" && value != "if97") {
        error = "unknown formulation " + Quote(value) + " (ifc67 or if97)";
        return false;
      }
      out.formulation = value == "if97" ? calc::Formulation::IF97 : calc::Formulation::IFC67;
    } else if (name == "--units") {
      const std::optional<calc::Units> units = calc::ParseUnits(value, error);
      if (!units) return false;
      out.units = *units;
    } else if (name == "--xlsx") {
      out.xlsx = value;
    } else {
      out.own.emplace_back(name, value);
    }
  }
  return true;
}

std::string FormText(calc::Quantity q, double value, const calc::Units& u) {
  using calc::Quantity;
  const calc::Units form;
  std::string unit = calc::UnitName(q, u);
  if (unit == calc::UnitName(q, form)) {
    if (q == Quantity::Entropy) unit = "kJ/(kg*K)";
    if (q == Quantity::Volume) unit = "m**3/kg";
  }
  char text[64];
  std::snprintf(text, sizeof text, "%f", calc::Out(q, value, u));
  return unit.empty() ? text : text + (" " + unit);
}

std::string AlignedText(const calc::Table& table) {
  std::vector<int> widths(table.captions.size(), 0);
  for (std::size_t c = 0; c < widths.size(); ++c) widths[c] = calc::DisplayWidth(table.captions[c]);
  for (const auto& row : table.rows)
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
      widths[c] = std::max(widths[c], calc::DisplayWidth(row[c].text));
  std::string out;
  auto line = [&](auto cell, std::size_t count) {
    std::string text;
    for (std::size_t c = 0; c < count; ++c) {
      const auto [content, right] = cell(c);
      const std::string pad(widths[c] - calc::DisplayWidth(content), ' ');
      text += (c ? "  " : "") + (right ? pad + content : content + pad);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out += text + '\n';
  };
  line([&](std::size_t c) { return std::pair{table.captions[c], false}; }, widths.size());
  for (const auto& row : table.rows) {
    line(
        [&](std::size_t c) {
          const calc::Cell& cell = row[c];
          return std::pair{cell.text, std::isfinite(cell.number) || cell.text == "—"};
        },
        std::min(row.size(), widths.size()));
  }
  return out;
}

bool WriteToolXlsx(const std::string& path, const calc::Table& table, const std::string& title,
                   const ToolOptions& options, std::string& error) {
  const calc::Stamp stamp =
      calc::ToolStamp(std::string("kelm-calc ") + kVersion, title, options.formulation,
                      options.compare, options.units, calc::Today());
  return calc::WriteXlsx(path, table, stamp, error);
}

int ToolUsageError(std::ostream& err, const std::string& message) {
  err << "kelm-calc: " << message << "\nTry 'kelm-calc --help' for more information.\n";
  return kExitUsage;
}

}  // namespace kelmcli
