// Sums Σ nᵢ·x^Iᵢ·y^Jᵢ over a term table, the shape of every basic and backward equation of the
// formulation. The exponent ranges come from the table itself, so no count is written twice.
#pragma once

#include <cstddef>

namespace if97::detail {

// One term: exponents I (of x) and J (of y), coefficient n. Tables with quarter exponents hold 4·I.
struct Term {
  int I, J;
  double n;
};

template <std::size_t N>
constexpr int LowestI(const Term (&terms)[N]) {
  int e = 0;
  for (const Term& t : terms) e = t.I < e ? t.I : e;
  return e;
}
template <std::size_t N>
constexpr int HighestI(const Term (&terms)[N]) {
  int e = 0;
  for (const Term& t : terms) e = t.I > e ? t.I : e;
  return e;
}
template <std::size_t N>
constexpr int LowestJ(const Term (&terms)[N]) {
  int e = 0;
  for (const Term& t : terms) e = t.J < e ? t.J : e;
  return e;
}
template <std::size_t N>
constexpr int HighestJ(const Term (&terms)[N]) {
  int e = 0;
  for (const Term& t : terms) e = t.J > e ? t.J : e;
  return e;
}

// x^e for lo ≤ e ≤ hi (lo ≤ 0 ≤ hi), each by one product from its neighbour nearer x⁰ = 1:
// an error of at most |e|/2 ulp, far below the published digits.
template <int lo, int hi>
class Powers {
 public:
  explicit Powers(double x) {
    at_[-lo] = 1.0;
    for (int e = 1; e <= hi; ++e) at_[e - lo] = at_[e - 1 - lo] * x;
    if constexpr (lo < 0) {
      const double inv = 1.0 / x;
      for (int e = -1; e >= lo; --e) at_[e - lo] = at_[e + 1 - lo] * inv;
    }
  }
  double operator[](int e) const { return at_[e - lo]; }

 private:
  double at_[hi - lo + 1];
};

// The powers of x and of y that a table's terms use.
template <const auto& table>
using PowersI = Powers<LowestI(table), HighestI(table)>;
template <const auto& table>
using PowersJ = Powers<LowestJ(table), HighestJ(table)>;

// Σ n·x^I·y^J.
template <std::size_t N, class PX, class PY>
double Sum(const Term (&terms)[N], const PX& x, const PY& y) {
  double s = 0.0;
  for (const Term& t : terms) s += t.n * x[t.I] * y[t.J];
  return s;
}

// The sum and the sums that give its first and second derivatives: with tᵢ = nᵢ·x^Iᵢ·y^Jᵢ,
// ∂/∂x = sI/x, ∂²/∂x² = sII/x², ∂/∂y = sJ/y, ∂²/∂y² = sJJ/y², ∂²/∂x∂y = sIJ/(x·y).
struct DerivativeSums {
  double s, sI, sII, sJ, sJJ, sIJ;
};

// A term with its coefficient times each exponent factor, worked out by the compiler from the
// table, so that a term costs one product of powers and six multiply-adds.
struct WeightedTerm {
  int I, J;
  double n, nI, nII, nJ, nJJ, nIJ;
};
template <std::size_t N>
struct WeightedTable {
  WeightedTerm term[N];
};
template <std::size_t N>
constexpr WeightedTable<N> Weighted(const Term (&terms)[N]) {
  WeightedTable<N> w{};
  for (std::size_t i = 0; i < N; ++i) {
    const double n = terms[i].n, I = terms[i].I, J = terms[i].J;
    w.term[i] = {terms[i].I, terms[i].J,      n,        n * I, n * I * (I - 1),
                 n * J,      n * J * (J - 1), n * I * J};
  }
  return w;
}

template <std::size_t N, class PX, class PY>
DerivativeSums SumWithDerivatives(const WeightedTable<N>& table, const PX& x, const PY& y) {
  DerivativeSums d{0, 0, 0, 0, 0, 0};
  for (const WeightedTerm& t : table.term) {
    const double xy = x[t.I] * y[t.J];
    d.s += t.n * xy;
    d.sI += t.nI * xy;
    d.sII += t.nII * xy;
    d.sJ += t.nJ * xy;
    d.sJJ += t.nJJ * xy;
    d.sIJ += t.nIJ * xy;
  }
  return d;
}

// The y sums alone, for a table in y only (the ideal-gas parts, I unused).
struct YSums {
  double s, sJ, sJJ;
};
template <std::size_t N, class PY>
YSums SumInY(const WeightedTable<N>& table, const PY& y) {
  YSums d{0, 0, 0};
  for (const WeightedTerm& t : table.term) {
    d.s += t.n * y[t.J];
    d.sJ += t.nJ * y[t.J];
    d.sJJ += t.nJJ * y[t.J];
  }
  return d;
}

}  // namespace if97::detail
