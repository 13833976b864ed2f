// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Search.h"

namespace quillora {

namespace {

// Upper case character by character, so that lengths and positions stay.
QString upperKeepingLength(const QString &s) {
  QString out = s;
  for (QChar &ch : out) ch = ch.toUpper();
  return out;
}

}  // namespace

qint64 FindPosition(const QString &text, qint64 selectionStart, const SearchState &state) {
  const qint64 skip = (state.FindLastStart == selectionStart && !state.FindFromCaret) ? 1 : 0;
  const qint64 start = selectionStart + skip;
  const bool matchCase = state.FindMatchCase != 0;
  const QString pattern = matchCase ? state.FindText : upperKeepingLength(state.FindText);
  const QString subject = matchCase ? text : upperKeepingLength(text);
  if (pattern.isEmpty()) return -1;
  if (state.FindDirection == 1) {
    if (start > subject.size()) return -1;
    return subject.indexOf(pattern, start);
  }
  // Upwards: candidates begin at index start-2, start-3, … 0; a candidate may
  // reach over the selection start but not past the end of the text.
  for (qint64 p = start - 2; p >= 0; --p)
    if (QStringView(subject).mid(p, pattern.size()) == pattern) return p;
  return -1;
}

}  // namespace quillora
