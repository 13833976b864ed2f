// SPDX-License-Identifier: GPL-3.0-or-later
// Renders one of the program's drawings at build time, at the pixel size the
// program shows it, as a ready-made picture: a small header ("QPIC", width,
// height, little-endian 32-bit) and the pixels, premultiplied ARGB32. The
// program shows the pixels as they lie in its resources, with nothing to
// parse or decode; the same tool writes PNG files for the icon theme.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

int main(int argc, char *argv[]) {
  if (argc < 5) return 2;  // render_picture SOURCE.svg WIDTH HEIGHT OUT.{png,qpic}
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QSize size(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt());
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || size.isEmpty()) return 1;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(QPointF(0, 0), size));
  painter.end();
  const QString out = QString::fromLocal8Bit(argv[4]);
  if (!out.endsWith(QLatin1String(".qpic"))) return image.save(out) ? 0 : 1;
  QFile file(out);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  QByteArray header("QPIC");
  for (const int value : {size.width(), size.height()}) {
    const quint32 le = qToLittleEndian(quint32(value));
    header.append(reinterpret_cast<const char *>(&le), sizeof le);
  }
  file.write(header);
  for (int y = 0; y < image.height(); ++y) {
    const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const quint32 le = qToLittleEndian(line[x]);
      file.write(reinterpret_cast<const char *>(&le), sizeof le);
    }
  }
  return file.flush() ? 0 : 1;
}
