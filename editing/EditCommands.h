#pragma once
// The Edit menu's commands and the font commands.

#include <QString>

class QDateTime;

namespace quillora {

class DocumentWindow;
class MainFrame;

// Cut, Copy and Paste act on the frame's active document (menus and toolbar).
void CutSelection(MainFrame &frame);
void CopySelection(MainFrame &frame);
void PasteClipboard(MainFrame &frame);
// Removes the selection, else the character after the caret (a whole line break).
void DeleteCommand(MainFrame &frame);
void SelectAllCommand(MainFrame &frame);
// Inserts the current date and time at the caret of the window's text.
void TimeDateCommand(DocumentWindow &window);
// The general date format: short date, a space, the time with seconds; the
// date alone at exactly midnight.
QString GeneralDateText(const QDateTime &moment);
void FontNameCommand(DocumentWindow &window, int index);

}  // namespace quillora
