#include "app/Prompts.h"

#include "languages/Catalogue.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillora {

namespace {

class RealPrompts final : public Prompts {
 public:
  int messageBox(QWidget *parent, const QString &text, int code, const QString &title) override {
    QMessageBox box(parent);
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
    } else {
      box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
      case QMessageBox::Yes: return msg::Yes;
      case QMessageBox::No: return msg::No;
      case QMessageBox::Cancel: return msg::Cancel;
      default: return msg::Ok;
    }
  }

  std::optional<QString> fileName(QWidget *parent, const FileDialogRequest &request) override {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(request.folder);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
  }
};

RealPrompts realPrompts;
Prompts *current = &realPrompts;

}  // namespace

Prompts &prompts() { return *current; }

Prompts *setPrompts(Prompts *replacement) {
  Prompts *previous = current;
  current = replacement ? replacement : &realPrompts;
  return previous;
}

int MsgBox(QWidget *parent, const QString &text, int code, const QString &title) {
  return prompts().messageBox(parent, text, code, title.isEmpty() ? QString::fromLatin1(text::AppTitle) : title);
}

}  // namespace quillora
