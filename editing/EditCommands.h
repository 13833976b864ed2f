// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Edit menu's commands and the font commands.

#include <QString>
#include <QStringList>

class QDateTime;

namespace quillora {

class EditControl;

// The Edit commands act on the text given, the active document's (menus and
// toolbar); with no text (no document open) they do nothing.
void CutSelection(EditControl *text);
void CopySelection(EditControl *text);
void PasteClipboard(EditControl *text);
// Removes the selection, else the character after the caret (a whole line break).
void DeleteCommand(EditControl *text);
void SelectAllCommand(EditControl *text);
// Inserts the current date and time at the caret.
void TimeDateCommand(EditControl &text);
// The general date format: short date, a space, the time with seconds; the
// date alone at exactly midnight.
QString GeneralDateText(const QDateTime &moment);
// The font family of that index in the installed families.
void FontNameCommand(EditControl &text, int index);
// The font size of that index in the Font Size arrays.
void FontSizeCommand(EditControl &text, int index);

}  // namespace quillora
