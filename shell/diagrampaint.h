// One paint routine for the T–s and h–s diagrams: the window, SVG, PNG and PDF all draw through
// it, so every output shows the same picture. The scene comes from the calculation layer in
// physical units; here it is only mapped to a surface, clipped, labelled and coloured.
#pragma once

#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

#include "calc/diagram.h"

class QPainter;

// The colours of the picture, which the tests also look for in the exports.
namespace diagram_colors {
inline const QColor kSaturation{0, 0, 0};
inline const QColor kOther{120, 120, 120};  // the other formulation's saturation line, dashed
inline const QColor kIsobar{31, 95, 191};
inline const QColor kIsotherm{200, 70, 40};
inline const QColor kDryness{40, 140, 70};
inline const QColor kWetRegion{236, 242, 250};
inline const QColor kSolution{220, 0, 0};
inline const QColor kStart{0, 130, 200};
inline const QColor kAdded{230, 120, 0};
inline const QColor kExpansion{170, 0, 170};
}  // namespace diagram_colors

// Everything one picture shows.
struct DiagramPicture {
  const calc::Scene* scene = nullptr;
  const calc::Scene* other = nullptr;  // null: no second saturation line
  calc::Chart chart = calc::Chart::TS;
  calc::Bounds view;  // the part of the (s, y) plane shown
  std::vector<calc::Mark> marks;
  std::vector<calc::Segment> expansion;
};

// The picture's view and a surface rectangle: the plot area inside the margins for the axes, and
// the mapping between (s, y) and the surface's coordinates.
class CChartFrame {
 public:
  CChartFrame(const QRectF& target, const calc::Bounds& view);
  const QRectF& Target() const { return m_target; }
  const QRectF& Plot() const { return m_plot; }
  const calc::Bounds& View() const { return m_view; }
  QPointF Map(double s, double y) const;
  QPointF Map(calc::Chart chart, const calc::ChartPoint& pt) const {
    return Map(pt.s, calc::ChartY(chart, pt));
  }
  // The (s, y) of a surface point: x() is s, y() the ordinate.
  QPointF Unmap(const QPointF& pos) const;

 private:
  QRectF m_target, m_plot;
  calc::Bounds m_view;
};

// The axes, grid, lines and their labels: what stays while the marks change. Returns the boxes
// of the lines' labels, which the marks' labels keep clear of.
std::vector<QPolygonF> PaintBackground(QPainter& painter, const CChartFrame& frame,
                                       const DiagramPicture& picture);
// The marks and the expansion lines, over the background.
void PaintMarks(QPainter& painter, const CChartFrame& frame, const DiagramPicture& picture,
                const std::vector<QPolygonF>& labels = {});
// Both, into the target rectangle.
void PaintDiagram(QPainter& painter, const QRectF& target, const DiagramPicture& picture);

// Why a file name or size cannot be exported (an unknown suffix, a size outside 200×150 …
// 20000×20000), or empty.
QString ExportProblem(const QString& path, QSize size);

// The picture as a file, by its suffix: .png (size in pixels), .svg (size as its view box) or
// .pdf (a page of that size at 96 dpi). False with a message when the file cannot be written.
bool ExportDiagram(const DiagramPicture& picture, const QString& path, QSize size, QString& error);

// The title of the charts' tabs and pictures: "T–s 图", "h–s 图".
QString ChartTitle(calc::Chart chart);
