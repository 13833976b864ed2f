// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Twips.h"

#include <QWidget>

namespace quillora {

int TwipsX(const QWidget *widget, int twips) { return qRound(twips * widget->logicalDpiX() / 1440.0); }
int TwipsY(const QWidget *widget, int twips) { return qRound(twips * widget->logicalDpiY() / 1440.0); }

}  // namespace quillora
