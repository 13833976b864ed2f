// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Fonts.h"

#include <QFont>
#include <QFontDatabase>

namespace quillora {

const QStringList &InstalledFontFamilies() {
  static const QStringList families = QFontDatabase::families();
  return families;
}

QFont DesignFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8.25);
  font.setBold(true);
  return font;
}

}  // namespace quillora
