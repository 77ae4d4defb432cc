// kelm._core: the calculation layer's state points over whole arrays, for the Python package.
// The package (kelm/_api.py) hands every function its arguments already broadcast: float64, one
// dimension, n values or one value for all. Results come back as a dict of 1-D arrays of n, in
// the order the package documents; a failed element has NaN values and its status.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "calc/points.h"

namespace py = pybind11;

namespace {

using calc::Formulation;
using calc::Point;
using calc::Status;

constexpr const char* kStatusNames[] = {"OK",
                                        "TEMPERATURE_LOW",
                                        "TEMPERATURE_HIGH",
                                        "PRESSURE_LOW",
                                        "PRESSURE_HIGH",
                                        "ENTHALPY_LOW",
                                        "ENTHALPY_HIGH",
                                        "ENTROPY_LOW",
                                        "ENTROPY_HIGH",
                                        "NOT_FINITE",
                                        "PRESSURE_ORDER",
                                        "NO_SOLUTION",
                                        "NEAR_CRITICAL",
                                        "NO_CONVERGENCE",
                                        "DRYNESS_RANGE",
                                        "EFFICIENCY_RANGE"};
static_assert(std::size(kStatusNames) == calc::kStatusCount);
constexpr const char* kPhaseNames[] = {"UNKNOWN", "WATER", "WET", "STEAM", "SUPERCRITICAL"};
static_assert(std::size(kPhaseNames) == int(calc::Phase::Supercritical) + 1);

// Points a thread takes at a time: small enough that a run of costly points near the critical
// point does not leave the other threads idle, large enough that taking one costs nothing.
constexpr std::size_t kBlock = 2048;
constexpr int kMaxThreads = 1024;

// Runs work(i) for every i in [0, n) on up to `threads` threads, the calling one among them,
// without the GIL. Each element is computed alone (the IFC-67 engine's memos change no bit), so
// the blocks' order and their threads change no result.
template <class Work>
void ForEach(std::size_t n, int threads, const Work& work) {
  if (threads < 1 || threads > kMaxThreads) throw py::value_error("threads must be 1 to 1024");
  const std::size_t blocks = (n + kBlock - 1) / kBlock;
  const std::size_t count = std::min<std::size_t>(threads, blocks);
  std::vector<std::thread> pool;
  pool.reserve(count);
  py::gil_scoped_release release;
  std::atomic<std::size_t> next{0};
  const auto run = [&] {
    for (std::size_t b; (b = next.fetch_add(1, std::memory_order_relaxed)) < blocks;) {
      for (std::size_t i = b * kBlock, end = std::min(n, i + kBlock); i < end; ++i) work(i);
    }
  };
  try {
    for (std::size_t k = 1; k < count; ++k) pool.emplace_back(run);
  } catch (const std::exception&) {
    // No more threads to be had: those that started, and this one, take the remaining blocks.
  }
  run();
  for (std::thread& thread : pool) thread.join();
}

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// One argument: n values, or one value for all.
struct Arg {
  const double* data;
  std::size_t step;
  double operator[](std::size_t i) const { return data[i * step]; }
};

Arg Take(const Array& a, std::size_t n, const char* name) {
  if (a.ndim() != 1 || (a.size() != 1 && std::size_t(a.size()) != n)) {
    throw py::value_error(std::string(name) + " must hold 1 or " + std::to_string(n) +
                          " values in one dimension");
  }
  return {a.data(), a.size() == 1 ? 0u : 1u};
}

// The result: named arrays of n elements, in the order they are added.
class Columns {
 public:
  explicit Columns(std::size_t n) : n_(n) {}
  template <class T>
  T* Add(const std::string& name) {
    py::array_t<T> array(static_cast<py::ssize_t>(n_));
    T* data = array.mutable_data();
    dict_[py::str(name)] = std::move(array);
    return data;
  }
  py::dict Take() { return std::move(dict_); }

