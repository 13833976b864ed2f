// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Line breaks in a document's text: each document has one style, which a
// typed Enter inserts, positions count and saving appends. Qt holds every
// break as one LF.

#include <QString>

namespace quillora {

enum class LineBreak { CrLf, Lf, Cr };

// The characters of a break of that style.
QString LineBreakText(LineBreak style);
// The style of the first line break in the text (CR LF when there is none).
LineBreak FirstLineBreak(QStringView text);
// Turns every line break (CR LF, LF or CR) into Qt's LF.
QString ToQtBreaks(const QString &text);

}  // namespace quillora
