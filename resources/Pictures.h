// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures: toolbar faces, flags and icons, drawn as SVG and
// rendered at build time at one and two device pixels per pixel.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quillora {

// A picture ("toolbar/imgCutButtonUp", "flags/fr") at a size in pixels and a
// device pixel ratio: the rendering that fits the ratio, scaled only when the
// size asked for is not the one it was rendered at.
QPixmap Picture(const QString &name, QSize size, qreal dpr);

// A window icon ("icons/quillora", "icons/document") at all its sizes.
inline constexpr int IconSizes[] = {16, 32, 48};
QIcon IconPicture(const QString &name);
// The icon of every document window, read once.
const QIcon &DocumentIcon();

}  // namespace quillora
