// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box, in the language of the tree whose About item opened it.

#include <QDialog>

namespace quillora {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  AboutBox(QWidget *parent, int language);

 protected:
  void showEvent(QShowEvent *event) override;
};

// Shows a new About box modally and returns when it is closed.
void ShowAboutBox(QWidget *parent, int language);

}  // namespace quillora
