#include "shell/tableprinter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "shell/dialogfont.h"

namespace {

constexpr double kBodyPoints = 8, kSmallestPoints = 4.5, kTitlePoints = 13, kHeaderPoints = 8.5;

bool IsNumber(const calc::Cell& cell) { return std::isfinite(cell.number) || cell.text == "—"; }

QFont Font(double points, bool bold = false) {
  QFont font = DialogFont();
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// A caption broken at its blanks only (a unit such as "kJ/(kg·K)" stays whole), greedily, into
// lines no wider than `width`.
QStringList Wrapped(const QString& caption, double width, const QFontMetricsF& metrics) {
  QStringList lines;
  for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (!lines.isEmpty() &&
        metrics.horizontalAdvance(lines.back() + QLatin1Char(' ') + word) <= width)
      lines.back() += QLatin1Char(' ') + word;
    else
      lines << word;
  }
  return lines;
}

// Column widths at a type size: each as wide as its widest cell, and at least as wide as its
// caption needs to stand in two lines (three where a single word is wider).
std::vector<double> ColumnWidths(const calc::Table& t, const QFont& font, QPaintDevice* device,
                                 double pad) {
  const QFontMetricsF text(font, device);
  QFont bold = font;
  bold.setBold(true);
  const QFontMetricsF caption(bold, device);
  std::vector<double> widths;
  for (std::size_t c = 0; c < t.captions.size(); ++c) {
    const QString title = QString::fromStdString(t.captions[c]);
    double width = 0;
    for (const auto& row : t.rows)
      if (c < row.size())
        width = std::max(width, text.horizontalAdvance(QString::fromStdString(row[c].text)));
    for (const QString& w : title.split(QLatin1Char(' ')))
      width = std::max(width, caption.horizontalAdvance(w));
    const double step = caption.averageCharWidth();
    while (Wrapped(title, width, caption).size() > 2 && width < caption.horizontalAdvance(title))
      width += step;
    widths.push_back(width + 2 * pad);
  }
  return widths;
}

double Sum(const std::vector<double>& v) {
  double s = 0;
  for (double x : v) s += x;
  return s;
}

}  // namespace