 private:
  std::size_t n_;
  py::dict dict_;
};

struct Field {
  const char* name;
  double Point::*member;
};
constexpr Field kState[] = {{"p", &Point::p},     {"t", &Point::t}, {"h", &Point::h},
                            {"s", &Point::s},     {"v", &Point::v}, {"x", &Point::x},
                            {"rho", &Point::rho}, {"u", &Point::u}, {"cp", &Point::cp},
                            {"cv", &Point::cv},   {"w", &Point::w}, {"kappa", &Point::kappa}};
constexpr Field kExtras[] = {
    {"tsat", &Point::tsat}, {"psat", &Point::psat}, {"superheat", &Point::superheat}};
constexpr Field kSaturated[] = {{"h", &Point::h},     {"s", &Point::s}, {"v", &Point::v},
                                {"rho", &Point::rho}, {"u", &Point::u}, {"cp", &Point::cp},
                                {"cv", &Point::cv},   {"w", &Point::w}, {"kappa", &Point::kappa}};
constexpr Field kInlet[] = {{"h", &Point::h}, {"s", &Point::s}};
constexpr Field kIsentropicEnd[] = {
    {"t", &Point::t}, {"h", &Point::h}, {"v", &Point::v}, {"x", &Point::x}};

// Where the quantities of one state go: columns named field + suffix ("h", "h2", "h_vap").
class PointColumns {
 public:
  void Add(Columns& out, std::span<const Field> fields, const std::string& suffix) {
    for (const Field& f : fields) columns_.emplace_back(out.Add<double>(f.name + suffix), f.member);
  }
  void AddPhase(Columns& out, const std::string& suffix) {
    phase_ = out.Add<std::int8_t>("phase" + suffix);
  }
  void Write(std::size_t i, const Point& pt) const {
    for (const auto& [data, member] : columns_) data[i] = pt.*member;
    if (phase_ != nullptr) phase_[i] = static_cast<std::int8_t>(pt.phase);
  }

 private:
  std::vector<std::pair<double*, double Point::*>> columns_;
  std::int8_t* phase_ = nullptr;
};

PointColumns StateColumns(Columns& out, const std::string& suffix, bool extras) {
  PointColumns columns;
  columns.Add(out, kState, suffix);
  if (extras) columns.Add(out, kExtras, suffix);
  columns.AddPhase(out, suffix);
  return columns;
}

// Why each element failed, and the bound it crossed.
struct Outcome {
  explicit Outcome(Columns& out)
      : status(out.Add<std::uint8_t>("status")), limit(out.Add<double>("limit")) {}
  void Write(std::size_t i, Status s, double bound) const {
    status[i] = static_cast<std::uint8_t>(s);
    limit[i] = bound;
  }
  std::uint8_t* status;
  double* limit;
};

calc::Detail DetailOf(bool extras) { return extras ? calc::Detail::Full : calc::Detail::State; }

// One state per element.
template <class Compute>
py::dict StateTable(std::size_t n, bool extras, int threads, const Compute& compute) {
  Columns out(n);
  const PointColumns state = StateColumns(out, "", extras);
  const Outcome outcome(out);
  ForEach(n, threads, [&](std::size_t i) {
    const Point pt = compute(i);
    state.Write(i, pt);
    outcome.Write(i, pt.status, pt.limit);
  });
  return out.Take();
}

// Every state along an isotherm: root 1 in the plain columns, root k in columns ending in k, as
// many as the solver can give. No state at all is NoSolution.
template <class Compute>
py::dict RootsTable(int capacity, std::size_t n, bool extras, int threads, const Compute& compute) {
  Columns out(n);
  std::vector<PointColumns> roots;
  for (int k = 1; k <= capacity; ++k)
    roots.push_back(StateColumns(out, k == 1 ? "" : std::to_string(k), extras));
  std::int8_t* count = out.Add<std::int8_t>("count");
  const Outcome outcome(out);
  ForEach(n, threads, [&](std::size_t i) {
    const calc::Points r = compute(i);
    for (std::size_t k = 0; k < roots.size(); ++k) roots[k].Write(i, r.root[k]);
    count[i] = static_cast<std::int8_t>(r.count);
    const bool none = r.status == Status::Ok && r.count == 0;
    outcome.Write(i, none ? Status::NoSolution : r.status, r.limit);
  });
  return out.Take();
}

template <class Compute>
py::dict SaturationTable(std::size_t n, int threads, const Compute& compute) {
  Columns out(n);
  double* p = out.Add<double>("p");
  double* t = out.Add<double>("t");
  PointColumns liquid, vapour;
  liquid.Add(out, kSaturated, "_liq");
  vapour.Add(out, kSaturated, "_vap");
  const Outcome outcome(out);
  ForEach(n, threads, [&](std::size_t i) {
    const calc::SaturationPair pair = compute(i);
    p[i] = pair.liquid.p;
    t[i] = pair.liquid.t;
    liquid.Write(i, pair.liquid);
    vapour.Write(i, pair.vapour);
    outcome.Write(i, pair.status, pair.limit);
  });
  return out.Take();
}

// The actual end in the plain columns, then the inlet, the isentropic end and the drops; all NaN
// when the expansion fails, though its inlet may exist.
py::dict ExpansionTable(Formulation f, std::size_t n, bool extras, int threads, Arg p1, Arg t1,
                        Arg p2, Arg eta) {
  Columns out(n);
  const PointColumns end = StateColumns(out, "", extras);
  PointColumns inlet, isentropic;
  inlet.Add(out, kInlet, "1");
  isentropic.Add(out, kIsentropicEnd, "2s");
  double* dhs = out.Add<double>("dhs");
  double* dh = out.Add<double>("dh");
  const Outcome outcome(out);
  const calc::Detail detail = DetailOf(extras);
  ForEach(n, threads, [&](std::size_t i) {
    calc::Expansion e = calc::Expand(f, p1[i], t1[i], p2[i], eta[i], detail);
    if (e.status != Status::Ok) {
      const Status status = e.status;
      const double limit = e.limit;
      e = calc::Expansion{};
      e.status = status;
      e.limit = limit;
    }
    end.Write(i, e.end);
    inlet.Write(i, e.inlet);
    isentropic.Write(i, e.isentropicEnd);
    dhs[i] = e.isentropicDrop;
    dh[i] = e.actualDrop;
    outcome.Write(i, e.status, e.limit);
  });
  return out.Take();
}

using StateFn = Point (*)(Formulation, double, double, calc::Detail);
using RootsFn = calc::Points (*)(Formulation, double, double, calc::Detail);
using SaturationFn = calc::SaturationPair (*)(Formulation, double);

}  // namespace

