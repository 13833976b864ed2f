#include "editing/Search.h"

#include "common/Prompts.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"
#include "editing/FindDialog.h"
#include "languages/Catalogue.h"

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

void FindInActiveDocument(EditHost &host) {
  SearchState &state = host.search();
  EditControl *edit = host.activeText();
  if (!edit) return;  // the dialog can outlive the last document
  const qint64 s = edit->selStart();
  const qint64 pos = FindPosition(edit->text(), s, state);
  if (pos >= 0) {
    edit->setSelStart(pos);
    edit->setSelLength(state.FindText.size());
  } else {
    MsgBox(host.hostWindow(), QString::fromLatin1(text::CannotFind) + u'"' + state.FindText + u'"');
  }
  state.FindLastStart = edit->selStart();
  state.FindFromCaret = false;
}

void FindCommand(EditHost &host, const EditControl &text, int language) {
  SearchState &state = host.search();
  FindDialog *dialog = host.findDialog(true);
  if (language != English) dialog->setTexts(language);
  const QString selected = text.selText();
  dialog->setSearchText(selected.isEmpty() ? state.FindText : selected);
  state.FindFromCaret = true;
  if (state.FindMatchCase != 0) dialog->setMatchCase(true);
  dialog->showAndActivate();
}

void FindNextCommand(EditHost &host, const EditControl &text) {
  if (!host.search().FindText.isEmpty())
    FindInActiveDocument(host);
  else
    FindCommand(host, text, English);
}

void ToolbarFindCommand(EditHost &host) {
  FindDialog *dialog = host.findDialog(true);
  if (host.currentLanguage() != English) dialog->setTexts(host.currentLanguage());
  dialog->showAndActivate();
}

}  // namespace quillora
