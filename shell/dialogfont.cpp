#include "shell/dialogfont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace {

// Faces in order of preference: the Song (Ming) faces first, as the form was drawn for one, then
// the sans faces that still cover Simplified Chinese. "WenQuanYi Zen Hei Sharp" carries crisp
// bitmaps at 12 px, which is 9 pt on a 96 dpi screen.
const char* const kFaces[] = {
    "SimSun",
    "宋体",
    "NSimSun",
    "新宋体",
    "AR PL UMing CN",
    "AR PL UMing",
    "Noto Serif CJK SC",
    "Source Han Serif SC",
    "WenQuanYi Zen Hei Sharp",
    "WenQuanYi Zen Hei",
    "Noto Sans CJK SC",
    "Source Han Sans SC",
    "Microsoft YaHei",
    "微软雅黑",
    "Droid Sans Fallback",
};

// fontconfig lists some families with their foundry in brackets ("Noto Serif CJK SC [GOOG]").
QString BareFamily(const QString& family) {
  const qsizetype bracket = family.indexOf(QLatin1String(" ["));
  return bracket < 0 ? family : family.left(bracket);
}

// Windows MulDiv: a·b/c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  const long long n = static_cast<long long>(a) * b;
  const long long q = (n >= 0 ? n + c / 2 : n - c / 2) / c;
  return static_cast<int>(q);
}

}  // namespace

QFont DialogFont() {
  const QStringList families = QFontDatabase::families();
  QString chosen;
  for (const char* face : kFaces) {
    const QString name = QString::fromUtf8(face);
    for (const QString& family : families) {
      if (BareFamily(family).compare(name, Qt::CaseInsensitive) == 0) {
        chosen = family;
        break;
      }
    }
    if (!chosen.isEmpty()) break;
  }
  if (chosen.isEmpty()) {
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (!chinese.isEmpty()) chosen = chinese.front();
  }
  QFont font = QApplication::font();
  if (!chosen.isEmpty()) font.setFamilies(QStringList{chosen});
  font.setPointSize(9);
  return font;
}

CDialogUnits::CDialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_nBaseX = (letters / 26 + 1) / 2;
  m_nBaseY = metrics.height();
  if (m_nBaseX < 1) m_nBaseX = 1;
  if (m_nBaseY < 1) m_nBaseY = 1;
}

int CDialogUnits::X(int x) const { return MulDiv(x, m_nBaseX, 4); }

int CDialogUnits::Y(int y) const { return MulDiv(y, m_nBaseY, 8); }

QRect CDialogUnits::Rect(int x, int y, int w, int h) const {
  const int left = X(x);
  const int top = Y(y);
  return QRect(left, top, X(x + w) - left, Y(y + h) - top);
}
