// The diagrams' scene of a formulation, computed whole: every line of both charts, as the window
// computes it once and keeps it.
#include <iterator>

#include "bench/ops.h"
#include "calc/diagram.h"

namespace kelm_ops {
namespace {

void BuildScene(int formulation) {
  const calc::Scene scene = calc::BuildScene(calc::Formulation(formulation));
  Sink(double(scene.lines.size()));
}

constexpr Op kDiagramOps[] = {
    {"Diagram/scenes/IFC-67", BuildScene, int(calc::Formulation::IFC67)},
    {"Diagram/scenes/IF97", BuildScene, int(calc::Formulation::IF97)},
};
const Registrar kRegistrar(kDiagramOps, int(std::size(kDiagramOps)));

}  // namespace
}  // namespace kelm_ops
