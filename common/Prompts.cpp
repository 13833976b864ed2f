// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Prompts.h"

#include "common/DialogSize.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QMimeDatabase>

namespace quillora {

namespace {

// Names a listed file's type and icon from its name alone. Qt's own provider
// reads the first bytes of every file a dialog lists, on the program's only
// thread, so one file whose read never returns (/proc/kmsg, a hung network
// mount) would freeze the dialog and every window with it.
class TypesByName final : public QFileIconProvider {
 public:
  QIcon icon(const QFileInfo &info) const override {
    if (!info.isFile()) return QFileIconProvider::icon(info);
    return QIcon::fromTheme(byName(info).iconName(), QFileIconProvider::icon(QAbstractFileIconProvider::File));
  }
  QString type(const QFileInfo &info) const override {
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType mime = byName(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
  }

 private:
  QMimeType byName(const QFileInfo &info) const { return m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension); }
  QMimeDatabase m_types;
};

// Qt fixes a message box's size at every layout; on Wayland it may grow again.
class MessageBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  bool event(QEvent *event) override {
    const bool done = QMessageBox::event(event);
    if (event->type() == QEvent::LayoutRequest) UnfixDialogSize(this);
    return done;
  }
  void showEvent(QShowEvent *event) override {
    QMessageBox::showEvent(event);
    UnfixDialogSize(this);
  }
};

class RealPrompts final : public Prompts {
 public:
  int messageBox(QWidget *parent, const QString &text, int code, const QString &title) override {
    MessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (code & 0x70) {
      case msg::Critical: box.setIcon(QMessageBox::Critical); break;
      case msg::Exclamation: box.setIcon(QMessageBox::Warning); break;
      default: break;
    }
    if ((code & 0x0f) == msg::YesNoCancel) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
    } else if ((code & 0x0f) == msg::YesNo) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
    } else {
      box.setStandardButtons(QMessageBox::Ok);
    }
    if (code & msg::DefaultButton2) box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
      case QMessageBox::Yes: return msg::Yes;
      case QMessageBox::No: return msg::No;
      case QMessageBox::Cancel: return msg::Cancel;
      default: return msg::Ok;
    }
  }

  std::optional<QString> fileName(QWidget *parent, const FileDialogRequest &request) override {
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(parent, request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return dialog->selectedFiles().constFirst();
  }
};

RealPrompts realPrompts;
Prompts *current = &realPrompts;

}  // namespace

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const FileDialogRequest &request) {
  static TypesByName types;
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setIconProvider(&types);
  dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setNameFilters(request.filters);
  dialog->setDefaultSuffix(request.defaultSuffix);
  dialog->setDirectory(request.folder);
  if (!request.fileName.isEmpty()) dialog->selectFile(request.fileName);
  return dialog;
}

Prompts &prompts() { return *current; }

Prompts *setPrompts(Prompts *replacement) {
  Prompts *previous = current;
  current = replacement ? replacement : &realPrompts;
  return previous;
}

int MsgBox(QWidget *parent, const QString &text, int code, const QString &title) {
  return prompts().messageBox(parent, text, code, title.isEmpty() ? QString::fromLatin1(AppTitle) : title);
}

}  // namespace quillora
