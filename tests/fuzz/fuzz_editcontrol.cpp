// SPDX-License-Identifier: GPL-3.0-or-later
// Typing, Enter, Delete, Backspace, paste and selection changes in the edit
// control, against a plain string whose line breaks are CR LF: the text, the
// selection start and length and the selected text always agree.

#include "FuzzSupport.h"
#include "editing/EditControl.h"

#include <QKeyEvent>

using namespace quillora;

namespace {

struct Model {
  QString text;
  qint64 start = 0, length = 0;

  // A position inside a CR LF pair goes to the start of the next line.
  qint64 snap(qint64 p) const {
    p = std::clamp<qint64>(p, 0, text.size());
    if (p > 0 && p < text.size() && text.at(p - 1) == u'\r' && text.at(p) == u'\n') ++p;
    return p;
  }
  void replace(const QString &with) {
    QString normalised = ToQtBreaks(with);
    normalised.replace(u'\n', QStringLiteral("\r\n"));
    text.replace(start, length, normalised);
    start += normalised.size();
    length = 0;
  }
  // Backspace and Delete remove a selection, else one character or a whole line break.
  void erase(bool forward) {
    if (length > 0) return replace({});
    if (forward) {
      if (start >= text.size()) return;
      length = text.mid(start, 2) == u"\r\n" ? 2 : 1;
    } else {
      if (start == 0) return;
      const qint64 n = (start >= 2 && text.mid(start - 2, 2) == u"\r\n") ? 2 : 1;
      start -= n;
      length = n;
    }
    replace({});
  }
};

void key(EditControl &edit, int k, const QString &text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
  QApplication::sendEvent(&edit, &press);
  QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
  QApplication::sendEvent(&edit, &release);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  StartHeadlessApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Input in(data, size);
  EditControl edit;
  Model model;
  for (int step = 0; step < 64 && !in.empty(); ++step) {
    switch (in.below(6)) {
      case 0: {  // typing
        const QString c(QChar(u"ab x\u00e9"[in.below(5)]));
        key(edit, c.at(0).unicode() == u' ' ? Qt::Key_Space : Qt::Key_A, c);
        model.replace(c);
        break;
      }
      case 1:
        key(edit, Qt::Key_Return, QStringLiteral("\r"));
        model.replace(QStringLiteral("\n"));
        break;
      case 2:
        key(edit, Qt::Key_Delete);
        model.erase(true);
        break;
      case 3:
        key(edit, Qt::Key_Backspace);
        model.erase(false);
        break;
      case 4: {  // paste: any line breaks become the document's
        const QString pasted = in.text(6, u"ab\r\n");
        edit.setSelText(pasted);
        model.replace(pasted);
        break;
      }
      case 5: {  // selection
        const qint64 s = in.below(unsigned(model.text.size() + 2));
        const qint64 l = in.below(unsigned(model.text.size() + 2));
        edit.setSelStart(s);
        edit.setSelLength(l);
        model.start = model.snap(s);
        model.length = model.snap(model.start + l) - model.start;
        break;
      }
    }
    FUZZ_CHECK(edit.text() == model.text);
    FUZZ_CHECK(edit.textLength() == model.text.size());
    FUZZ_CHECK(edit.selStart() == model.start);
    FUZZ_CHECK(edit.selLength() == model.length);
    FUZZ_CHECK(edit.selText() == model.text.mid(model.start, model.length));
  }
  return 0;
}
