// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what Qt itself draws, as a screen reader names it, in the language
// the program loads for the desktop (the same routine): the items of a plain
// text box's context menu, the labels and buttons of a plain Open dialog set
// up as the program sets its own up, and the buttons of a Yes/No/Cancel
// message box. One a line: kind<TAB>name (a menu item's name without the
// keys that follow it, which depend on the program's own shortcuts).

#include "common/Prompts.h"
#include "common/QtTranslations.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextStream>

namespace {

QString nameOf(QObject *object) {
  QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
  return accessible ? accessible->text(QAccessible::Name) : QString();
}

}  // namespace

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  quillora::LoadQtTranslations(application);
  QTextStream out(stdout);

  QPlainTextEdit edit;
  QMenu *menu = edit.createStandardContextMenu();
  QAccessibleInterface *items = QAccessible::queryAccessibleInterface(menu);
  for (int i = 0; items && i < items->childCount(); ++i)
    if (const QString name = items->child(i)->text(QAccessible::Name); !name.isEmpty())
      out << "menu item\t" << name.section(u'\t', 0, 0) << '\n';  // the words, not the keys

  quillora::FileDialogRequest request;
  request.filters = {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)")};
  const std::unique_ptr<QFileDialog> dialog = quillora::MakeFileDialog(nullptr, request);
  out << "title\t" << dialog->windowTitle() << '\n';
  for (QLabel *label : dialog->findChildren<QLabel *>())
    if (!nameOf(label).isEmpty()) out << "label\t" << nameOf(label) << '\n';
  for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
    if (button->isVisibleTo(dialog.get()) && !button->text().isEmpty())
      out << "push button\t" << nameOf(button) << '\n';

  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  for (QAbstractButton *button : box.buttons()) out << "question button\t" << nameOf(button) << '\n';
  return 0;
}