int PrintTableToPdf(const PrintedTable& doc, const QString& path, QString& error) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(14, 12, 14, 12), QPageLayout::Millimeter);
  printer.setCreator(QStringLiteral("KELM"));
  printer.setDocName(doc.title);
  const calc::Table& t = doc.table;

  // The type and the orientation: portrait if the columns fit at the body size, else landscape,
  // else the body size shrunk to fit (not below kSmallestPoints).
  double points = kBodyPoints;
  const double pad = printer.resolution() * 0.05;  // 1.3 mm each side
  auto widthAt = [&](double pt) { return Sum(ColumnWidths(t, Font(pt), &printer, pad)); };
  printer.setPageOrientation(QPageLayout::Portrait);
  if (widthAt(points) > printer.pageLayout().paintRectPixels(printer.resolution()).width()) {
    printer.setPageOrientation(QPageLayout::Landscape);
    const double room = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    const double natural = widthAt(points);
    if (natural > room) points = std::max(kSmallestPoints, points * room / natural * 0.98);
  }
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QFont body = Font(points), bold = Font(points, true);
  const QFont titleFont = Font(kTitlePoints, true), headerFont = Font(kHeaderPoints);
  std::vector<double> widths = ColumnWidths(t, body, &printer, pad);
  const double tableWidth = Sum(widths);

  const QFontMetricsF bodyMetrics(body, &printer), boldMetrics(bold, &printer);
  const QFontMetricsF titleMetrics(titleFont, &printer), headerMetrics(headerFont, &printer);
  const double rowHeight = bodyMetrics.height() * 1.45;
  std::vector<QString> captions;
  qsizetype captionLines = 1;
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const QStringList lines =
        Wrapped(QString::fromStdString(t.captions[c]), widths[c] - 2 * pad, boldMetrics);
    captionLines = std::max(captionLines, lines.size());
    captions.push_back(lines.join(QLatin1Char('\n')));
  }
  const double captionHeight = captionLines * boldMetrics.lineSpacing() + 2 * pad;
  const double headerHeight = titleMetrics.height() * 1.4 +
                              doc.header.size() * headerMetrics.height() * 1.25 +
                              headerMetrics.height() * 0.6;
  const double footerHeight = headerMetrics.height() * 2;
  const int perPage =
      std::max(1, int((page.height() - headerHeight - captionHeight - footerHeight) / rowHeight));
  const int rows = int(t.rows.size());
  const int pages = std::max(1, (rows + perPage - 1) / perPage);

  QPainter painter;
  if (!painter.begin(&printer)) {
    error = QStringLiteral("无法写入文件 ") + path;
    return 0;
  }
  const QPen rule(QColor(60, 60, 60), printer.resolution() / 150.0);
  const QPen hairline(QColor(170, 170, 170), printer.resolution() / 300.0);
  for (int p = 0; p < pages; ++p) {
    if (p > 0) printer.newPage();
    double y = 0;
    painter.setPen(Qt::black);
    painter.setFont(titleFont);
    painter.drawText(QRectF(0, y, page.width(), titleMetrics.height()), Qt::AlignLeft, doc.title);
    y += titleMetrics.height() * 1.4;
    painter.setFont(headerFont);
    for (const QString& line : doc.header) {
      painter.drawText(QRectF(0, y, page.width(), headerMetrics.height()), Qt::AlignLeft, line);
      y += headerMetrics.height() * 1.25;
    }
    y += headerMetrics.height() * 0.6;

    // The captions on a light ground between two rules.
    painter.fillRect(QRectF(0, y, tableWidth, captionHeight), QColor(232, 232, 232));
    painter.setFont(bold);
    double x = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      // A hair wider than measured, so that no drawn line breaks again.
      painter.drawText(QRectF(x, y + pad, widths[c], captionHeight - 2 * pad),
                       Qt::AlignHCenter | Qt::AlignVCenter, captions[c]);
      x += widths[c];
    }
    painter.setPen(rule);
    painter.drawLine(QPointF(0, y), QPointF(tableWidth, y));
    painter.drawLine(QPointF(0, y + captionHeight), QPointF(tableWidth, y + captionHeight));
    const double top = y;
    y += captionHeight;

    painter.setFont(body);
    const int first = p * perPage, last = std::min(rows, first + perPage);
    for (int r = first; r < last; ++r) {
      if ((r - first) % 2 == 1)
        painter.fillRect(QRectF(0, y, tableWidth, rowHeight), QColor(245, 245, 245));
      painter.setPen(Qt::black);
      x = 0;
      const auto& row = t.rows[r];
      for (std::size_t c = 0; c < widths.size() && c < row.size(); ++c) {
        painter.drawText(QRectF(x + pad, y, widths[c] - 2 * pad, rowHeight),
                         (IsNumber(row[c]) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                         QString::fromStdString(row[c].text));
        x += widths[c];
      }
      y += rowHeight;
    }
    painter.setPen(rule);
    painter.drawLine(QPointF(0, y), QPointF(tableWidth, y));
    painter.setPen(hairline);
    x = 0;
    for (std::size_t c = 0; c + 1 < widths.size(); ++c) {
      x += widths[c];
      painter.drawLine(QPointF(x, top), QPointF(x, y));
    }

    painter.setPen(Qt::black);
    painter.setFont(headerFont);
    painter.drawText(
        QRectF(0, page.height() - headerMetrics.height(), page.width(), headerMetrics.height()),
        Qt::AlignHCenter, QStringLiteral("第 %1 页，共 %2 页").arg(p + 1).arg(pages));
  }
  if (!painter.end()) {
    error = QStringLiteral("无法写入文件 ") + path;
    return 0;
  }
  return pages;
}
