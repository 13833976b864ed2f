// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four files most recently opened or saved under a chosen name, kept in
// the per-user settings store ("VIZIvev", section "Recent Files"). The list is
// written but never shown: the menu entries keep their placeholders, so
// wherever the menus would be refreshed from it there is nothing to do.

#include <QString>
#include <QStringList>

namespace quillora {

// Puts a name at the top of the list unless one of the menu entries' captions
// already is that name; each stored name moves one place down, an empty slot
// stopping the shift at it, and the fourth is dropped. The store is written
// on a thread of its own, so that a large store never holds up the window.
void UpdateRecentFiles(const QString &name, const QStringList &entryCaptions);
// Waits until every update asked for is in the store: where the program ends.
void FinishRecentFilesUpdates();

}  // namespace quillora
