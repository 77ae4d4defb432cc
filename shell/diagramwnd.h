// The diagram window 热力性质图: the T–s and h–s charts of the formulation chosen in it, with the
// form's last result, both roots of a (t, h) calculation, the isentropic item's expansion and
// the points other windows add. It follows the form and never changes it.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "calc/diagram.h"
#include "calc/points.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QTabWidget;
class CDiagramView;

// What an export asks: the file (its suffix picks PNG, SVG or PDF) and the size in pixels.
struct DiagramExportChoice {
  QString path;
  QSize size;
};

class CDiagramWnd : public QWidget {
  Q_OBJECT

 public:
  // A top-level window owned by `parent` (the form), so that the form's modal loop lets it work.
  explicit CDiagramWnd(QWidget* parent = nullptr);

  calc::Formulation Formulation() const;
  CDiagramView* View(calc::Chart chart) const;
  // The marks of the last request in the window's formulation, and the points added.
  const calc::Marks& RequestMarks() const { return m_marks; }
  const std::vector<calc::Mark>& AddedMarks() const { return m_added; }

  // The next export takes this answer instead of asking (tests); an empty path cancels it.
  static void SetNextExportChoice(const DiagramExportChoice& choice);

 public slots:
  // Marks the form's calculation, recalculated in the window's formulation.
  void ShowRequest(const calc::Request& request);
  // Adds kept states to both charts, each with the label (numbered when there are several).
  void AddPoints(const std::vector<calc::Solution>& points, const QString& label);
  // A process line through the given states (a turbine's expansion, section by section), its
  // points labelled; it replaces the previous one and stays until the added points are cleared.
  void SetProcessLine(const std::vector<calc::Point>& points, const QString& label);
  // Both charts back to their usual view, widened to hold every mark.
  void ResetViews();
  // Removes the added points; the form's result stays.
  void ClearPoints();
  // Asks for a file and writes the chart of the current tab to it.
  void Export();

 private:
  void Recalculate();
  void ShowMarks();
  void UpdateScenes();
  void ShowStatus(const QString& text, bool error = false);
  std::optional<DiagramExportChoice> AskExport();

  QComboBox* m_pFormulation = nullptr;
  QCheckBox* m_pOther = nullptr;
  QTabWidget* m_pTabs = nullptr;
  CDiagramView* m_pView[2] = {};
  QLabel* m_pStatus = nullptr;
  std::optional<calc::Request> m_request;
  calc::Marks m_marks;
  std::vector<calc::Mark> m_added;
  std::vector<calc::Mark> m_lineMarks;
  std::vector<calc::Segment> m_line;
  QString m_summary;  // what the status line shows while no point is hovered
  bool m_bSummaryError = false;
};
