#include "shell/diagrampaint.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "shell/dialogfont.h"

namespace {

using calc::Chart;
using calc::LineKind;
namespace colors = diagram_colors;

// Margins around the plot for the title, the tick labels and the axis titles, in pixels of the
// 1:1 picture.
constexpr double kLeft = 70, kRight = 16, kTop = 34, kBottom = 48;

QFont ChartFont(double pixels, bool bold = false) {
  static const QFont base = DialogFont();
  QFont font = base;
  font.setPixelSize(qRound(pixels));
  font.setBold(bold);
  return font;
}

QColor LineColor(LineKind kind) {
  switch (kind) {
    case LineKind::Isobar: return colors::kIsobar;
    case LineKind::Isotherm: return colors::kIsotherm;
    case LineKind::Dryness: return colors::kDryness;
    case LineKind::Saturation: break;
  }
  return colors::kSaturation;
}

// A step of 1, 2 or 5 times a power of ten that divides the span into about `count` parts.
double TickStep(double span, int count) {
  const double raw = span / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * magnitude >= raw * 0.999) return m * magnitude;
  return 10 * magnitude;
}

QString TickText(double value, double step) {
  const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
  if (std::fabs(value) < step * 1e-6) value = 0;  // no "-0"
  return QString::number(value, 'f', decimals);
}

// The parts of a polyline inside a rectangle (Liang–Barsky on each segment), so that no output,
// SVG included, depends on the surface's own clipping.
std::vector<QPolygonF> Clipped(const QPolygonF& line, const QRectF& r) {
  std::vector<QPolygonF> parts;
  bool open = false;
  for (int i = 1; i < line.size(); ++i) {
    const QPointF a = line[i - 1], b = line[i];
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    bool inside = true;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int k = 0; k < 4 && inside; ++k) {
      if (p[k] == 0) {
        inside = q[k] >= 0;
      } else {
        const double t = q[k] / p[k];
        if (p[k] < 0)
          t0 = std::max(t0, t);
        else
          t1 = std::min(t1, t);
        inside = t0 <= t1;
      }
    }
    if (!inside) {
      open = false;
      continue;
    }
    const QPointF c = a + QPointF(dx, dy) * t0, d = a + QPointF(dx, dy) * t1;
    if (!open || t0 > 0) parts.push_back(QPolygonF{c});
    parts.back() << d;
    open = t1 >= 1;
  }
  return parts;
}

QPolygonF Mapped(const CChartFrame& frame, Chart chart, const std::vector<calc::ChartPoint>& pts) {
  QPolygonF polygon;
  polygon.reserve(qsizetype(pts.size()));
  for (const calc::ChartPoint& pt : pts) polygon << frame.Map(chart, pt);
  return polygon;
}

void DrawPolyline(QPainter& painter, const CChartFrame& frame, const QPolygonF& line) {
  for (const QPolygonF& part : Clipped(line, frame.Plot())) painter.drawPolyline(part);
}

// Text in a box of the background's colour, so that it stays readable over the lines.
void DrawHaloText(QPainter& painter, const QPointF& centre, double angle, const QString& text,
                  const QColor& color) {
  const QFontMetricsF metrics(painter.font());
  const double w = metrics.horizontalAdvance(text) + 4, h = metrics.height();
  painter.save();
  painter.translate(centre);
  painter.rotate(angle);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 215));
  painter.drawRect(QRectF(-w / 2, -h / 2, w, h));
  painter.setPen(color);
  painter.drawText(QRectF(-w / 2, -h / 2, w, h), Qt::AlignCenter, text);
  painter.restore();
}

// The labels of the lines, each placed along its line where it overlaps no label placed before
// it and stays inside the plot: first at the kind's usual place, then ever further from it.
class CLabelPlacer {
 public:
  CLabelPlacer(QPainter& painter, const QRectF& plot) : m_painter(painter), m_plot(plot) {}

  void Reserve(const QRectF& box) { m_placed.push_back(QPolygonF(box)); }
  const std::vector<QPolygonF>& Placed() const { return m_placed; }
  // A line no label may cover (the saturation line).
  void Avoid(std::vector<QPolygonF> parts) {
    m_avoided.insert(m_avoided.end(), parts.begin(), parts.end());
  }

