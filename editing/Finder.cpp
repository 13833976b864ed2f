// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Finder.h"

#include "common/Prompts.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"
#include "editing/FindDialog.h"
#include "languages/Catalogue.h"

namespace quillora {

Finder::Finder(EditHost &host) : m_host(host) {}

Finder::~Finder() { delete m_dialog.data(); }

FindDialog *Finder::dialog(bool create) {
  if (m_dialog && m_dialog->isClosing()) m_dialog.clear();
  if (!m_dialog && create) m_dialog = new FindDialog(*this, m_host.hostWindow());
  return m_dialog;
}

void Finder::raiseDialog() {
  if (m_dialog && m_dialog->isVisible()) m_dialog->raise();
}

void Finder::find(const EditControl &text, int language) {
  FindDialog *shown = dialog(true);
  if (language != English) shown->setTexts(language);
  const QString selected = text.selText();
  shown->setSearchText(selected.isEmpty() ? m_state.FindText : selected);
  m_state.FindFromCaret = true;
  if (m_state.FindMatchCase != 0) shown->setMatchCase(true);
  shown->showAndActivate();
}

void Finder::findNext(const EditControl &text) {
  if (!m_state.FindText.isEmpty())
    findInActiveDocument();
  else
    find(text, English);
}

void Finder::showDialog(int language) {
  FindDialog *shown = dialog(true);
  if (language != English) shown->setTexts(language);
  shown->showAndActivate();
}

void Finder::findInActiveDocument() {
  EditControl *edit = m_host.activeText();
  if (!edit) return;  // the dialog can outlive the last document
  const qint64 s = edit->selStart();
  const qint64 pos = FindPosition(edit->text(), s, m_state);
  if (pos >= 0) {
    edit->setSelStart(pos);
    edit->setSelLength(m_state.FindText.size());
  } else {
    MsgBox(m_host.hostWindow(), QString::fromLatin1(text::CannotFind) + u'"' + m_state.FindText + u'"');
  }
  m_state.FindLastStart = edit->selStart();
  m_state.FindFromCaret = false;
}

}  // namespace quillora
