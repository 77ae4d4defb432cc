// Tables as they leave the program: TSV, CSV, files written whole or not at all, workbooks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "calc/table.h"
#include "tests/support/xlsx_reader.h"

using namespace calc;
namespace fs = std::filesystem;

namespace {

Table Sample() {
  Table t;
  t.captions = {"压力 MPa", "状态", "说明"};
  t.rows.push_back({Cell::Number(1), Cell::Text("过热蒸汽"), Cell::Text("a,b \"c\"")});
  t.rows.push_back({Cell::Number(NAN), Cell::Text("x\ty\nz\r"), Cell::Text("")});
  t.rows.push_back({Cell::Number(0.0010430000000000001, 6), Cell::Number(-2.5, 4), Cell::Text("=1")});
  return t;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per process and test: runs from other build trees may share the temporary folder.
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("kelm_table_" + std::to_string(::getpid()) + "_" + test);
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  // Names in the folder, so that a temporary file left behind is seen.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir;
};

}  // namespace

TEST(Table, NumbersHaveTheirDecimalsAndNoneIsADash) {
  EXPECT_EQ(Cell::Number(0.0000004).text, "0.000000");
  EXPECT_EQ(Cell::Number(-0.0000004).text, "-0.000000");  // as the form prints it
  EXPECT_EQ(Cell::Number(1e20, 0).text, "100000000000000000000");
  for (double none : {NAN, INFINITY, -INFINITY}) {
    EXPECT_EQ(Cell::Number(none).text, "—");
    EXPECT_TRUE(std::isnan(Cell::Number(none).number));
  }
}

TEST(Table, TsvFlattensTabsAndLineEndsInsideCells) {
  EXPECT_EQ(ToTsv(Sample()),
            "压力 MPa\t状态\t说明\n"
            "1.000000\t过热蒸汽\ta,b \"c\"\n"
            "—\tx y z \t\n"
            "0.001043\t-2.5000\t=1\n");
  EXPECT_EQ(ToTsv({}), "\n");
}

TEST(Table, CsvHasAByteOrderMarkCrlfAndQuotesWhereNeeded) {
  EXPECT_EQ(ToCsv(Sample()),
            "\xEF\xBB\xBF"
            "压力 MPa,状态,说明\r\n"
            "1.000000,过热蒸汽,\"a,b \"\"c\"\"\"\r\n"
            "—,\"x\ty\nz\r\",\r\n"
            "0.001043,-2.5000,=1\r\n");
}

TEST_F(Files, AFileIsWrittenWholeAndReplacesTheOldOne) {
  const fs::path file = dir / "结果.csv";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file.string(), "old", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(file.string(), ToCsv(Sample()), error)) << error;
  EXPECT_EQ(Read(file), ToCsv(Sample()));
  EXPECT_EQ(Names(), std::vector<std::string>{"结果.csv"});
}

TEST_F(Files, AFileThatCannotBeWrittenNamesItselfAndTheCauseAndLeavesNothing) {
  fs::create_directories(dir / "taken.csv");
  std::ofstream(dir / "plain") << "x";
  const struct { fs::path path; const char* cause; } rows[] = {
      {dir / "missing" / "a.csv", "文件夹不存在"},
      {dir / "taken.csv", "同名的文件夹已存在"},
      {dir / "plain" / "a.csv", "路径中有一段不是文件夹"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path.string());
    for (int xlsx = 0; xlsx < 2; ++xlsx) {
      std::string error;
      const bool ok = xlsx ? WriteXlsx(row.path.string(), Sample(), {}, error)
                           : WriteFileAtomically(row.path.string(), "text", error);
      EXPECT_FALSE(ok);
      EXPECT_EQ(error, "无法写入文件 " + row.path.string() + "：" + row.cause);
    }
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"plain", "taken.csv"}));
  EXPECT_TRUE(fs::is_directory(dir / "taken.csv"));
  EXPECT_TRUE(fs::is_empty(dir / "taken.csv"));
}

TEST_F(Files, AWorkbookHoldsNumbersAsNumbersAndTheStampOnItsSecondSheet) {
  const fs::path file = dir / "结果.xlsx";
  std::string error;
  ASSERT_TRUE(WriteXlsx(file.string(), Sample(), {{"程序", "kelm 1"}, {"单位", "压力 MPa"}}, error))
      << error;
  EXPECT_EQ(Names(), std::vector<std::string>{"结果.xlsx"});
  const auto sheets = testxlsx::ReadWorkbook(file.string());
  ASSERT_EQ(sheets.size(), 2u);
  const testxlsx::Sheet& rows = sheets[0];
  EXPECT_EQ(rows.name, "结果");
  EXPECT_EQ(rows.rows(), 4);
  // Texts stay texts, one that looks like a formula too.
  for (const auto& [ref, text] : {std::pair{"A1", "压力 MPa"}, {"C1", "说明"}, {"C2", "a,b \"c\""},
                                  {"A3", "—"}, {"B3", "x\ty\nz\r"}, {"C4", "=1"}}) {
    EXPECT_FALSE(rows.at(ref).number) << ref;
    EXPECT_EQ(rows.at(ref).text, text);
  }
  // Numbers keep their value, not its six decimals, and show their decimals by their format.
  for (const auto& [ref, value, format] : {std::tuple{"A2", 1.0, "0.000000"},
                                           {"A4", 0.0010430000000000001, "0.000000"},
                                           {"B4", -2.5, "0.0000"}}) {
    EXPECT_TRUE(rows.at(ref).number) << ref;
    EXPECT_EQ(rows.at(ref).value, value);
    EXPECT_EQ(rows.at(ref).format, format);
  }
  EXPECT_EQ(rows.cells.count("C3"), 0u);  // an empty text is an empty cell
  EXPECT_EQ(sheets[1].name, "说明");
  EXPECT_EQ(sheets[1].at("A1").text, "程序");
  EXPECT_EQ(sheets[1].at("B2").text, "压力 MPa");
}

TEST_F(Files, AWorkbookBeyondWhatASheetHoldsIsRefusedWhole) {
  const fs::path file = dir / "big.xlsx";
  std::string error;
  Table longText;
  longText.captions = {"说明"};
  longText.rows = {{Cell::Text(std::string(32767, 'a'))}};
  ASSERT_TRUE(WriteXlsx(file.string(), longText, {}, error)) << error;
  longText.rows = {{Cell::Text(std::string(32768, 'a'))}};
  EXPECT_FALSE(WriteXlsx(file.string(), longText, {}, error));
  EXPECT_EQ(error, "无法写入文件 " + file.string() + "：单元格的文字超过 32767 个字符");
  Table tall;
  tall.captions = {"压力 MPa"};
  tall.rows.assign(1048576, {Cell::Number(1)});
  EXPECT_FALSE(WriteXlsx(file.string(), tall, {}, error));
  EXPECT_EQ(error, "无法写入文件 " + file.string() + "：一个工作表最多 1048575 行，这里有 1048576 行");
  // The earlier workbook stays as it was.
  EXPECT_EQ(testxlsx::ReadWorkbook(file.string())[0].at("A2").text.size(), 32767u);
  EXPECT_EQ(Names(), std::vector<std::string>{"big.xlsx"});
}

TEST(Table, DisplayWidthCountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth("压力 MPa"), 8);
  EXPECT_EQ(DisplayWidth("℃"), 1);
  EXPECT_EQ(PadToWidth("熵", 4), "熵  ");
  EXPECT_EQ(PadToWidth("过热蒸汽", 4), "过热蒸汽");
}