  bool Place(const std::vector<QPolygonF>& parts, double preferred, const QString& text,
             const QColor& color) {
    double total = 0;
    for (const QPolygonF& part : parts) total += Length(part);
    if (total < 1) return false;
    const QFontMetricsF metrics(m_painter.font());
    const double w = metrics.horizontalAdvance(text) + 4, h = metrics.height();
    for (int k = 0; k <= 96; ++k) {
      const double fraction = preferred + (k + 1) / 2 * 0.01 * (k % 2 == 0 ? 1 : -1);
      if (fraction < 0.02 || fraction > 0.985) continue;
      QPointF at;
      double angle = 0;
      if (!Locate(parts, fraction * total, w, at, angle)) continue;
      QTransform rotation;
      rotation.translate(at.x(), at.y());
      rotation.rotate(angle);
      const QPolygonF box = rotation.map(QPolygonF(QRectF(-w / 2, -h / 2, w, h)));
      if (!m_plot.adjusted(2, 2, -2, -2).contains(box.boundingRect())) continue;
      if (std::any_of(m_placed.begin(), m_placed.end(),
                      [&](const QPolygonF& other) { return other.intersects(box); }) ||
          Covers(box))
        continue;
      m_placed.push_back(box);
      DrawHaloText(m_painter, at, angle, text, color);
      return true;
    }
    return false;
  }

 private:
  static double Length(const QPolygonF& line) {
    double length = 0;
    for (int i = 1; i < line.size(); ++i) length += QLineF(line[i - 1], line[i]).length();
    return length;
  }

  // The point at arc length `along` and the direction of the line over the label's width, as an
  // angle that keeps the text upright.
  static bool Locate(const std::vector<QPolygonF>& parts, double along, double width, QPointF& at,
                     double& angle) {
    for (const QPolygonF& part : parts) {
      const double length = Length(part);
      if (along > length) {
        along -= length;
        continue;
      }
      if (along < width / 2 || along > length - width / 2) return false;
      const QPointF from = PointAt(part, along - width / 2), to = PointAt(part, along + width / 2);
      at = PointAt(part, along);
      angle = qRadiansToDegrees(std::atan2(to.y() - from.y(), to.x() - from.x()));
      if (angle > 90) angle -= 180;
      if (angle < -90) angle += 180;
      return true;
    }
    return false;
  }

  bool Covers(const QPolygonF& box) const {
    const QRectF bounds = box.boundingRect();
    for (const QPolygonF& line : m_avoided) {
      if (!line.boundingRect().intersects(bounds)) continue;
      for (int i = 0; i < line.size(); ++i) {
        if (box.containsPoint(line[i], Qt::OddEvenFill)) return true;
        if (i == 0) continue;
        const QLineF segment(line[i - 1], line[i]);
        for (int k = 0; k < 4; ++k)
          if (segment.intersects(QLineF(box[k], box[k + 1]), nullptr) ==
              QLineF::BoundedIntersection)
            return true;
      }
    }
    return false;
  }

  static QPointF PointAt(const QPolygonF& line, double along) {
    for (int i = 1; i < line.size(); ++i) {
      const double step = QLineF(line[i - 1], line[i]).length();
      if (along <= step && step > 0) return line[i - 1] + (line[i] - line[i - 1]) * (along / step);
      along -= step;
    }
    return line.back();
  }

  QPainter& m_painter;
  QRectF m_plot;
  std::vector<QPolygonF> m_placed, m_avoided;
};

// Where along its visible part each kind of line is labelled: isobars high in the superheated
// region (on h–s above the isotherms' labels), isotherms where they flatten at low pressure,
// dryness lines low in the wet region.
double PreferredPlace(LineKind kind, Chart chart) {
  switch (kind) {
    case LineKind::Isobar: return chart == Chart::TS ? 0.8 : 0.9;
    case LineKind::Isotherm: return 0.93;
    case LineKind::Dryness: return 0.12;
    case LineKind::Saturation: break;
  }
  return 0.5;
}

