// The form's items and input modes as one table, and the computation behind Calculate for each
// of them, free of any window: for an item, a mode and the parsed inputs, which engine calls run
// in which order, what each call reported, and the single-precision values the form stores.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/constants.h"

// The calculation items, in the order of IDC_ITEM.
enum class Item : int { SatWater, SatSteam, AnyState, Isentropic };

// The input modes of all items. Each item lists its own modes in this order.
enum class Mode : int {
  Pressure,             // SatWater, SatSteam: the saturation point by p
  Temperature,          // SatWater, SatSteam: by t
  PressureTemperature,  // AnyState: (p, t)
  PressureEntropy,      // AnyState: (p, s)
  PressureEnthalpy,     // AnyState: (p, h)
  TemperatureEntropy,   // AnyState: (t, s)
  TemperatureEnthalpy,  // AnyState: (t, h), up to two solutions
  EndPressure,          // Isentropic: from (p1, t1) down to p2
  EndTemperature,       // Isentropic: from (p1, t1) to t2
};

// The engine functions a computation calls; PointProp by its property kind.
enum class EngineCall : std::uint8_t {
  SatTByP,
  SatPByT,
  SatWaterHByP,
  SatWaterSByP,
  SatWaterVByP,
  SatWaterHByT,
  SatWaterSByT,
  SatWaterVByT,
  SatSteamHByP,
  SatSteamSByP,
  SatSteamVByP,
  SatSteamHByT,
  IsentropicEndH,
  PointPropH,
  PointPropS,
  PointPropV,
  SolveTFromPS,
  SolveTFromPH,
  SolvePFromTS,
  SolvePFromTH,
};

// The engine function's name: "SatTByP", "PointPropH", …
const char* CallName(EngineCall call);

// One engine call as the computation saw it.
struct CallRecord {
  EngineCall call = EngineCall::SatTByP;
  // Read once, right after the call: CalcStatus, or the entry point's status out-parameter.
  std::uint32_t status = 0;
  // An answer of the call was not finite (never, by the engine's contract) and was stored as its
  // failure sentinel instead (10, or 1 for a dryness).
  bool nonFinite = false;
};

// One state point as the form stores it: t °C, p MPa, h kJ/kg, s kJ/(kg·K), v m³/kg.
struct Solution {
  float p = 0.0f;
  float t = 0.0f;
  float h = 0.0f;
  float s = 0.0f;
  float v = 0.0f;
  float x = -1.0f;         // dryness fraction; −1: none known (and for the saturation items)
  int state = SC_UNKNOWN;  // StateCode (SC_UNKNOWN for the saturation items: the item names it)
};

struct CalcResult {
  // solution[0] is the one shown after Calculate; solution[1] is the second when there are two.
  // With no solution (only TemperatureEnthalpy) both hold just the given t and h.
  std::array<Solution, 2> solution{};
  int solutions = 1;    // 1, or the count 0, 1, 2 of SolvePFromTH
  bool failed = false;  // some call reported a non-zero status or a non-finite answer
  int callCount = 0;
  std::array<CallRecord, 4> calls{};  // calls[0…callCount), in the order they ran
};

// Label and unit of one input, as the form shows them beside it.
struct InputText {
  const char* label;
  const char* unit;
};

// One item and one of its modes: the list entry, the inputs and what Calculate runs.
struct ModeRow {
  Item item;
  Mode mode;
  const char* text;    // entry of IDC_MODE
  int inputs;          // inputs used, the enabled ones: 1, 2 or 3
  InputText input[3];  // unused inputs have empty texts
  // The inputs parsed to float, in the order of the form's inputs; unused ones are ignored.
  CalcResult (*compute)(float in1, float in2, float in3);
};

struct ItemRow {
  Item item;
  const char* text;       // entry of IDC_ITEM
  const char* stateText;  // shown on success in place of the state code's text; null: none
  // Inputs 1…n have the same label in every mode of the item (the isentropic start point): the
  // form sets them even when the mode is one the item lacks.
  int fixedInputs;
};

std::span<const ItemRow> ItemRows();
std::span<const ModeRow> ModeRows(Item item);  // the item's modes in list order
// By list index; null when the index is not in the list.
const ItemRow* FindItem(int item);
const ModeRow* FindMode(int item, int mode);
const ModeRow* FindMode(Item item, Mode mode);

std::vector<std::string> ItemTexts();
std::vector<std::string> ModeTexts(int item);  // empty for an unknown item

// What Calculate computes for an item and one of its modes from the inputs as parsed. A mode
// the item lacks computes nothing: no call, no solution.
CalcResult Calculate(Item item, Mode mode, float in1, float in2, float in3);
