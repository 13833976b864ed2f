#pragma once
// The search over the active document, and the search state that all
// document windows share for the whole run.

#include <QString>

namespace quillora {

class DocumentWindow;
class EditControl;
class MainFrame;

struct SearchState {
  QString FindText;            // the remembered search text
  int FindMatchCase = 0;       // non-zero: upper and lower case must match
  int FindDirection = 1;       // 0 up, 1 down
  qint64 FindLastStart = 0;    // selection start at the end of the previous search
  bool FindFromCaret = false;  // a Find command opened the dialog: do not skip
};

// Where the next occurrence starts (0-based), or -1: the search's own rule
// for the start skip, the case and the direction, without wrapping round.
qint64 FindPosition(const QString &text, qint64 selectionStart, const SearchState &state);

// Searches the focused text of the frame's active document once, selects the
// occurrence found or says "Cannot find", and updates the search state.
void FindInActiveDocument(MainFrame &frame);

// The Find item of a tree, from document window W.
void FindCommand(MainFrame &frame, DocumentWindow &window, int language);
// The Find Next item of any tree.
void FindNextCommand(MainFrame &frame, DocumentWindow &window);
// The toolbar's Find button: the dialog in the current language, not filled in.
void ToolbarFindCommand(MainFrame &frame);

}  // namespace quillora