PYBIND11_MODULE(_core, m) {
  m.doc() = "State points of IFC-67 and IAPWS-IF97 over arrays; use the kelm package.";
  m.attr("__version__") = KELM_RELEASE;
  py::enum_<Formulation>(m, "Formulation")
      .value("IFC67", Formulation::IFC67)
      .value("IF97", Formulation::IF97);
  py::list statuses, phases;
  for (const char* name : kStatusNames) statuses.append(name);
  for (const char* name : kPhaseNames) phases.append(name);
  m.attr("STATUS_NAMES") = statuses;
  m.attr("PHASE_NAMES") = phases;

  m.def(
      "explain",
      [](int code, bool english) {
        if (code < 0 || code >= calc::kStatusCount)
          throw py::value_error("no status " + std::to_string(code));
        return std::string(calc::Explain(Status(code), english));
      },
      py::arg("code"), py::arg("english") = false);

  const auto stateOf = [&m](const char* name, StateFn fn) {
    m.def(name, [fn](Formulation f, const Array& a, const Array& b, std::size_t n, int threads,
                     bool extras) {
      const Arg x = Take(a, n, "argument 1"), y = Take(b, n, "argument 2");
      const calc::Detail detail = DetailOf(extras);
      return StateTable(n, extras, threads,
                        [&](std::size_t i) { return fn(f, x[i], y[i], detail); });
    });
  };
  stateOf("pt", calc::StateFromPT);
  stateOf("ph", calc::StateFromPH);
  stateOf("ps", calc::StateFromPS);

  // IFC-67's (t, h) solver gives up to two states, its (t, s) solver one; IF97 up to four.
  const auto rootsOf = [&m](const char* name, RootsFn fn, int ifc67Capacity) {
    m.def(name, [fn, ifc67Capacity](Formulation f, const Array& a, const Array& b, std::size_t n,
                                    int threads, bool extras) {
      const Arg x = Take(a, n, "argument 1"), y = Take(b, n, "argument 2");
      const calc::Detail detail = DetailOf(extras);
      return RootsTable(f == Formulation::IFC67 ? ifc67Capacity : 4, n, extras, threads,
                        [&](std::size_t i) { return fn(f, x[i], y[i], detail); });
    });
  };
  rootsOf("th", calc::StatesFromTH, 2);
  rootsOf("ts", calc::StatesFromTS, 1);

  const auto saturationOf = [&m](const char* name, SaturationFn fn) {
    m.def(name, [fn](Formulation f, const Array& a, std::size_t n, int threads) {
      const Arg x = Take(a, n, "argument 1");
      return SaturationTable(n, threads, [&](std::size_t i) { return fn(f, x[i]); });
    });
  };
  saturationOf("sat_p", calc::SaturationByP);
  saturationOf("sat_t", calc::SaturationByT);

  m.def("isentropic_end", [](Formulation f, const Array& a, const Array& b, const Array& c,
                             std::size_t n, int threads, bool extras) {
    const Arg p1 = Take(a, n, "argument 1"), t1 = Take(b, n, "argument 2"),
              p2 = Take(c, n, "argument 3");
    const calc::Detail detail = DetailOf(extras);
    return StateTable(n, extras, threads, [&](std::size_t i) {
      return calc::IsentropicEnd(f, p1[i], t1[i], p2[i], detail);
    });
  });
  m.def("expand", [](Formulation f, const Array& a, const Array& b, const Array& c, const Array& d,
                     std::size_t n, int threads, bool extras) {
    return ExpansionTable(f, n, extras, threads, Take(a, n, "argument 1"), Take(b, n, "argument 2"),
                          Take(c, n, "argument 3"), Take(d, n, "argument 4"));
  });
}
