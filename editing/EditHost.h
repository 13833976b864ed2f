#pragma once
// What the editing commands need of the window that holds the documents:
// the active text, the search state every document shares, the one Find
// dialog, the current language and the installed font families. The frame
// implements it; nothing here knows the frame.

#include <QStringList>

class QWidget;

namespace quillora {

class EditControl;
class FindDialog;
struct SearchState;

class EditHost {
 public:
  // The text of the active document, or nullptr when none is open.
  virtual EditControl *activeText() const = 0;
  virtual SearchState &search() = 0;
  // The Find dialog, made on first use when `create`; nullptr when it does not exist.
  virtual FindDialog *findDialog(bool create) = 0;
  // The language last chosen in any Languages menu (0 English … 4 Italian).
  virtual int currentLanguage() const = 0;
  // The installed font families, in the platform's order, read once a run.
  virtual const QStringList &fontFamilies() = 0;
  // The window that owns message boxes and dialogs.
  virtual QWidget *hostWindow() = 0;

 protected:
  ~EditHost() = default;
};

}  // namespace quillora
