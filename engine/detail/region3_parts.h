// The subregion 3 reduced pressure split for the volume searches of subregions 3 and 4: the
// terms that depend on temperature alone are worked out once per isotherm, and each power of χ
// once per volume. Every value is formed exactly as Region3Reduced forms it, so the pressure is
// the same to the last bit. Internal to engine/region3.cpp and engine/region4.cpp.
#pragma once

// Temperature-only terms of β at one isotherm.
struct Region3Isotherm {
  double theta;   // θ
  double tau;     // τ = θ − 1
  double tau2;    // τ²
  double tau3;    // τ³
  double c41Tau;  // 5·C41·τ·θ^(−23), the factor of χ^(−6)
  double S6;      // Σ(j = 0…4) C6j·θ^(−(j+2))
};
Region3Isotherm Region3IsothermAt(double t);

// χ = v/vc and its powers χ^(−k), k = 2…11 (chiM[0] and chiM[1] unused), and χ⁵.
struct Region3Volume {
  double chi;
  double chiM[12];
  double chi5;
};
Region3Volume Region3VolumeAt(double v);
// The same, remembered for recent volumes (valid until the next call); and χ^(−1) of v.
const Region3Volume& Region3VolumeCached(double v);
double Region3ChiM1Cached(double v);

// β of subregion 3, equal to Region3Reduced(t, v, PK_P).
double Region3Pressure(const Region3Isotherm& iso, const Region3Volume& vol);
