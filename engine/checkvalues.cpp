#include "engine/checkvalues.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/constants.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/statepoint.h"

namespace {

struct Row {
  const char* function;
  double x, y;
  const char* published[3];  // PK_V (or β), PK_S, PK_H; null where none is printed
};

// The formulation's check values of subregions 1 to 4 (reduced, and after scaling), of the
// subregion 4 correction alone and of its volume search; the saturation line and the L-function;
// and steam-table values of the saturated and superheated states.
constexpr Row kRows[] = {
    {"SatPressure", 0.01, 0, {"0.000611244"}},
    {"SatPressure", 100, 0, {"0.10132526"}},
    {"SatPressure", 200, 0, {"1.554880"}},
    {"SatPressure", 300, 0, {"8.592692"}},
    {"SatPressure", 350, 0, {"16.535124"}},
    {"SatTemperature", 0.0007, 0, {"1.8913"}},
    {"SatTemperature", 0.1, 0, {"99.6316"}},
    {"SatTemperature", 1, 0, {"179.8844"}},
    {"SatTemperature", 22.11, 0, {"374.1125"}},
    {"SatTemperature", 0.001, 0, {"6.982800006866455"}},  // the start 6.9828 as a float holds it
    {"BoundaryL", 350, 0, {"16.535124"}},
    {"BoundaryL", 360, 0, {"17.667683"}},
    {"BoundaryL", 400, 0, {"24.237173"}},
    {"BoundaryL", 590, 0, {"100.000000"}},
    {"Region1Reduced", 0.01, 0.1, {"0.3155121773", "7.6553e-05", "0.00145937"}},
    {"Region1Reduced", 100, 0.101325, {"0.3292454768", "12.06406796", "5.976359004"}},
    {"Region1Reduced", 300, 20, {"0.4292131731", "29.62176908", "19.02817869"}},
    {"Region1Reduced", 350, 20, {"0.5256024408", "34.44039339", "23.49069582"}},
    {"Region1Reduced", 20, 100, {"0.3033564879", "2.484803262", "2.481334583"}},
    {"PointProp", 300, 20, {"0.001360606", "3.20885", "1334.26"}},
    {"Region2Reduced", 400, 10, {"8.3306497", "57.401666", "44.208618"}},
    {"PointProp", 200, 0.1, {"2.172328", "7.834945", "2875.357"}},
    {"PointProp", 400, 10, {"0.02640816", "6.218180", "3099.926"}},
    {"PointProp", 500, 20, {"0.01477146", "6.145600", "3241.100"}},
    {"PointProp", 800, 100, {"0.004341060", "6.039661", "3714.263"}},
    {"Region3Reduced", 380, 0.0025, {"1.0958948", "39.446456", "28.563980"}},
    {"Region3Reduced", 400, 0.005, {"1.1925830"}},
    {"PointProp", 380, 25, {"0.00224029", "4.175671", "1941.040"}},
    {"PointProp", 400, 30, {"0.00283060", "4.489629", "2161.771"}},
    {"PointProp", 450, 60, {"0.00208369", "4.424558", "2187.069"}},
    {"PointProp", 500, 100, {"0.00189336", "4.491331", "2316.137"}},
    {"Region4Correction", 350, 0.0017, {"-0.00052759121", "0.1532023628", "0.1500700464"}},
    {"Region4Correction", 360, 0.0018, {"-3.693242074e-05", "0.09932663796", "0.09798456967"}},
    {"Region4Correction", 365, 0.0014, {"0.0006281007712", "0.06351886302", "0.0632312304"}},
    {"Region4Correction", 374, 0.0025, {"5.710810524e-08", "-5.454117025e-05", "-5.448771436e-05"}},
    {"Region4Props", 360, 20, {"0.5763029968", "35.84936145", "24.85527752"}},
    {"Region4Props", 370, 30, {"0.5449637224", "35.6812973", "24.94244123"}},
    {"Region4Props", 355, 40, {"0.4779488801", "33.59327879", "23.11921959"}},
    {"Region4Props", 365, 100, {"0.4261920883", "32.41444333", "23.1809059"}},
    {"PointProp", 360, 20, {"0.0018268805", "3.88347", "1742.862"}},
    {"SatWaterProp", 0.01, 0, {"0.0010002", "0.0000", "0.000611"}},
    {"SatWaterProp", 100, 0, {"0.0010437", "1.3069", "419.06"}},
    {"SatSteamProp", 0.01, 0, {"206.16", "9.1575", "2501.6"}},
    {"PointProp", 100, -1, {"1.6730", "7.3554", "2676.0"}},  // on the line (y −1): steam
};

constexpr int kKinds[3] = {PK_V, PK_S, PK_H};

// The published values one row at a time, built once.
struct Table {
  Ifc67CheckValue values[3 * std::size(kRows)];
  std::size_t count = 0;
  Table() {
    for (const Row& r : kRows)
      for (int k = 0; k < 3; ++k)
        if (r.published[k]) values[count++] = {r.function, r.x, r.y, kKinds[k], r.published[k]};
  }
};

double Prop(double t, double p, int kind) {
  int state = 0;
  return PointProp(t, p, kind, state);
}

}  // namespace

