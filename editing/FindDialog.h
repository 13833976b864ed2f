// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modeless Find dialog. Its choices of case and direction take effect at
// once; Find searches the active document, Cancel remembers the text.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillora {

class Finder;

class FindDialog : public QDialog {
  Q_OBJECT
 public:
  FindDialog(Finder &finder, QWidget *parent);

  // The dialog's texts in a language (the direction frame keeps its caption
  // where the language gives none).
  void setTexts(int language);
  void setSearchText(const QString &text);
  void setMatchCase(bool checked);
  void showAndActivate();

  QLineEdit *searchBox() const { return m_text; }
  // Closed and waiting to be destroyed: the next Find makes a new dialog.
  bool isClosing() const { return m_closing; }
  QPushButton *findButton() const { return m_find; }

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void onFind();
  void onCancel();

  Finder &m_finder;
  QLabel *m_label;
  QLineEdit *m_text;
  QCheckBox *m_case;
  QGroupBox *m_direction;
  QRadioButton *m_up;
  QRadioButton *m_down;
  QPushButton *m_find;
  QPushButton *m_cancel;
  bool m_closing = false;
};

}  // namespace quillora
