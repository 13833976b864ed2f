#pragma once
// The search over the active document, and the search state that all
// document windows share for the whole run.

#include <QString>

namespace quillora {

class EditControl;
class EditHost;

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

// Searches the text of the host's active document once, selects the
// occurrence found or says "Cannot find", and updates the search state.
void FindInActiveDocument(EditHost &host);

// The Find item of a tree, from the document window whose text is `text`.
void FindCommand(EditHost &host, const EditControl &text, int language);
// The Find Next item of any tree.
void FindNextCommand(EditHost &host, const EditControl &text);
// The toolbar's Find button: the dialog in the current language, not filled
// in; unlike the Find item, it takes nothing from the selection.
void ToolbarFindCommand(EditHost &host);

}  // namespace quillora
