#include "shell/diagramwnd.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "shell/diagramview.h"

namespace {

std::optional<DiagramExportChoice> g_nextExportChoice;

calc::Formulation Other(calc::Formulation f) {
  return f == calc::Formulation::IF97 ? calc::Formulation::IFC67 : calc::Formulation::IF97;
}

// The pixel size of a PNG export; nothing when cancelled.
std::optional<QSize> AskPngSize(QWidget* parent, QSize initial) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("图像尺寸"));
  auto* width = new QSpinBox(&dialog);
  auto* height = new QSpinBox(&dialog);
  for (QSpinBox* box : {width, height}) {
    box->setRange(200, 20000);
    box->setSuffix(QStringLiteral(" 像素"));
  }
  width->setValue(initial.width());
  height->setValue(initial.height());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("宽度："), width);
  form->addRow(QStringLiteral("高度："), height);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return QSize(width->value(), height->value());
}

}  // namespace

CDiagramWnd::CDiagramWnd(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("IDD_DIAGRAM"));
  setWindowTitle(QStringLiteral("热力性质图"));

  auto* toolbar = new QToolBar(this);
  toolbar->addWidget(new QLabel(QStringLiteral("公式："), toolbar));
  m_pFormulation = new QComboBox(toolbar);
  m_pFormulation->setObjectName(QStringLiteral("IDC_DIAGRAM_FORMULATION"));
  for (const calc::Formulation f : {calc::Formulation::IFC67, calc::Formulation::IF97})
    m_pFormulation->addItem(QString::fromUtf8(calc::FormulationName(f)), int(f));
  toolbar->addWidget(m_pFormulation);
  m_pOther = new QCheckBox(QStringLiteral("另一公式的饱和线"), toolbar);
  m_pOther->setObjectName(QStringLiteral("IDC_DIAGRAM_OTHER"));
  toolbar->addWidget(m_pOther);
  toolbar->addSeparator();
  auto addAction = [&](const char* name, const QString& text, const QKeySequence& key,
                       void (CDiagramWnd::*slot)()) {
    QAction* action = toolbar->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
  };
  addAction("IDM_DIAGRAM_RESET", QStringLiteral("复位"), QKeySequence(Qt::Key_Home),
            &CDiagramWnd::ResetViews);
  addAction("IDM_DIAGRAM_EXPORT", QStringLiteral("导出…"), QKeySequence::Save,
            &CDiagramWnd::Export);
  addAction("IDM_DIAGRAM_CLEAR", QStringLiteral("清除标记点"), QKeySequence(),
            &CDiagramWnd::ClearPoints);

  m_pTabs = new QTabWidget(this);
  m_pTabs->setObjectName(QStringLiteral("IDC_DIAGRAM_TABS"));
  for (const calc::Chart chart : {calc::Chart::TS, calc::Chart::HS}) {
    auto* view = new CDiagramView(chart, m_pTabs);
    view->setObjectName(chart == calc::Chart::TS ? QStringLiteral("IDC_DIAGRAM_TS")
                                                 : QStringLiteral("IDC_DIAGRAM_HS"));
    m_pTabs->addTab(view, ChartTitle(chart));
    m_pView[int(chart)] = view;
    connect(view, &CDiagramView::Hovered, this, [this](const QString& text) {
      if (text.isEmpty())
        ShowStatus(m_summary, m_bSummaryError);
      else
        ShowStatus(text);
    });
  }

  m_pStatus = new QLabel(this);
  m_pStatus->setObjectName(QStringLiteral("IDC_DIAGRAM_STATUS"));
  m_pStatus->setWordWrap(true);
  m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(toolbar);
  layout->addWidget(m_pTabs, 1);
  layout->addWidget(m_pStatus);

  connect(m_pFormulation, &QComboBox::currentIndexChanged, this, [this] {
    UpdateScenes();
    Recalculate();
  });
  connect(m_pOther, &QCheckBox::toggled, this, &CDiagramWnd::UpdateScenes);
  UpdateScenes();
  resize(1000, 720);
}

calc::Formulation CDiagramWnd::Formulation() const {
  return calc::Formulation(m_pFormulation->currentData().toInt());
}

CDiagramView* CDiagramWnd::View(calc::Chart chart) const { return m_pView[int(chart)]; }

void CDiagramWnd::SetNextExportChoice(const DiagramExportChoice& choice) {
  g_nextExportChoice = choice;
}

void CDiagramWnd::UpdateScenes() {
  const calc::Formulation f = Formulation();
  const calc::Scene* other = m_pOther->isChecked() ? &calc::SceneOf(Other(f)) : nullptr;
  for (CDiagramView* view : m_pView) view->SetScene(&calc::SceneOf(f), other);
}

