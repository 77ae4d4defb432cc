#include "shell/chartcommand.h"

#include <QRegularExpression>
#include <QTextStream>
#include <cmath>
#include <cstring>
#include <optional>

#include "calc/diagram.h"
#include "shell/diagrampaint.h"

namespace {

const char kUsage[] =
    "usage: kelm --chart ts|hs --out FILE.svg|FILE.png|FILE.pdf [--size WxH]\n"
    "            [--formulation ifc67|if97] [--other] [ITEM MODE INPUTS...]\n"
    "ITEM and MODE are the form's list indexes or texts; the mode's inputs follow in the form's\n"
    "units (MPa, ℃, kJ/kg, kJ/(kg*K)). --other adds the other formulation's saturation line.\n";

struct Options {
  std::optional<calc::Chart> chart;
  QString out;
  QSize size{1100, 750};
  calc::Formulation formulation = calc::Formulation::IFC67;
  bool other = false;
  QStringList positional;
};

// Parses the arguments; false with a message.
bool Parse(const QStringList& args, Options& o, QString& error) {
  bool optionsEnd = false;
  for (int i = 0; i < args.size(); ++i) {
    QString arg = args[i];
    if (optionsEnd || !arg.startsWith(QLatin1String("--"))) {
      o.positional << arg;
      continue;
    }
    if (arg == QLatin1String("--")) {
      optionsEnd = true;
      continue;
    }
    if (arg == QLatin1String("--other")) {
      o.other = true;
      continue;
    }
    QString value;
    const qsizetype equals = arg.indexOf('=');
    if (equals >= 0) {
      value = arg.mid(equals + 1);
      arg = arg.left(equals);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = QStringLiteral("%1 needs a value").arg(arg);
      return false;
    }
    if (arg == QLatin1String("--chart")) {
      const QString chart = value.toLower();
      if (chart == QLatin1String("ts")) {
        o.chart = calc::Chart::TS;
      } else if (chart == QLatin1String("hs")) {
        o.chart = calc::Chart::HS;
      } else {
        error = QStringLiteral("unknown chart \"%1\" (ts or hs)").arg(value);
        return false;
      }
    } else if (arg == QLatin1String("--out")) {
      o.out = value;
    } else if (arg == QLatin1String("--size")) {
      static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[x×](\\d{1,5})$"));
      const QRegularExpressionMatch m = pattern.match(value);
      if (!m.hasMatch()) {
        error = QStringLiteral("bad size \"%1\" (WIDTHxHEIGHT in pixels)").arg(value);
        return false;
      }
      o.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    } else if (arg == QLatin1String("--formulation")) {
      const QString f = value.toLower().remove('-');
      if (f == QLatin1String("ifc67")) {
        o.formulation = calc::Formulation::IFC67;
      } else if (f == QLatin1String("if97")) {
        o.formulation = calc::Formulation::IF97;
      } else {
        error = QStringLiteral("unknown formulation \"%1\" (ifc67 or if97)").arg(value);
        return false;
      }
    } else {
      error = QStringLiteral("unknown option %1").arg(arg);
      return false;
    }
  }
  if (!o.chart) {
    error = QStringLiteral("--chart ts|hs is missing");
    return false;
  }
  if (o.out.isEmpty()) {
    error = QStringLiteral("--out FILE is missing");
    return false;
  }
  error = ExportProblem(o.out, o.size);
  return error.isEmpty();
}

// ITEM MODE INPUTS… as a request; false with a message.
bool ParseRequest(const QStringList& words, calc::Formulation f, calc::Request& request,
                  QString& error) {
  std::string message;
  if (words.size() < 2) {
    error = QStringLiteral("ITEM MODE and the inputs are needed, not only \"%1\"").arg(words[0]);
    return false;
  }
  if (!calc::FindItemMode(words[0].toStdString(), words[1].toStdString(), request.item,
                          request.mode, message)) {
    error = QString::fromStdString(message);
    return false;
  }
  const int inputs = FindMode(request.item, request.mode)->inputs;
  if (words.size() - 2 != inputs) {
    error = QStringLiteral("%1 %2 takes %3 input(s), not %4")
                .arg(words[0], words[1])
                .arg(inputs)
                .arg(words.size() - 2);
    return false;
  }
  for (int k = 0; k < inputs; ++k) {
    bool ok = false;
    const double value = words[2 + k].toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
      error = QStringLiteral("input %1 \"%2\" is not a number").arg(k + 1).arg(words[2 + k]);
      return false;
    }
    request.in[k] = value;
  }
  request.formulation = f;
  return true;
}

}  // namespace

bool IsChartCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], "--chart") == 0 || std::strncmp(argv[i], "--chart=", 8) == 0)
      return true;
  }
  return false;
}

int RunChartCommand(const QStringList& args, QTextStream& err) {
  Options o;
  QString error;
  calc::Request request;
  if (!Parse(args, o, error) ||
      (!o.positional.isEmpty() && !ParseRequest(o.positional, o.formulation, request, error))) {
    err << "kelm: " << error << '\n' << kUsage;
    err.flush();
    return 2;
  }
  DiagramPicture picture;
  picture.scene = &calc::SceneOf(o.formulation);
  if (o.other)
    picture.other =
        &calc::SceneOf(o.formulation == calc::Formulation::IF97 ? calc::Formulation::IFC67
                                                                : calc::Formulation::IF97);
  picture.chart = *o.chart;
  calc::Marks marks;
  if (!o.positional.isEmpty()) marks = calc::MarksOf(request);
  picture.marks = marks.points;
  picture.expansion = marks.expansion;
  picture.view = calc::ViewOf(*picture.scene, picture.chart, picture.marks);
  if (!ExportDiagram(picture, o.out, o.size, error)) {
    err << "kelm: " << error << '\n';
    err.flush();
    return 1;
  }
  if (!marks.failure.empty()) {
    err << "kelm: " << QString::fromStdString(marks.failure) << '\n';
    err.flush();
    return 1;
  }
  return 0;
}
