// The diagram on screen: one chart of a scene with the marks, hover read-out, rubber-band and
// wheel zoom. The lines are drawn once into a cached image per scene, view and size; a change of
// the marks or of the hovered point repaints only what lies over that image.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>

#include "shell/diagrampaint.h"

class CDiagramView : public QWidget {
  Q_OBJECT

 public:
  CDiagramView(calc::Chart chart, QWidget* parent = nullptr);

  calc::Chart Chart() const { return m_picture.chart; }
  // The scene to draw and, or null, the other formulation's scene whose dome is drawn dashed.
  void SetScene(const calc::Scene* scene, const calc::Scene* other);
  void SetMarks(const std::vector<calc::Mark>& marks, const std::vector<calc::Segment>& expansion);

  // What an export of this view draws: the same scene, view and marks.
  const DiagramPicture& Picture() const { return m_picture; }
  // The (s, y) plane shown, and the mapping to this widget.
  const calc::Bounds& View() const { return m_picture.view; }
  CChartFrame Frame() const;

  // The scene's usual view, widened to hold every mark; zooming ends.
  void ResetView();
  // Zooms by `factor` (> 1: closer) keeping the point under `pos` in place.
  void ZoomAt(const QPointF& pos, double factor);
  // Shows the (s, y) rectangle spanned by two widget points.
  void ZoomTo(const QRectF& pixels);

  // How often the lines were drawn into the cached image (each costs the whole background).
  int BackgroundRenders() const { return m_nBackgroundRenders; }

 signals:
  // The description of the point nearest the mouse, or empty when none is near.
  void Hovered(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetView(const calc::Bounds& view);
  calc::Bounds DefaultView() const;
  void UpdateHover(const QPointF& pos);

  DiagramPicture m_picture;
  QPixmap m_background;
  std::vector<QPolygonF> m_labels;  // the lines' labels in the cached image
  bool m_bBackgroundValid = false;
  bool m_bZoomed = false;
  int m_nBackgroundRenders = 0;
  std::optional<QPointF> m_bandStart;
  QPointF m_bandEnd;
  std::optional<calc::ChartPoint> m_hover;
};
