// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology reads of the edit control: its text exactly as
// the user sees and saves it. Qt's own interface reads the document's
// blocks, so a long line held in pieces would read with a line break at
// every cut and every offset after a cut would be off; this one reads the
// text and offsets through the edit control's own positions.

class QAccessibleInterface;
class QObject;
class QString;

namespace quillora {

// The accessibility factory for the edit control; installed once, by the
// first edit control made.
QAccessibleInterface *AccessibleEditControl(const QString &className, QObject *object);

}  // namespace quillora
