// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design's unit of length: a twip is 1/1440 of a logical inch.

class QWidget;

namespace quillora {

// Twips to logical pixels at the widget's logical DPI.
int TwipsX(const QWidget *widget, int twips);
int TwipsY(const QWidget *widget, int twips);

}  // namespace quillora
