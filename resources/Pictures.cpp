// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Pictures.h"

#include <QImage>
#include <QResource>
#include <QtEndian>

namespace quillora {

namespace {

// A picture as rendered at build time: "QPIC", width and height, then the
// premultiplied ARGB32 pixels, shown straight from the program's resources.
QImage readPicture(const QString &path) {
  const QResource resource(path);
  const QByteArray bytes = resource.uncompressedData();
  if (bytes.size() < 12 || !bytes.startsWith("QPIC")) return {};
  const int width = int(qFromLittleEndian<quint32>(bytes.constData() + 4));
  const int height = int(qFromLittleEndian<quint32>(bytes.constData() + 8));
  if (width <= 0 || height <= 0 || bytes.size() - 12 != qint64(width) * height * 4) return {};
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
    qFromLittleEndian<quint32>(bytes.constData() + 12 + qsizetype(y) * width * 4, width, line);
  }
  return image;
}

}  // namespace

QPixmap Picture(const QString &name, QSize size, qreal dpr) {
  QPixmap pixmap = QPixmap::fromImage(
      readPicture(QStringLiteral(":/%1%2.qpic").arg(name, dpr > 1 ? QStringLiteral("@2x") : QString())));
  const QSize wanted = (QSizeF(size) * dpr).toSize();
  if (!pixmap.isNull() && pixmap.size() != wanted)
    pixmap = pixmap.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  pixmap.setDevicePixelRatio(dpr);
  return pixmap;
}

const QIcon &DocumentIcon() {
  static const QIcon icon = IconPicture(QStringLiteral("icons/document"));
  return icon;
}

QIcon IconPicture(const QString &name) {
  QIcon icon;
  for (int size : IconSizes)
    icon.addPixmap(QPixmap::fromImage(readPicture(QStringLiteral(":/%1-%2.qpic").arg(name).arg(size))));
  return icon;
}

}  // namespace quillora
