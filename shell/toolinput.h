// The inputs of the tool windows: numbers read strictly (a decimal point in every locale, nothing
// around them), written back when the units change, and the units' names for their labels.
#pragma once

#include <QString>

#include "calc/quantity.h"

class QLineEdit;

// False for an empty field or anything but one number.
bool ReadInput(const QLineEdit* edit, double& value);

// Rewrites a field's number from the old units into the new ones; leaves a field that holds no
// number as it is.
void ConvertInput(QLineEdit* edit, calc::Quantity q, const calc::Units& from,
                  const calc::Units& to);

QString UnitText(calc::Quantity q, const calc::Units& u);
