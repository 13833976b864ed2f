// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The size of a dialog that the user is not meant to resize.

#include <QSize>

class QWidget;

namespace quillora {

// True on a Wayland display.
bool OnWayland();

// Gives a dialog its size for good. On Wayland, Qt's own title bar offers
// Maximise even on a dialog of fixed size, and a compositor ends the
// connection, and the program with every unsaved document, of a window that
// keeps its size when maximised: there the size is only the least one.
void FixDialogSize(QWidget *dialog, QSize size);
// After Qt has fixed a dialog's size itself (a message box does at every
// layout): on Wayland, lets it grow again.
void UnfixDialogSize(QWidget *dialog);

}  // namespace quillora
