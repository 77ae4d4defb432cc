#include "shell/appicon.h"

#include <QDirIterator>

QIcon AppIcon() {
  QIcon icon;
  // Every size drawn at build time lies under :/icons as kelm-<size>.png.
  QDirIterator it(QStringLiteral(":/icons"), {QStringLiteral("kelm-*.png")}, QDir::Files);
  while (it.hasNext()) icon.addFile(it.next());
  return icon;
}
