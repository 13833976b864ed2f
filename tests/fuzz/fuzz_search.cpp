// SPDX-License-Identifier: GPL-3.0-or-later
// The search against a slow transcription of its nine steps, 1-based as they
// are written: the same occurrence, or the same not-found outcome.

#include "FuzzSupport.h"
#include "editing/Search.h"

using namespace quillora;

namespace {

qint64 slowFind(const QString &T, const QString &P, qint64 s, const SearchState &state) {
  qint64 k = state.FindLastStart == s ? 1 : 0;  // 1. skip
  if (state.FindFromCaret) k = 0;
  const qint64 start = s + k;        // 2.
  QString pattern = P, subject = T;  // 3. case
  if (state.FindMatchCase == 0) {
    for (QChar &c : pattern) c = c.toUpper();
    for (QChar &c : subject) c = c.toUpper();
  }
  const qint64 len = pattern.size(), n = subject.size();
  qint64 pos = 0;
  if (state.FindDirection == 1) {  // 4. down: the first occurrence at start + 1 or later
    for (qint64 p = start + 1; p + len - 1 <= n && pos == 0; ++p) {
      bool same = true;
      for (qint64 i = 0; i < len && same; ++i) same = subject.at(p - 1 + i) == pattern.at(i);
      if (same) pos = p;
    }
  } else {  // 5. up: p = start - 1 down to 1
    for (qint64 p = start - 1; p >= 1 && pos == 0; --p) {
      if (p + len - 1 > n) continue;
      bool same = true;
      for (qint64 i = 0; i < len && same; ++i) same = subject.at(p - 1 + i) == pattern.at(i);
      if (same) pos = p;
    }
  }
  return pos - 1;  // 6./7.: the 0-based start, or -1
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Input in(data, size);
  SearchState state;
  const QString text = in.text(40, u"abAB\u00df\r\n");
  state.FindText = in.text(4, u"abAB\u00df");
  if (state.FindText.isEmpty()) state.FindText = QStringLiteral("a");
  state.FindMatchCase = int(in.below(2));
  state.FindDirection = int(in.below(2));
  state.FindFromCaret = in.below(2) == 1;
  const qint64 caret = in.below(unsigned(text.size() + 1));
  state.FindLastStart = in.below(2) ? caret : in.below(unsigned(text.size() + 1));
  FUZZ_CHECK(FindPosition(text, caret, state) == slowFind(text, state.FindText, caret, state));
  return 0;
}
