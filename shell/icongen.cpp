// Draws the application icon IDI_APP at the sizes given on the command line and writes them as
// kelm-<size>.png into the output directory (and kelm.ico when the ico writer is available and
// asked for). Runs at build time, so the repository holds no binary images.
//
// Motif: a rounded tile of hot-water blue, a drop of water in front, white steam wisps rising.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace {

// The drawing is laid out on a 256 × 256 canvas and scaled.
constexpr double kCanvas = 256.0;

QPainterPath Drop(double cx, double tipY, double bulbY, double r) {
  QPainterPath path;
  path.moveTo(cx, tipY);
  path.cubicTo(cx - 0.25 * r, tipY + 0.45 * (bulbY - tipY), cx - r, bulbY - 0.55 * r, cx - r,
               bulbY);
  path.arcTo(QRectF(cx - r, bulbY - r, 2 * r, 2 * r), 180.0, 180.0);
  path.cubicTo(cx + r, bulbY - 0.55 * r, cx + 0.25 * r, tipY + 0.45 * (bulbY - tipY), cx, tipY);
  path.closeSubpath();
  return path;
}

// One wisp of steam: a gentle S rising from (x, y0) to y1.
QPainterPath Wisp(double x, double y0, double y1, double swing) {
  const double step = (y0 - y1) / 2.0;
  QPainterPath path;
  path.moveTo(x, y0);
  path.cubicTo(x - swing, y0 - 0.4 * step, x - swing, y0 - 0.7 * step, x, y0 - step);
  path.cubicTo(x + swing, y0 - 1.3 * step, x + swing, y0 - 1.6 * step, x, y1);
  return path;
}

QImage Draw(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kCanvas, size / kCanvas);

  // Tile.
  const QRectF tile(8, 8, 240, 240);
  QLinearGradient sky(0, 8, 0, 248);
  sky.setColorAt(0.0, QColor(0x5c, 0x9c, 0xd6));
  sky.setColorAt(1.0, QColor(0x1a, 0x3f, 0x73));
  painter.setPen(QPen(QColor(0x12, 0x46, 0x80), 6));
  painter.setBrush(sky);
  painter.drawRoundedRect(tile, 44, 44);

  // Steam: three wisps, the middle one tallest, behind the drop's shoulders.
  QPen steam(QColor(255, 255, 255, 235), 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(steam);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(Wisp(72, 128, 46, 16));
  painter.drawPath(Wisp(128, 112, 30, 18));
  painter.drawPath(Wisp(184, 128, 46, 16));

  // Water drop.
  const QPainterPath drop = Drop(128, 96, 182, 54);
  QRadialGradient water(QPointF(112, 158), 84);
  water.setColorAt(0.0, QColor(0x9b, 0xe7, 0xff));
  water.setColorAt(0.55, QColor(0x21, 0x96, 0xf3));
  water.setColorAt(1.0, QColor(0x0d, 0x47, 0xa1));
  painter.setPen(QPen(QColor(255, 255, 255), 8));
  painter.setBrush(water);
  painter.drawPath(drop);

  // Highlight on the drop.
  painter.setPen(QPen(QColor(255, 255, 255, 200), 12, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(90, 144, 60, 60), 160 * 16, 70 * 16);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: kelm_icongen OUTDIR SIZE... [ico]\n");
    return 2;
  }
  const QDir out(args.at(1));
  if (!QDir().mkpath(out.absolutePath())) return 1;
  bool ico = false;
  std::vector<QImage> images;
  for (qsizetype i = 2; i < args.size(); ++i) {
    if (args.at(i) == QLatin1String("ico")) {
      ico = true;
      continue;
    }
    bool ok = false;
    const int size = args.at(i).toInt(&ok);
    if (!ok || size < 8 || size > 1024) {
      std::fprintf(stderr, "kelm_icongen: bad size %s\n", qPrintable(args.at(i)));
      return 2;
    }
    const QImage image = Draw(size);
    const QString file = out.filePath(QStringLiteral("kelm-%1.png").arg(size));
    if (!image.save(file, "PNG")) {
      std::fprintf(stderr, "kelm_icongen: cannot write %s\n", qPrintable(file));
      return 1;
    }
    if (size <= 256) images.push_back(image);
  }
  if (ico) {
    // The ico writer stores one image per write; the 32 × 32 image is the one the window
    // system loads for IDI_APP.
    QImageWriter writer(out.filePath(QStringLiteral("kelm.ico")), "ico");
    for (const QImage& image : images) {
      if (image.width() == 32 && !writer.write(image)) {
        std::fprintf(stderr, "kelm_icongen: cannot write kelm.ico\n");
        return 1;
      }
    }
  }
  return 0;
}
