// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fonts the program offers.

#include <QFont>
#include <QStringList>

namespace quillora {

// The installed font families, in the platform's order. Qt reads the
// installed fonts once per run, so every window of the run sees this one
// list; it is read when first needed, not at start-up.
const QStringList &InstalledFontFamilies();

// The design font of the document windows and the Find dialog: "MS Sans
// Serif", 8.25 points, bold.
QFont DesignFont();

}  // namespace quillora