std::span<const Ifc67CheckValue> Ifc67CheckValues() {
  static const Table table;
  return {table.values, table.count};
}

double Recompute(const Ifc67CheckValue& r) {
  const std::string f = r.function;
  const int kind = r.kind;
  const int volumeKind = kind == PK_V ? PK_P : kind;  // β at a given volume
  if (f == "SatPressure") return SatPressure(r.x);
  if (f == "SatTemperature") return SatTemperature(r.x);
  if (f == "BoundaryL") return BoundaryL(r.x) * IfcConstants.pc;
  if (f == "Region1Reduced") return Region1Reduced(r.x, r.y, kind);
  if (f == "Region2Reduced") return Region2Reduced(r.x, r.y, kind);
  if (f == "Region3Reduced") return Region3Reduced(r.x, r.y, volumeKind);
  if (f == "Region4Correction")
    return Region4Reduced(r.x, r.y, volumeKind) - Region3Reduced(r.x, r.y, volumeKind);
  if (f == "Region4Props") return Region4Props(r.x, r.y, kind);
  if (f == "SatWaterProp") return SatWaterProp(r.x, 1, kind);
  if (f == "SatSteamProp") return SatSteamProp(r.x, 1, kind);
  return Prop(r.x, r.y < 0 ? SatPressure(r.x) : r.y, kind);
}

bool MatchesPublished(double computed, const char* published) {
  const char* exp = std::strchr(published, 'e');
  const char* point = std::strchr(published, '.');
  const long decimals = point ? (exp ? exp : published + std::strlen(published)) - point - 1 : 0;
  const double unit = std::pow(10.0, (exp ? std::atoi(exp + 1) : 0) - double(decimals));
  return std::fabs(computed - std::atof(published)) <= unit / 2 + 1e-14;
}

std::string Describe(const Ifc67CheckValue& r) {
  const bool reduced = std::strstr(r.function, "Region") != nullptr;
  const char* names[2][4] = {{"", "v", "s", "h"}, {"", "χ", "σ", "ε"}};
  const bool volume = std::strstr(r.function, "Region3") || std::strstr(r.function, "Correction");
  char text[160];
  if (r.y < 0)
    std::snprintf(text, sizeof text, "%s(%g, ps) %s", r.function, r.x, names[0][r.kind]);
  else if (r.y == 0)
    std::snprintf(text, sizeof text, "%s(%g)", r.function, r.x);
  else
    std::snprintf(text, sizeof text, "%s(%g, %g) %s", r.function, r.x, r.y,
                  volume && r.kind == PK_V ? "β" : names[reduced][r.kind]);
  return text;
}
