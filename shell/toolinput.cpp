#include "shell/toolinput.h"

#include <QLineEdit>
#include <charconv>
#include <cmath>

bool ReadInput(const QLineEdit* edit, double& value) {
  const std::string text = edit->text().trimmed().toStdString();
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  return !text.empty() && ec == std::errc() && end == last && std::isfinite(value);
}

void ConvertInput(QLineEdit* edit, calc::Quantity q, const calc::Units& from,
                  const calc::Units& to) {
  double value = 0;
  if (!ReadInput(edit, value)) return;
  const std::optional<double> engine = calc::In(q, value, from);
  if (!engine) return;
  edit->setText(QString::number(calc::Out(q, *engine, to), 'g', 12));
}

QString UnitText(calc::Quantity q, const calc::Units& u) {
  return QString::fromStdString(calc::UnitName(q, u));
}
