// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one door through which the program asks the user something modal:
// message boxes and file-name dialogs. Tests put their own answers here.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

namespace quillora {

// The application's title: the frame's caption, and the title of every
// message box that is given none. (The other texts are in the catalogue.)
inline constexpr char AppTitle[] = "Quillora";

// Message box codes: buttons plus icon, and the answers.
namespace msg {
inline constexpr int OkOnly = 0;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Exclamation = 48;
inline constexpr int DefaultButton2 = 256;  // the second button, not the first, answers Return
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace msg

struct FileDialogRequest {
  bool save = false;
  QString fileName;     // proposed name, may be empty
  QString folder;       // folder the dialog opens in
  QStringList filters;  // Qt's form: "Text Files (*.txt)"
  QString defaultSuffix;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows a modal message box; returns the answer code.
  virtual int messageBox(QWidget *parent, const QString &text, int code, const QString &title) = 0;
  // Shows a modal file dialog; nothing when the user cancels.
  virtual std::optional<QString> fileName(QWidget *parent, const FileDialogRequest &request) = 0;
};

// The file dialog the real prompts show, set up for the request.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const FileDialogRequest &request);

// The prompts in use: the real dialogs unless a test installed its own.
Prompts &prompts();
// Installs other prompts (nullptr restores the real ones); returns the previous.
Prompts *setPrompts(Prompts *replacement);

// A message box titled with the application's title unless a title is given.
int MsgBox(QWidget *parent, const QString &text, int code = msg::OkOnly, const QString &title = {});

}  // namespace quillora
