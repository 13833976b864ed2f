// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Arranging the document windows inside the frame.

class QMdiArea;

namespace quillora {

enum class ArrangeCode { Cascade = 0, TileHorizontal = 1, ArrangeIcons = 3 };

// Cascade; full-width bands of equal height stacked top to bottom, kept above
// the row of minimised windows; minimised windows lined up along the bottom.
void Arrange(QMdiArea &area, ArrangeCode code);

}  // namespace quillora