void PaintAxes(QPainter& painter, const CChartFrame& frame, const DiagramPicture& picture) {
  const QRectF plot = frame.Plot();
  const calc::Bounds& v = frame.View();
  painter.setFont(ChartFont(11));
  const QFontMetricsF metrics(painter.font());
  const QPen grid(QColor(225, 225, 225), 0.8), tick(Qt::black, 1);
  const double sStep = TickStep(v.sMax - v.sMin, 10), yStep = TickStep(v.yMax - v.yMin, 8);
  for (double s = std::ceil(v.sMin / sStep - 1e-9) * sStep; s <= v.sMax + sStep * 1e-9;
       s += sStep) {
    const double x = frame.Map(s, v.yMin).x();
    painter.setPen(grid);
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(tick);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
    painter.drawText(QRectF(x - 40, plot.bottom() + 5, 80, metrics.height()), Qt::AlignHCenter,
                     TickText(s, sStep));
  }
  for (double y = std::ceil(v.yMin / yStep - 1e-9) * yStep; y <= v.yMax + yStep * 1e-9;
       y += yStep) {
    const double py = frame.Map(v.sMin, y).y();
    painter.setPen(grid);
    painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    painter.setPen(tick);
    painter.drawLine(QPointF(plot.left() - 4, py), QPointF(plot.left(), py));
    painter.drawText(QRectF(plot.left() - 66, py - metrics.height() / 2, 60, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, TickText(y, yStep));
  }
  painter.setPen(tick);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  painter.setFont(ChartFont(12));
  painter.drawText(QRectF(plot.left(), plot.bottom() + 24, plot.width(), 20), Qt::AlignHCenter,
                   QStringLiteral("比熵 s / kJ/(kg·K)"));
  painter.save();
  painter.translate(frame.Target().left() + 14, plot.center().y());
  painter.rotate(-90);
  painter.drawText(
      QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignCenter,
      picture.chart == Chart::TS ? QStringLiteral("温度 t / ℃") : QStringLiteral("比焓 h / kJ/kg"));
  painter.restore();
}

// The title and a legend of the kinds of line, above the plot.
void PaintTitle(QPainter& painter, const CChartFrame& frame, const DiagramPicture& picture) {
  const QRectF plot = frame.Plot();
  const double y = frame.Target().top() + 8;
  painter.setFont(ChartFont(13, true));
  painter.setPen(Qt::black);
  const QString title = ChartTitle(picture.chart) + QStringLiteral("  ") +
                        QString::fromUtf8(calc::FormulationName(picture.scene->formulation));
  painter.drawText(QPointF(plot.left(), y + 13), title);

  struct Entry {
    QString text;
    QColor color;
    Qt::PenStyle style;
  };
  std::vector<Entry> entries = {{QStringLiteral("饱和线"), colors::kSaturation, Qt::SolidLine},
                                {QStringLiteral("等压线"), colors::kIsobar, Qt::SolidLine}};
  if (picture.chart == Chart::HS) {
    entries.push_back({QStringLiteral("等温线"), colors::kIsotherm, Qt::SolidLine});
    entries.push_back({QStringLiteral("等干度线"), colors::kDryness, Qt::SolidLine});
  }
  if (picture.other != nullptr)
    entries.push_back({QString::fromUtf8(calc::FormulationName(picture.other->formulation)) +
                           QStringLiteral(" 饱和线"),
                       colors::kOther, Qt::DashLine});
  painter.setFont(ChartFont(11));
  const QFontMetricsF metrics(painter.font());
  double x = plot.right();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    x -= metrics.horizontalAdvance(it->text);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x, y + 12), it->text);
    x -= 24;
    painter.setPen(QPen(it->color, 1.6, it->style));
    painter.drawLine(QPointF(x, y + 8), QPointF(x + 20, y + 8));
    x -= 14;
  }
}

std::vector<QPolygonF> PaintLines(QPainter& painter, const CChartFrame& frame,
                                  const DiagramPicture& picture) {
  const Chart chart = picture.chart;
  const calc::Scene& scene = *picture.scene;
  // The wet region under the dome, lightly filled.
  const QPolygonF dome = Mapped(frame, chart, scene.lines.front().points);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colors::kWetRegion);
  painter.drawPolygon(dome.intersected(QPolygonF(frame.Plot())));
  painter.setBrush(Qt::NoBrush);

  for (auto it = scene.lines.rbegin(); it != scene.lines.rend(); ++it) {
    if (!calc::OnChart(it->kind, chart) || it->kind == LineKind::Saturation) continue;
    const bool critical = it->kind == LineKind::Isobar && it->value == scene.critical.p;
    painter.setPen(QPen(LineColor(it->kind), critical ? 1.4 : 0.9));
    DrawPolyline(painter, frame, Mapped(frame, chart, it->points));
  }
  if (picture.other != nullptr) {
    painter.setPen(QPen(colors::kOther, 1.2, Qt::DashLine));
    DrawPolyline(painter, frame, Mapped(frame, chart, picture.other->lines.front().points));
  }
  for (const calc::Line& line : scene.lines) {
    if (line.kind != LineKind::Saturation) continue;
    painter.setPen(QPen(colors::kSaturation, 2));
    DrawPolyline(painter, frame, Mapped(frame, chart, line.points));
  }

  const QPointF top = frame.Map(chart, scene.criticalPoint);
  CLabelPlacer labels(painter, frame.Plot());
  labels.Avoid(Clipped(dome, frame.Plot()));
  painter.setFont(ChartFont(11));
  if (frame.Plot().contains(top)) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::kSaturation);
    painter.drawEllipse(top, 3, 3);
    painter.setBrush(Qt::NoBrush);
    const QString text = QStringLiteral("临界点");
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(text) + 4, metrics.height());
    // Above the dome's top on T–s; on h–s the top lies on the dome's left flank: to its left.
    const QRectF box = chart == Chart::TS
                           ? QRectF(top - QPointF(size.width() / 2, 6 + size.height()), size)
                           : QRectF(top - QPointF(size.width() + 6, size.height() / 2), size);
    DrawHaloText(painter, box.center(), 0, text, colors::kSaturation);
    labels.Reserve(box);
  }
  // Labels once per line, isobars first: where labels crowd, theirs matter most.
  for (const LineKind kind : {LineKind::Isobar, LineKind::Isotherm, LineKind::Dryness}) {
    if (!calc::OnChart(kind, chart)) continue;
    double labelled = NAN;
    for (const calc::Line& line : scene.lines) {
      if (line.kind != kind || line.value == labelled) continue;
      const std::vector<QPolygonF> parts = Clipped(Mapped(frame, chart, line.points), frame.Plot());
      if (labels.Place(parts, PreferredPlace(kind, chart),
                       QString::fromStdString(calc::LineLabel(line)), LineColor(kind)))
        labelled = line.value;
    }
  }
  return labels.Placed();
}

