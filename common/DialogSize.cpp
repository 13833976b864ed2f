// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DialogSize.h"

#include <QGuiApplication>
#include <QWidget>

namespace quillora {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

void FixDialogSize(QWidget *dialog, QSize size) {
  if (!OnWayland()) {
    dialog->setFixedSize(size);
    return;
  }
  dialog->setMinimumSize(size);
  dialog->resize(size);
}

void UnfixDialogSize(QWidget *dialog) {
  if (OnWayland()) dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

}  // namespace quillora
