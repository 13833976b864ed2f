#include "editing/Search.h"

#include "app/MainFrame.h"
#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"
#include "editing/FindDialog.h"

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

void FindInActiveDocument(MainFrame &frame) {
  SearchState &state = frame.search();
  DocumentWindow *window = frame.activeDocument();
  if (!window) return;  // the dialog can outlive the last document
  EditControl *edit = window->Text1();
  const qint64 s = edit->selStart();
  const qint64 pos = FindPosition(edit->text(), s, state);
  if (pos >= 0) {
    edit->setSelStart(pos);
    edit->setSelLength(state.FindText.size());
  } else {
    MsgBox(&frame, QString::fromLatin1(text::CannotFind) + u'"' + state.FindText + u'"');
  }
  state.FindLastStart = edit->selStart();
  state.FindFromCaret = false;
}

void FindCommand(MainFrame &frame, DocumentWindow &window, int language) {
  SearchState &state = frame.search();
  FindDialog *dialog = frame.findDialog(true);
  if (language != English) dialog->setTexts(language);
  const QString selected = window.Text1()->selText();
  dialog->setSearchText(selected.isEmpty() ? state.FindText : selected);
  state.FindFromCaret = true;
  if (state.FindMatchCase != 0) dialog->setMatchCase(true);
  dialog->showAndActivate();
}

void FindNextCommand(MainFrame &frame, DocumentWindow &window) {
  if (!frame.search().FindText.isEmpty())
    FindInActiveDocument(frame);
  else
    FindCommand(frame, window, English);
}

void ToolbarFindCommand(MainFrame &frame) {
  FindDialog *dialog = frame.findDialog(true);
  if (frame.CurrentLanguage != English) dialog->setTexts(frame.CurrentLanguage);
  dialog->showAndActivate();
}

}  // namespace quillora
