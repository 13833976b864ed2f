// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search state that all document windows share, and the search's rule.

#include <QString>

namespace quillora {

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

}  // namespace quillora
