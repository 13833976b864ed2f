// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace quillora {

namespace {

// The height of the row that minimised windows take at the bottom edge.
int iconRowHeight(const QList<QMdiSubWindow *> &minimised) {
  int height = 0;
  for (QMdiSubWindow *sub : minimised) height = qMax(height, sub->height());
  return height;
}

void lineUpIcons(QMdiArea &area, const QList<QMdiSubWindow *> &minimised) {
  const QRect client = area.viewport()->rect();
  int x = 0;
  int y = client.bottom() + 1;
  for (QMdiSubWindow *sub : minimised) {
    if (x > 0 && x + sub->width() > client.width()) {
      x = 0;
      y -= sub->height();
    }
    sub->move(x, y - sub->height());
    x += sub->width();
  }
}

}  // namespace

void Arrange(QMdiArea &area, ArrangeCode code) {
  QList<QMdiSubWindow *> normal, minimised;
  for (QMdiSubWindow *sub : area.subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isVisible()) continue;
    (sub->isMinimized() ? minimised : normal).append(sub);
  }
  switch (code) {
    case ArrangeCode::Cascade: area.cascadeSubWindows(); break;
    case ArrangeCode::TileHorizontal: {
      if (normal.isEmpty()) break;
      const QRect client = area.viewport()->rect();
      const int available = client.height() - (minimised.isEmpty() ? 0 : iconRowHeight(minimised));
      const int band = qMax(1, available / int(normal.size()));
      int y = 0;
      for (QMdiSubWindow *sub : normal) {
        if (sub->isMaximized()) sub->showNormal();
        sub->setGeometry(0, y, client.width(), band);
        y += band;
      }
      break;
    }
    case ArrangeCode::ArrangeIcons: lineUpIcons(area, minimised); break;
  }
}

}  // namespace quillora