QColor MarkColor(calc::MarkKind kind) {
  switch (kind) {
    case calc::MarkKind::Start: return colors::kStart;
    case calc::MarkKind::Added: return colors::kAdded;
    case calc::MarkKind::Solution: break;
  }
  return colors::kSolution;
}

// Where a mark's label goes: beside the point, above or below, right or left, further away
// row by row, inside the plot and clear of the other marks and their labels; clear of the lines'
// labels too where any such place exists.
QRectF MarkLabelBox(const QPointF& at, const QSizeF& size, const QRectF& plot,
                    const std::vector<QRectF>& taken, const std::vector<QPolygonF>& lineLabels) {
  auto free = [&](const QRectF& r, bool ofLines) {
    if (!plot.contains(r)) return false;
    if (std::any_of(taken.begin(), taken.end(), [&](const QRectF& t) { return t.intersects(r); }))
      return false;
    return !ofLines || std::none_of(lineLabels.begin(), lineLabels.end(),
                                    [&](const QPolygonF& l) { return l.intersects(QPolygonF(r)); });
  };
  for (const bool ofLines : {true, false}) {
    for (int row = 0; row < 8; ++row) {
      const double dy = 8 + row * size.height();
      for (const QPointF corner : {at + QPointF(8, -dy - size.height()), at + QPointF(8, dy),
                                   at + QPointF(-8 - size.width(), -dy - size.height()),
                                   at + QPointF(-8 - size.width(), dy)}) {
        if (free(QRectF(corner, size), ofLines)) return QRectF(corner, size);
      }
    }
  }
  return QRectF(at + QPointF(8, -8 - size.height()), size);
}

}  // namespace

CChartFrame::CChartFrame(const QRectF& target, const calc::Bounds& view)
    : m_target(target), m_plot(target.adjusted(kLeft, kTop, -kRight, -kBottom)), m_view(view) {}

QPointF CChartFrame::Map(double s, double y) const {
  return {m_plot.left() + (s - m_view.sMin) / (m_view.sMax - m_view.sMin) * m_plot.width(),
          m_plot.bottom() - (y - m_view.yMin) / (m_view.yMax - m_view.yMin) * m_plot.height()};
}

QPointF CChartFrame::Unmap(const QPointF& pos) const {
  return {
      m_view.sMin + (pos.x() - m_plot.left()) / m_plot.width() * (m_view.sMax - m_view.sMin),
      m_view.yMin + (m_plot.bottom() - pos.y()) / m_plot.height() * (m_view.yMax - m_view.yMin)};
}

QString ChartTitle(Chart chart) {
  return chart == Chart::TS ? QStringLiteral("T–s 图") : QStringLiteral("h–s 图");
}

std::vector<QPolygonF> PaintBackground(QPainter& painter, const CChartFrame& frame,
                                       const DiagramPicture& picture) {
  std::vector<QPolygonF> labels;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(frame.Target(), Qt::white);
  if (picture.scene != nullptr) {
    PaintAxes(painter, frame, picture);
    labels = PaintLines(painter, frame, picture);
    PaintTitle(painter, frame, picture);
  }
  painter.restore();
  return labels;
}

