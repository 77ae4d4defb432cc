// Reading a fuzzer's bytes as calculator inputs: small integers, and doubles that are either raw
// bit patterns, one of the values where the formulation changes its mind (range limits,
// tolerances, switches, the critical point), such a value nudged by a few ulps or by a small
// decimal offset, or a value spread over the physical range of the quantity.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

namespace fuzz {

enum class Quantity { T, P, S, H, V, X };

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Empty() const { return m_pos >= m_size; }

  // Exhausted input reads as zero bytes, so every prefix of an input is itself a valid input.
  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }

  std::uint64_t U64() { return (std::uint64_t(U32()) << 32) | U32(); }

  double Double(Quantity q) {
    const std::uint8_t how = Byte();
    if (how < 32) return RawDouble();
    if (how < 128) return Special(q);
    if (how < 176) return Ulps(Special(q));
    if (how < 224) return Offset(Special(q));
    return Spread(q);
  }

  // A single-precision argument: the double above rounded to float (overflowing to ±infinity
  // as IEEE conversion does), or a raw float bit pattern.
  float Float(Quantity q) {
    if (Byte() < 32) {
      const std::uint32_t bits = U32();
      float f;
      std::memcpy(&f, &bits, sizeof f);
      return f;
    }
    return NarrowToFloat(Double(q));
  }

  // A value moved by a few units in the last place, either way.
  double Ulps(double v) {
    const int steps = static_cast<std::int8_t>(Byte()) % 9;
    const double toward = steps < 0 ? -std::numeric_limits<double>::infinity()
                                    : std::numeric_limits<double>::infinity();
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) v = std::nextafter(v, toward);
    return v;
  }

  // A value moved by c·10^-e, c in −8…8 and e in 0…15: lands on either side of every tolerance.
  double Offset(double v) {
    const int c = static_cast<std::int8_t>(Byte()) % 9;
    const int e = Byte() % 16;
    return v + c * std::pow(10.0, -e);
  }

  // The double rounded to float by IEEE conversion. A finite double beyond the float range is
  // taken to infinity explicitly: the language leaves that conversion undefined.
  static float NarrowToFloat(double d) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(d) && std::fabs(d) > kMax) {
      // Values that round down to FLT_MAX still do; only those beyond half an ulp overflow.
      const double halfUlp = std::ldexp(1.0, 127 - 24);
      if (std::fabs(d) >= kMax + halfUlp)
        return d > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
      return d > 0 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
    }
    return static_cast<float>(d);
  }

 private:
  double RawDouble() {
    const std::uint64_t bits = U64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }

  double Special(Quantity q) {
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr double kAny[] = {
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        kInf,
        -kInf,
        0.0,
        -0.0,
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::max(),
        -std::numeric_limits<double>::max(),
        double(std::numeric_limits<float>::max()),
        double(std::numeric_limits<float>::denorm_min()),
        1e-300,
        1e300,
        -1.0,
        1.0,
        10.0,
        100.0,
        -10.0,
    };
    // Temperatures, °C: range limits, the 350 °C switch and its tolerance, the critical
    // temperature and its tolerances, 590 °C, the solvers' 0.1 °C bracket end, and the
    // temperatures of the reduced region limits θ1, θ2, θ3.
    static constexpr double kT[] = {
        0.01,    800.0,     374.15,   374.1501, 374.1499,   374.15001,   374.14999, 350.0,
        350.000001, 349.999999, 350.00001, 590.0, 0.1,      100.0,       99.99993,  0.00001,
        360.0,   370.0,     0.4219990731 * 647.3 - 273.15, 0.9626911787 * 647.3 - 273.15,
        1.333462073 * 647.3 - 273.15, 373.0, 374.0, 374.1, 200.0, 20.0, 0.0099,
    };
    // Pressures, MPa: range limits of both ranges, the critical pressure and its tolerances,
    // the 0.0001 MPa isentropic minimum, the wet-test switch of the (p, h) solver, the pressures
    // where the saturation line crosses 350 °C, the slope probes and volume-start switches.
    static constexpr double kP[] = {
        0.0007, 100.0,    22.12,  22.12001, 22.11999, 22.120001, 22.119999, 22.119995,
        0.001,  0.0001,   0.1,    0.101325, 16.5,     16.535124, 16.6,      40.0,
        36.0,   0.0250239, 0.02,  0.03,     8.0,      5.0,       1.0,       0.00069,
        25.0,   30.0,     60.0,   0.01,     0.0055,   15.0,      20.0,      3.0,
    };
    // Entropies, kJ/(kg·K): the critical value and typical water, wet and steam values.
    static constexpr double kS[] = {4.4429, 0.0, 1.0, 1.3069, 4.0, 5.0, 6.0, 7.3549, 9.0, 10.0,
                                    11.0,   -0.1, 0.00015, 3.0, 8.5};
    // Enthalpies, kJ/kg: the critical value, the solver's fixed lower limit of 1, and typical
    // water, wet and steam values.
    static constexpr double kH[] = {2107.4, 1.0, 0.5, 0.0, 417.5, 1000.0, 1600.0, 2000.0,
                                    2675.4, 2800.0, 3500.0, 4200.0, 4500.0, 1.0001, 3000.0};
    // Specific volumes, m³/kg: the critical volume and the volume searches' start points.
    static constexpr double kV[] = {0.00317, 0.001, 0.0015, 0.002, 0.004, 0.006, 0.008,
                                    0.00001, 1.0,   100.0,  0.1};
    // Dryness fractions and the dryness function's tolerances.
    static constexpr double kX[] = {0.0, 1.0, 0.5, -0.00001, 1.000001, -0.00002, 1.000002, 0.25};

    const std::uint8_t pick = Byte();
    if (pick < 64) return kAny[pick % std::size(kAny)];
    switch (q) {
      case Quantity::T:
        return kT[pick % std::size(kT)];
      case Quantity::P:
        return kP[pick % std::size(kP)];
      case Quantity::S:
        return kS[pick % std::size(kS)];
      case Quantity::H:
        return kH[pick % std::size(kH)];
      case Quantity::V:
        return kV[pick % std::size(kV)];
      case Quantity::X:
        return kX[pick % std::size(kX)];
    }
    return 0.0;
  }

  // Spread over the physical range (pressures and volumes on a log scale), a little beyond.
  double Spread(Quantity q) {
    const double u = U32() / 4294967295.0;
    switch (q) {
      case Quantity::T:
        return -10.0 + u * 830.0;
      case Quantity::P:
        return std::pow(10.0, -4.5 + u * 6.6);
      case Quantity::S:
        return -0.5 + u * 12.0;
      case Quantity::H:
        return -50.0 + u * 4700.0;
      case Quantity::V:
        return std::pow(10.0, -4.0 + u * 6.0);
      case Quantity::X:
        return -0.1 + u * 1.2;
    }
    return u;
  }

  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

}  // namespace fuzz
