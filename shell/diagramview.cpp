#include "shell/diagramview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// A pointer this close to a point (pixels) shows its values; a drag this long zooms.
constexpr double kHoverRadius = 10;
constexpr double kMinDrag = 5;
// The closest zoom: 0.01 kJ/(kg·K) across, and 0.5 ℃ or 2 kJ/kg high.
constexpr double kMinSSpan = 0.01;

double MinYSpan(calc::Chart chart) { return chart == calc::Chart::TS ? 0.5 : 2; }

}  // namespace

CDiagramView::CDiagramView(calc::Chart chart, QWidget* parent) : QWidget(parent) {
  m_picture.chart = chart;
  setMouseTracking(true);
  setMinimumSize(400, 300);
  setFocusPolicy(Qt::StrongFocus);
}

void CDiagramView::SetScene(const calc::Scene* scene, const calc::Scene* other) {
  if (scene == m_picture.scene && other == m_picture.other) return;
  m_picture.scene = scene;
  m_picture.other = other;
  m_bBackgroundValid = false;
  m_hover.reset();
  ResetView();
}

void CDiagramView::SetMarks(const std::vector<calc::Mark>& marks,
                            const std::vector<calc::Segment>& expansion) {
  m_picture.marks = marks;
  m_picture.expansion = expansion;
  if (!m_bZoomed) SetView(DefaultView());
  update();
}

CChartFrame CDiagramView::Frame() const { return CChartFrame(QRectF(rect()), m_picture.view); }

calc::Bounds CDiagramView::DefaultView() const {
  if (m_picture.scene == nullptr) return {};
  return calc::ViewOf(*m_picture.scene, m_picture.chart, m_picture.marks);
}

void CDiagramView::SetView(const calc::Bounds& view) {
  const calc::Bounds& old = m_picture.view;
  if (view.sMin == old.sMin && view.sMax == old.sMax && view.yMin == old.yMin &&
      view.yMax == old.yMax)
    return;
  m_picture.view = view;
  m_bBackgroundValid = false;
  update();
}

void CDiagramView::ResetView() {
  m_bZoomed = false;
  SetView(DefaultView());
}

void CDiagramView::ZoomAt(const QPointF& pos, double factor) {
  if (m_picture.scene == nullptr || !(factor > 0)) return;
  const CChartFrame frame = Frame();
  const QPointF centre = frame.Unmap(pos);
  const calc::Bounds& v = m_picture.view;
  // Never further out than every line of the scene, never closer than the least span.
  const calc::Bounds& all = m_picture.scene->extent[int(m_picture.chart)];
  const double sSpan = std::clamp((v.sMax - v.sMin) / factor, kMinSSpan, all.sMax - all.sMin);
  const double ySpan =
      std::clamp((v.yMax - v.yMin) / factor, MinYSpan(m_picture.chart), all.yMax - all.yMin);
  const double fx = (centre.x() - v.sMin) / (v.sMax - v.sMin);
  const double fy = (centre.y() - v.yMin) / (v.yMax - v.yMin);
  // Kept inside the extent where the span allows.
  auto inside = [](double lo, double span, double min, double max) {
    return std::clamp(lo, min, std::max(min, max - span));
  };
  const double sMin = inside(centre.x() - fx * sSpan, sSpan, all.sMin, all.sMax);
  const double yMin = inside(centre.y() - fy * ySpan, ySpan, all.yMin, all.yMax);
  m_bZoomed = true;
  SetView({sMin, sMin + sSpan, yMin, yMin + ySpan});
}

void CDiagramView::ZoomTo(const QRectF& pixels) {
  const QRectF r = pixels.normalized().intersected(Frame().Plot());
  if (m_picture.scene == nullptr || r.width() < kMinDrag || r.height() < kMinDrag) return;
  const CChartFrame frame = Frame();
  const QPointF a = frame.Unmap(r.bottomLeft()), b = frame.Unmap(r.topRight());
  if (b.x() - a.x() < kMinSSpan || b.y() - a.y() < MinYSpan(m_picture.chart)) return;
  m_bZoomed = true;
  SetView({a.x(), b.x(), a.y(), b.y()});
}

