// kelm-calc expand and table: the fields and layouts they print from the calculation layer, every
// inlet and outlet form, units, both formulations, the workbook, refusals and usage errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "calc/steamtable.h"
#include "calc/turbine.h"
#include "cli/calccli.h"
#include "tests/cli/cli_run.h"
#include "tests/support/xlsx_reader.h"

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line.substr(0, line.find('\n')));
  for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
  return fields;
}

std::string F6(double value, const char* unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%f %s", value, unit);
  return text;
}

TEST(Expand, TsvLineHoldsTheSectionAsTheLayerComputesItAndTheReadableLayoutTheUnits) {
  const calc::TurbineResult r = calc::ExpandSections(
      calc::Formulation::IF97, {calc::InletKind::PressureTemperature, 10, 500}, {{0.01, 0.85}});
  const calc::Expansion& e = r.sections[0].expansion;
  const CliRun run =
      RunCli({"expand", "--formulation", "if97", "--tsv", "10", "500", "0.01", "0.85"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Fields(run.out),
            (std::vector<std::string>{F6(e.inlet.h, "kJ/kg"), F6(e.inlet.s, "kJ/(kg*K)"),
                                      F6(e.isentropicEnd.h, "kJ/kg"), F6(e.isentropicDrop, "kJ/kg"),
                                      F6(e.actualDrop, "kJ/kg"), "0.010000 MPa",
                                      F6(e.end.t, "℃"), F6(e.end.h, "kJ/kg"),
                                      F6(e.end.s, "kJ/(kg*K)"), F6(e.end.v, "m**3/kg"),
                                      "饱和水或饱和蒸汽或湿蒸汽,干度=0.873986"}));
  // The options may also stand before the command.
  EXPECT_EQ(RunCli({"--formulation=if97", "--tsv", "expand", "10", "500", "0.01", "0.85"}).out,
            run.out);
  // The readable layout: each point as the form's six lines, the drops between, in the units.
  const CliRun text = RunCli({"expand", "--units", "p=kPa,t=K", "10000", "773.15", "10", "0.85"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.rfind("进口\n压力  10000.000000 kPa\n温度  773.150000 K\n焓值  3374.598242 kJ/kg\n", 0),
            0u)
      << text.out;
  for (const char* line : {"\n等熵末点\n压力  10.000000 kPa\n", "\n等熵焓降  1284.763562 kJ/kg\n",
                           "\n实际焓降  1092.049028 kJ/kg\n实际末点\n",
                           "\n状态  饱和水或饱和蒸汽或湿蒸汽,干度=0.873700\n"})
    EXPECT_NE(text.out.find(line), std::string::npos) << line;
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 3 * 7 + 2);
}

TEST(Expand, EveryInletAndOutletFormAndChains) {
  // The same inlet given three ways: as (p, t), as (p, h), and saturated steam by its pressure.
  const calc::Point sat = calc::SaturationByP(calc::Formulation::IFC67, 1).vapour;
  char h[32];
  std::snprintf(h, sizeof h, "%.17g", sat.h);
  const CliRun bySat = RunCli({"expand", "--tsv", "--inlet", "sat", "1", "0.05", "0.75"});
  const CliRun byH = RunCli({"expand", "--tsv", "--inlet=ph", "1", h, "0.05", "0.75"});
  ASSERT_EQ(bySat.status, 0) << bySat.err;
  EXPECT_EQ(Fields(bySat.out)[0], F6(sat.h, "kJ/kg"));
  EXPECT_EQ(Fields(byH.out)[0], Fields(bySat.out)[0]);
  // A chain prints a line per section; --measured appends η.
  const CliRun chain =
      RunCli({"expand", "--tsv", "16", "540", "5", "0.85", "1.5", "0.85", "0.01", "0.8"});
  EXPECT_EQ(std::count(chain.out.begin(), chain.out.end(), '\n'), 3);
  EXPECT_EQ(Fields(chain.out).size(), 11u);
  for (const auto& [form, value, eta] : {std::tuple{"x", "0.9", "0.801591"},
                                         {"h", "2344.6794734", "0.801591"},
                                         {"t", "320", "0.474552"}}) {
    SCOPED_TRACE(form);
    const CliRun m = RunCli({"expand", "--formulation", "if97", "--tsv", "--measured", form, "10",
                             "500", form == std::string("t") ? "1" : "0.01", value});
    ASSERT_EQ(m.status, 0) << m.err;
    ASSERT_EQ(Fields(m.out).size(), 12u);
    EXPECT_EQ(Fields(m.out)[11].substr(0, 8), eta);
  }
  const CliRun note = RunCli({"expand", "--measured", "h", "10", "500", "0.01", "2000"});
  EXPECT_EQ(note.status, 0);
  EXPECT_NE(note.out.find("\n说明  出口熵 "), std::string::npos) << note.out;
}

TEST(Expand, CompareGivesBothFormulationsAndTheirDifferences) {
  const CliRun tsv = RunCli({"expand", "--compare", "--tsv", "10", "500", "0.01", "0.85"});
  ASSERT_EQ(tsv.status, 0);
  const std::vector<std::string> f = Fields(tsv.out);
  ASSERT_EQ(f.size(), 11u + 11 + 9);
  EXPECT_EQ(f[0], "3374.598242 kJ/kg");
  EXPECT_EQ(f[11], "3375.058442 kJ/kg");
  EXPECT_EQ(f[22], "0.460199");
  const CliRun text = RunCli({"expand", "--compare", "10", "500", "0.01", "0.85"});
  EXPECT_EQ(text.out.rfind("量  ", 0), 0u);
  EXPECT_NE(text.out.find("\n实际焓降 kJ/kg  "), std::string::npos);
  // One formulation refuses: the table with its reason, exit status 1.
  const CliRun hot = RunCli({"expand", "--compare", "10", "900", "0.01", "0.85"});
  EXPECT_EQ(hot.status, 1);
  EXPECT_NE(hot.out.find("进口温度 900 ℃ 高于适用上限 800 ℃"), std::string::npos);
  const CliRun hotTsv = RunCli({"expand", "--compare", "--tsv", "10", "900", "0.01", "0.85"});
  EXPECT_EQ(std::to_string(hotTsv.status) + hotTsv.out + hotTsv.err,
            "1kelm-calc: IFC-67: 进口温度 900 ℃ 高于适用上限 800 ℃\n");
}

TEST(Table, PrintsTheLayersTableAndWritesAWorkbook) {
  calc::TableRequest r;
  r.kind = calc::TableKind::PressureTemperature;
  r.formulation = calc::Formulation::IF97;
  std::string error;
  ASSERT_TRUE(calc::ParseSeries("1,10", r.first, error));
  ASSERT_TRUE(calc::ParseSeries("100:300:100", r.second, error));
  r.extras = {calc::TableExtra::Cp};
  calc::SteamTable t;
  ASSERT_TRUE(calc::MakeSteamTable(r, t, error));
  const std::string path = testing::TempDir() + "kelm_table.xlsx";
  const CliRun run = RunCli({"table", "--formulation", "if97", "--extra", "cp", "--tsv", "--xlsx",
                             path, "pt", "1,10", "100:300:100"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, calc::ToTsv(t.table));
  EXPECT_EQ(testxlsx::ReadWorkbook(path).at(0).rows(), int(t.table.rows.size()) + 1);
  std::remove(path.c_str());
  const CliRun text = RunCli({"table", "sat-p", "0.1,1"});
  EXPECT_EQ(text.out.rfind("饱和水与饱和蒸汽表（按压力）  IFC-67\n压力 p MPa  温度 t ℃", 0), 0u)
      << text.out;
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 4);
}

// Refusals of the calculation layer (each sentence is the layer's test's) exit with 1 and the
// sentence; usage errors with 2 and the hint.
TEST(Tools, RefusalsAndUsageErrorsSayWhy) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } rows[] = {
      {{"expand", "10", "900", "0.01", "0.85"}, 1, "进口温度 900 ℃ 高于适用上限 800 ℃"},
      {{"expand", "--measured", "t", "10", "500", "0.01", "40"}, 1, "出口温度 40 ℃ 不高于出口压力下的饱和温度"},
      {{"table", "sat-t", "0:100:0"}, 1, "温度的步长 0 须大于 0"},
      {{"expand", "10", "500", "0.01"}, 2, "expand takes the inlet (P1 T1|H1) and pairs of end pressure and efficiency"},
      {{"expand", "--inlet", "sat", "1", "0.1", "0.8", "0.01"}, 2, "expand takes the inlet (P1) and pairs"},
      {{"expand", "--measured", "x", "10", "500", "1", "0.8", "0.1", "0.8"}, 2, "expand --measured takes the inlet and P2 with the outlet's x"},
      {{"expand", "10", "5OO", "0.01", "0.85"}, 2, "bad number \"5OO\""},
      {{"expand", "--inlet", "pq", "10", "500", "0.01", "0.85"}, 2, "unknown inlet \"pq\" (pt, ph or sat)"},
      {{"expand", "--measured", "s", "10", "500", "0.01", "7"}, 2, "unknown outlet \"s\" (t, x or h)"},
      {{"expand", "--extra", "cp", "10", "500", "0.01", "0.85"}, 2, "unknown option \"--extra\""},
      {{"expand", "--units", "p=psi", "10", "500", "0.01", "0.85"}, 2, "bad unit \"p=psi\""},
      {{"expand", "--units", "p=MPag", "-0.1013", "500", "-0.1013", "0.85"}, 1,
       "进口压力 -0.1013 MPa(表压) 低于适用下限 -0.100625 MPa(表压)"},
      {{"expand", "--units", "p=MPag", "-0.3", "500", "0.01", "0.85"}, 2, "pressure below absolute zero"},
      {{"expand", "--formulation", "if67", "10", "500", "0.01", "0.85"}, 2, "unknown formulation \"if67\""},
      {{"expand", "10", "500", "0.01", "0.85", "--xlsx"}, 2, "--xlsx needs a value"},
      {{"expand", "--xlsx", "/nonexistent/x.xlsx", "10", "500", "0.01", "0.85"}, 2, "无法写入文件 /nonexistent/x.xlsx"},
      {{"table"}, 2, "table needs sat-t, sat-p or pt"},
      {{"table", "sat-x", "1"}, 2, "unknown table \"sat-x\" (sat-t, sat-p or pt)"},
      {{"table", "pt", "1"}, 2, "table pt takes PRESSURES and TEMPERATURES"},
      {{"table", "sat-t", "1:2"}, 2, "\"1:2\" 须为 起点:终点:步长"},
      {{"table", "--extra", "rho,x", "sat-t", "100"}, 2, "unknown quantity \"x\""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    const CliRun run = RunCli(row.args);
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.err.rfind(std::string("kelm-calc: ") + row.message, 0), 0u) << run.err;
    // A file that cannot be written is no usage error, but ends the run as one.
    const bool usage = row.status == 2 && std::string(row.message).rfind("无法写入", 0) != 0;
    EXPECT_EQ(run.err.find("Try 'kelm-calc --help'") != std::string::npos, usage);
  }
}

}  // namespace
