// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search that every document window shares for the whole run: its state
// and the one modeless Find dialog.

#include "editing/Search.h"

#include <QObject>
#include <QPointer>

namespace quillora {

class EditControl;
class EditHost;
class FindDialog;

class Finder : public QObject {
  Q_OBJECT
 public:
  explicit Finder(EditHost &host);
  ~Finder() override;

  SearchState &state() { return m_state; }
  // The Find dialog, made on first use when `create`; nullptr when it does not exist.
  FindDialog *dialog(bool create);
  // An edit control gained the focus: a shown Find dialog comes to the front.
  void raiseDialog();

  // The Find item of a tree, from the document window whose text is `text`:
  // the dialog in the tree's language, holding the selection or the
  // remembered text.
  void find(const EditControl &text, int language);
  // The Find Next item of any tree.
  void findNext(const EditControl &text);
  // The toolbar's Find: the dialog in the current language, not filled in;
  // unlike the Find item, it takes nothing from the selection.
  void showDialog(int language);
  // Searches the text of the active document once, selects the occurrence
  // found or says "Cannot find", and updates the state.
  void findInActiveDocument();

 private:
  EditHost &m_host;
  SearchState m_state;
  QPointer<FindDialog> m_dialog;
};

}  // namespace quillora