void CDiagramView::paintEvent(QPaintEvent*) {
  const CChartFrame frame = Frame();
  const qreal ratio = devicePixelRatioF();
  if (!m_bBackgroundValid || m_background.size() != size() * ratio) {
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    QPainter cache(&m_background);
    m_labels = PaintBackground(cache, frame, m_picture);
    m_bBackgroundValid = true;
    ++m_nBackgroundRenders;
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_background);
  PaintMarks(painter, frame, m_picture, m_labels);
  painter.setRenderHint(QPainter::Antialiasing);
  if (m_hover) {
    const QPointF at = frame.Map(m_picture.chart, *m_hover);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 6, 6);
  }
  if (m_bandStart) {
    painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
    painter.setBrush(QColor(0, 90, 200, 30));
    painter.drawRect(QRectF(*m_bandStart, m_bandEnd).normalized());
  }
}

void CDiagramView::UpdateHover(const QPointF& pos) {
  std::optional<calc::ChartPoint> nearest;
  QString what;
  if (m_picture.scene != nullptr) {
    const CChartFrame frame = Frame();
    const calc::Chart chart = m_picture.chart;
    double best = kHoverRadius * kHoverRadius;
    auto consider = [&](const calc::ChartPoint& pt, const QString& name) {
      const QPointF at = frame.Map(chart, pt);
      const double dx = at.x() - pos.x(), dy = at.y() - pos.y(), d = dx * dx + dy * dy;
      if (d <= best && frame.Plot().contains(at)) {
        best = d;
        nearest = pt;
        what = name;
      }
    };
    // The marks first, then the critical point, then the lines' states: within reach, the point
    // the user marked wins over the lines drawn through it.
    for (const calc::Mark& mark : m_picture.marks)
      consider(mark.point, QString::fromStdString(mark.label));
    if (!nearest) consider(m_picture.scene->criticalPoint, QStringLiteral("临界点"));
    if (!nearest) {
      for (const calc::Line& line : m_picture.scene->lines) {
        if (!calc::OnChart(line.kind, chart)) continue;
        const QString name = line.kind == calc::LineKind::Saturation
                                 ? QStringLiteral("饱和线")
                                 : QString::fromStdString(calc::LineLabel(line));
        for (const calc::ChartPoint& pt : line.points) consider(pt, name);
      }
    }
  }
  const bool changed = nearest.has_value() != m_hover.has_value() ||
                       (nearest && (nearest->s != m_hover->s || nearest->t != m_hover->t ||
                                    nearest->h != m_hover->h));
  m_hover = nearest;
  if (!changed) return;
  update();
  emit Hovered(nearest
                   ? what + QStringLiteral("：") + QString::fromStdString(calc::Describe(*nearest))
                   : QString());
}

void CDiagramView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_bandStart = event->position();
    m_bandEnd = event->position();
  }
  QWidget::mousePressEvent(event);
}

void CDiagramView::mouseMoveEvent(QMouseEvent* event) {
  if (m_bandStart) {
    m_bandEnd = event->position();
    update();
  } else {
    UpdateHover(event->position());
  }
}

void CDiagramView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_bandStart) {
    const QRectF band = QRectF(*m_bandStart, event->position()).normalized();
    m_bandStart.reset();
    update();
    ZoomTo(band);
  }
}

void CDiagramView::mouseDoubleClickEvent(QMouseEvent*) { ResetView(); }

void CDiagramView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches != 0) ZoomAt(event->position(), std::pow(1.25, notches));
  event->accept();
}

void CDiagramView::leaveEvent(QEvent* event) {
  if (m_hover) {
    m_hover.reset();
    update();
    emit Hovered(QString());
  }
  QWidget::leaveEvent(event);
}