void PaintMarks(QPainter& painter, const CChartFrame& frame, const DiagramPicture& picture,
                const std::vector<QPolygonF>& labels) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const Chart chart = picture.chart;
  const QRectF plot = frame.Plot();
  for (const calc::Segment& segment : picture.expansion) {
    const QPointF from = frame.Map(chart, segment.from), to = frame.Map(chart, segment.to);
    painter.setPen(QPen(colors::kExpansion, 2));
    DrawPolyline(painter, frame, QPolygonF{from, to});
    // An arrowhead at the end point, pointing along the expansion.
    const QLineF dir(to, from);
    if (plot.contains(to) && dir.length() > 12) {
      const QLineF unit = dir.unitVector();
      const QPointF back = (unit.p2() - unit.p1()) * 10, side(-back.y() * 0.4, back.x() * 0.4);
      painter.setPen(Qt::NoPen);
      painter.setBrush(colors::kExpansion);
      painter.drawPolygon(QPolygonF{to, to + back + side, to + back - side});
    }
  }
  painter.setFont(ChartFont(12, true));
  const QFontMetricsF metrics(painter.font());
  // The points first, then their labels, each beside its point where it covers no other point
  // or label (the two roots of a (t, h) calculation may lie a pixel apart).
  std::vector<QRectF> taken;
  for (const calc::Mark& mark : picture.marks) {
    const QPointF at = frame.Map(chart, mark.point);
    if (!plot.contains(at)) continue;
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(MarkColor(mark.kind));
    painter.drawEllipse(at, 5, 5);
    taken.emplace_back(at - QPointF(5, 5), QSizeF(10, 10));
  }
  for (const calc::Mark& mark : picture.marks) {
    const QPointF at = frame.Map(chart, mark.point);
    if (!plot.contains(at)) continue;
    const QString text = QString::fromStdString(mark.label);
    const QRectF chosen = MarkLabelBox(
        at, QSizeF(metrics.horizontalAdvance(text) + 4, metrics.height()), plot, taken, labels);
    taken.push_back(chosen);
    DrawHaloText(painter, chosen.center(), 0, text, MarkColor(mark.kind).darker(115));
  }
  painter.restore();
}

void PaintDiagram(QPainter& painter, const QRectF& target, const DiagramPicture& picture) {
  const CChartFrame frame(target, picture.view);
  PaintMarks(painter, frame, picture, PaintBackground(painter, frame, picture));
}

QString ExportProblem(const QString& path, QSize size) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
      suffix != QLatin1String("pdf"))
    return QStringLiteral("不支持的文件类型“%1”：须为 .png、.svg 或 .pdf").arg(suffix);
  if (size.width() < 200 || size.height() < 150 || size.width() > 20000 || size.height() > 20000)
    return QStringLiteral("图像尺寸须在 200×150 与 20000×20000 像素之间");
  return {};
}

bool ExportDiagram(const DiagramPicture& picture, const QString& path, QSize size, QString& error) {
  error = ExportProblem(path, size);
  if (!error.isEmpty()) return false;
  const QString suffix = QFileInfo(path).suffix().toLower();
  const QRectF logical(QPointF(0, 0), QSizeF(size));
  if (suffix == QLatin1String("png")) {
    // A large image is the picture drawn bigger, not a smaller picture on a larger canvas.
    const double k = std::max(1.0, std::min(size.width() / 1100.0, size.height() / 750.0));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(k, k);
    PaintDiagram(painter, QRectF(0, 0, size.width() / k, size.height() / k), picture);
    painter.end();
    if (!image.save(path, "PNG")) {
      error = QStringLiteral("无法写入文件 %1").arg(path);
      return false;
    }
    return true;
  }
  if (suffix == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(logical);
    svg.setResolution(96);
    svg.setTitle(ChartTitle(picture.chart));
    svg.setDescription(QString::fromUtf8(calc::FormulationName(picture.scene->formulation)));
    QPainter painter;
    if (!painter.begin(&svg)) {
      error = QStringLiteral("无法写入文件 %1").arg(path);
      return false;
    }
    PaintDiagram(painter, logical, picture);
    painter.end();
    return true;
  }
  // PDF: a page of the picture's size at 96 dpi (72 points to 96 pixels), without margins.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setDocName(ChartTitle(picture.chart));
  printer.setPageLayout(QPageLayout(QPageSize(QSizeF(size) * 0.75, QPageSize::Point),
                                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&printer)) {
    error = QStringLiteral("无法写入文件 %1").arg(path);
    return false;
  }
  painter.setWindow(logical.toRect());
  painter.setViewport(printer.pageLayout().paintRectPixels(printer.resolution()));
  PaintDiagram(painter, logical, picture);
  painter.end();
  return true;
}
