// The record and the batch window at their sizes: a record of 100 000 rows opened in its window
// (the rows' ids read, the first screen of rows formatted and painted), scrolled to the end and
// through the middle; and 10 000 lines of the batch window calculated, kept and shown. Prints
// milliseconds; run with QT_QPA_PLATFORM=offscreen. Not part of the test suite.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "shell/batchwnd.h"
#include "shell/record.h"
#include "shell/recordwnd.h"

namespace {

calc::Answer Answer(Item item, Mode mode, std::initializer_list<double> in) {
  calc::Request r{calc::Formulation::IFC67, item, mode, {0, 0, 0}};
  std::copy(in.begin(), in.end(), r.in);
  return calc::Calculate(r);
}

void Show(QWidget& window) {
  window.show();
  QApplication::processEvents();
  window.grab();  // paints every visible cell
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("record.sqlite"));
  constexpr int kRows = 100000;
  {
    CRecord record(path);
    const std::vector<calc::Answer> kinds = {
        Answer(Item::AnyState, Mode::PressureTemperature, {13.5, 535}),
        Answer(Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}),
        Answer(Item::SatWater, Mode::Pressure, {0.1}),
        Answer(Item::Isentropic, Mode::EndPressure, {13.5, 535, 0.005})};
    std::vector<calc::Answer> all;
    for (int i = 0; i < kRows; ++i) all.push_back(kinds[std::size_t(i) % kinds.size()]);
    QElapsedTimer fill;
    fill.start();
    record.Append(all, QStringLiteral("计算窗口"));
    std::printf("fill %d rows in one transaction: %lld ms (%.1f MB)\n", kRows, fill.elapsed(),
                QFileInfo(path).size() / 1e6);
  }
  for (int run = 0; run < 3; ++run) {
    QElapsedTimer open;
    open.start();
    CRecord record(path);
    CRecordWnd window(nullptr, record);
    Show(window);
    const qint64 opened = open.elapsed();
    auto* view = window.findChild<QTableView*>(QStringLiteral("IDC_RECORD_TABLE"));
    QElapsedTimer scroll;
    scroll.start();
    view->scrollToBottom();
    window.grab();
    const qint64 toEnd = scroll.elapsed();
    scroll.restart();
    QScrollBar* bar = view->verticalScrollBar();
    constexpr int kSteps = 200;
    for (int i = 0; i < kSteps; ++i) {
      bar->setValue(bar->maximum() / 2 + i * bar->pageStep());
      window.grab();
    }
    std::printf("open %d rows: %lld ms; to the last row: %lld ms; a page down: %.2f ms\n",
                view->model()->rowCount(), opened, toEnd, double(scroll.elapsed()) / kSteps);
  }
  {
    CRecord record(dir.filePath(QStringLiteral("batch.sqlite")));
    CBatchWnd window(nullptr, record);
    QString lines;
    const char* kinds[] = {"2\t0\t13.5\t535", "2\t4\t100\t420",         "0\t0\t0.1",
                           "2\t2\t10\t6.5",   "3\t0\t13.5\t535\t0.005", "2\t3\t22\t2100"};
    for (int i = 0; i < 10000; ++i) lines += QString::fromLatin1(kinds[i % 6]) + '\n';
    window.findChild<QPlainTextEdit*>(QStringLiteral("IDC_BATCH_INPUT"))->setPlainText(lines);
    Show(window);
    QElapsedTimer batch;
    batch.start();
    QObject::connect(&window, &CBatchWnd::Finished, &app, &QApplication::quit);
    window.Run();
    app.exec();
    std::printf("batch window, 10000 lines calculated, kept and shown: %lld ms (%d rows)\n",
                batch.elapsed(), window.Results().rowCount());
  }
  return 0;
}
