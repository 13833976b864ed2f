// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the editing needs of the window that holds the documents: the active
// text and a window to own its messages and dialogs. The frame implements
// it; nothing here knows the frame.

class QWidget;

namespace quillora {

class EditControl;

class EditHost {
 public:
  // The text of the active document, or nullptr when none is open.
  virtual EditControl *activeText() const = 0;
  // The window that owns message boxes and dialogs.
  virtual QWidget *hostWindow() = 0;

 protected:
  ~EditHost() = default;
};

}  // namespace quillora
