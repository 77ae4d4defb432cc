// The engine's one-entry memos: each remembers the last call of a pure search (the saturation
// temperature of a pressure, the volume of a state in subregion 3 or 4) with everything that call
// reported, so that the same question asked again at once (the form's three properties at one
// state, a solver's fixed pressure, s′ and h″ at one saturation pressure) is answered without
// searching again, with the very same bits. Each thread has its own, like CalcStatus. Internal to
// the engine, its tests and its benchmarks.
#pragma once

namespace engine_memo {

// Forget everything remembered, so that the next call searches from a cold start. The volume
// searches' reset also forgets the powers of χ remembered for recent volumes (engine/region3.cpp).
void ResetSaturation();
void ResetRegion3Search();
void ResetRegion4Search();
inline void ResetVolumeSearches() {
  ResetRegion3Search();
  ResetRegion4Search();
}
inline void ResetAll() {
  ResetSaturation();
  ResetVolumeSearches();
}

}  // namespace engine_memo