void CDiagramWnd::ShowRequest(const calc::Request& request) {
  m_request = request;
  Recalculate();
}

void CDiagramWnd::Recalculate() {
  if (!m_request) return;
  calc::Request request = *m_request;
  request.formulation = Formulation();
  m_marks = calc::MarksOf(request);
  ShowMarks();
}

void CDiagramWnd::ShowMarks() {
  std::vector<calc::Mark> marks = m_marks.points;
  marks.insert(marks.end(), m_added.begin(), m_added.end());
  marks.insert(marks.end(), m_lineMarks.begin(), m_lineMarks.end());
  std::vector<calc::Segment> segments = m_marks.expansion;
  segments.insert(segments.end(), m_line.begin(), m_line.end());
  for (CDiagramView* view : m_pView) view->SetMarks(marks, segments);
  const QString name = QString::fromUtf8(calc::FormulationName(Formulation()));
  if (!m_request) {
    m_summary.clear();
  } else if (!m_marks.failure.empty()) {
    m_summary = name + QStringLiteral("：") + QString::fromStdString(m_marks.failure);
  } else {
    QStringList parts;
    for (const calc::Mark& mark : m_marks.points)
      parts << QString::fromStdString(mark.label + "：" + calc::Describe(mark.point));
    m_summary = name + QStringLiteral("  ") + parts.join(QStringLiteral("\n"));
  }
  m_bSummaryError = !m_marks.failure.empty();
  ShowStatus(m_summary, m_bSummaryError);
}

void CDiagramWnd::AddPoints(const std::vector<calc::Solution>& points, const QString& label) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    QString text = label;
    if (points.size() > 1) text += QString::number(i + 1);
    m_added.push_back({calc::ChartPointOf(points[i]), text.toStdString(), calc::MarkKind::Added});
  }
  ShowMarks();
}

void CDiagramWnd::ResetViews() {
  for (CDiagramView* view : m_pView) view->ResetView();
}

void CDiagramWnd::SetProcessLine(const std::vector<calc::Point>& points, const QString& label) {
  m_lineMarks.clear();
  m_line.clear();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const calc::Point& pt = points[i];
    const calc::ChartPoint at{pt.p, pt.t, pt.h, pt.s, pt.x};
    const QString text = i == 0 ? label + QStringLiteral("进口") : label + QString::number(i);
    m_lineMarks.push_back({at, text.toStdString(), calc::MarkKind::Added});
    if (i > 0) m_line.push_back({m_lineMarks[i - 1].point, at});
  }
  ShowMarks();
}

void CDiagramWnd::ClearPoints() {
  m_added.clear();
  m_lineMarks.clear();
  m_line.clear();
  ShowMarks();
}

void CDiagramWnd::ShowStatus(const QString& text, bool error) {
  m_pStatus->setStyleSheet(error ? QStringLiteral("color: #c00000") : QString());
  m_pStatus->setText(text);
}

std::optional<DiagramExportChoice> CDiagramWnd::AskExport() {
  if (g_nextExportChoice) {
    const DiagramExportChoice choice = *g_nextExportChoice;
    g_nextExportChoice.reset();
    if (choice.path.isEmpty()) return std::nullopt;
    return choice;
  }
  const auto* view = static_cast<CDiagramView*>(m_pTabs->currentWidget());
  const QString png = QStringLiteral("PNG 图像 (*.png)");
  const QString svg = QStringLiteral("SVG 矢量图 (*.svg)");
  const QString pdf = QStringLiteral("PDF 文档 (*.pdf)");
  QString filter = png;
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("导出"),
      view->Chart() == calc::Chart::TS ? QStringLiteral("T-s.png") : QStringLiteral("h-s.png"),
      png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf, &filter);
  if (path.isEmpty()) return std::nullopt;
  if (QFileInfo(path).suffix().isEmpty())
    path += filter == svg   ? QStringLiteral(".svg")
            : filter == pdf ? QStringLiteral(".pdf")
                            : QStringLiteral(".png");
  DiagramExportChoice choice{path, view->size()};
  if (QFileInfo(path).suffix().toLower() == QLatin1String("png")) {
    const std::optional<QSize> size = AskPngSize(this, QSize(1600, 1000));
    if (!size) return std::nullopt;
    choice.size = *size;
  }
  return choice;
}

void CDiagramWnd::Export() {
  const std::optional<DiagramExportChoice> choice = AskExport();
  if (!choice) return;
  const auto* view = static_cast<CDiagramView*>(m_pTabs->currentWidget());
  QString error;
  if (ExportDiagram(view->Picture(), choice->path, choice->size, error))
    ShowStatus(QStringLiteral("已导出 %1").arg(QDir::toNativeSeparators(choice->path)));
  else
    ShowStatus(QStringLiteral("导出失败：") + error, true);
}
