#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's pictures as SVG files: the five waving flags, the
sixteen toolbar pictures (released and pressed) and the two icons.
Run it from this folder; the files it writes are checked in."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(path, body, w, h):
    with open(os.path.join(HERE, path), "w", encoding="utf-8") as f:
        f.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
                f'viewBox="0 0 {w} {h}">\n{body}</svg>\n')


# ---- flags: a cloth that waves, its stripes running at a slant ----

def wave_outline(w, h):
    m = 2
    return (f"M{m},{m + 3} C{w * 0.3:.1f},{m - 2} {w * 0.6:.1f},{m + 6} {w - m},{m + 1} "
            f"L{w - m},{h - m - 3} C{w * 0.6:.1f},{h - m + 2} {w * 0.3:.1f},{h - m - 6} {m},{h - m - 1} Z")


def flag(name, w, h, stripes_svg):
    clip = wave_outline(w, h)
    body = (f'<defs><clipPath id="c"><path d="{clip}"/></clipPath>'
            f'<linearGradient id="s" x1="0" y1="0" x2="1" y2="0">'
            f'<stop offset="0" stop-color="#fff" stop-opacity="0.25"/>'
            f'<stop offset="0.35" stop-color="#000" stop-opacity="0.15"/>'
            f'<stop offset="0.7" stop-color="#fff" stop-opacity="0.25"/>'
            f'<stop offset="1" stop-color="#000" stop-opacity="0.15"/></linearGradient></defs>\n'
            f'<g clip-path="url(#c)">\n<g transform="skewX(-18) translate({h * 0.16:.1f},0)">\n{stripes_svg}</g>\n'
            f'<rect width="{w}" height="{h}" fill="url(#s)"/></g>\n'
            f'<path d="{clip}" fill="none" stroke="#333" stroke-width="0.8"/>\n')
    write(f"flags/{name}.svg", body, w, h)


def vertical_tricolour(w, h, colours):
    third = (w + h) / 3.0
    return "".join(f'<rect x="{-h / 2 + i * third:.1f}" y="0" width="{third + 0.5:.1f}" height="{h}" fill="{c}"/>\n'
                   for i, c in enumerate(colours))


def horizontal_bands(w, h, bands):
    total = sum(b for b, _ in bands)
    y, out = 0.0, ""
    for share, colour in bands:
        height = h * share / total
        out += f'<rect x="{-h}" y="{y:.1f}" width="{w + 2 * h}" height="{height + 0.3:.1f}" fill="{colour}"/>\n'
        y += height
    return out


def us_flag(w, h):
    out = horizontal_bands(w, h, [(1, "#b22234" if i % 2 == 0 else "#ffffff") for i in range(13)])
    out += f'<rect x="{-h}" y="0" width="{w * 0.4 + h:.1f}" height="{h * 7 / 13:.1f}" fill="#3c3b6e"/>\n'
    for row in range(4):
        for col in range(5):
            out += f'<circle cx="{2.5 + col * 4.2:.1f}" cy="{2 + row * 3.3:.1f}" r="0.8" fill="#fff"/>\n'
    return out


def flags():
    flag("us", 53, 27, us_flag(53, 27))
    flag("fr", 46, 27, vertical_tricolour(46, 27, ["#0055a4", "#ffffff", "#ef4135"]))
    flag("es", 52, 32, horizontal_bands(52, 32, [(1, "#aa151b"), (2, "#f1bf00"), (1, "#aa151b")]))
    flag("de", 53, 27, horizontal_bands(53, 27, [(1, "#000000"), (1, "#dd0000"), (1, "#ffce00")]))
    flag("it", 46, 27, vertical_tricolour(46, 27, ["#009246", "#ffffff", "#ce2b37"]))


# ---- toolbar pictures: a grey button face, raised or sunken, with a symbol ----
# The face is 24 of the 32 pixels wide, so that neighbours 24 pixels apart never hide each other.

FACE = 24


def face(pressed):
    light, dark = ("#808080", "#ffffff") if pressed else ("#ffffff", "#808080")
    return (f'<rect x="0" y="4" width="{FACE}" height="{FACE}" fill="#c0c0c0"/>\n'
            f'<path d="M0.5,{FACE + 3.5} V4.5 H{FACE - 0.5}" fill="none" stroke="{light}"/>\n'
            f'<path d="M0.5,{FACE + 3.5} H{FACE - 0.5} V4.5" fill="none" stroke="{dark}"/>\n'
            f'<rect x="0" y="4" width="{FACE}" height="{FACE}" fill="none" stroke="#000" stroke-width="0.6"/>\n')


SYMBOLS = {
    "new": '<path d="M6,7 H14 L18,11 V25 H6 Z" fill="#fff" stroke="#000"/><path d="M14,7 V11 H18" fill="none" stroke="#000"/>',
    "open": ('<path d="M3,12 H8 L10,14 H17 V23 H3 Z" fill="#ffff00" stroke="#000"/>'
             '<path d="M3,23 L7,16 H21 L17,23 Z" fill="#808000" stroke="#000"/>'
             '<path d="M13,10 C15,6 19,6 20,9 M20,9 L21,6 M20,9 L17,9" fill="none" stroke="#000080" stroke-width="1.2"/>'),
    "save": ('<rect x="5" y="8" width="14" height="16" fill="#000080" stroke="#000"/>'
             '<rect x="7" y="8" width="10" height="6" fill="#fff"/><rect x="8" y="18" width="8" height="6" fill="#c0c0c0"/>'
             '<rect x="13" y="19" width="2" height="4" fill="#000080"/>'),
    "find": ('<circle cx="8" cy="19" r="4" fill="#00ffff" stroke="#000" stroke-width="1.5"/>'
             '<circle cx="16" cy="19" r="4" fill="#00ffff" stroke="#000" stroke-width="1.5"/>'
             '<rect x="6" y="9" width="4" height="7" fill="#000"/><rect x="14" y="9" width="4" height="7" fill="#000"/>'
             '<rect x="10" y="12" width="4" height="3" fill="#000"/>'),
    "print": ('<rect x="7" y="7" width="10" height="7" fill="#fff" stroke="#000"/>'
              '<rect x="4" y="13" width="16" height="8" fill="#c0c0c0" stroke="#000"/>'
              '<rect x="7" y="19" width="10" height="5" fill="#fff" stroke="#000"/>'
              '<circle cx="17" cy="16" r="1" fill="#00ff00"/>'),
    "cut": ('<path d="M9,7 L14,18 M15,7 L10,18" stroke="#000" stroke-width="1.5"/>'
            '<circle cx="9" cy="21" r="3" fill="none" stroke="#000080" stroke-width="1.5"/>'
            '<circle cx="15" cy="21" r="3" fill="none" stroke="#000080" stroke-width="1.5"/>'),
    "copy": ('<path d="M4,7 H11 L13,9 V19 H4 Z" fill="#fff" stroke="#000"/>'
             '<path d="M10,12 H17 L19,14 V25 H10 Z" fill="#fff" stroke="#000"/>'
             '<path d="M12,17 H17 M12,19 H17 M12,21 H17" stroke="#000080"/>'),
    "paste": ('<rect x="4" y="9" width="12" height="15" fill="#808000" stroke="#000"/>'
              '<rect x="7" y="7" width="6" height="4" fill="#c0c0c0" stroke="#000"/>'
              '<path d="M11,13 H18 L20,15 V25 H11 Z" fill="#fff" stroke="#000"/>'),
}

PICTURES = [  # (released, pressed, symbol)
    ("imgFileNewButtonUp", "imgFileNewButtonDn", "new"),
    ("imgFileOpenButtonUp", "imgFileOpenButtonDn", "open"),
    ("imgFileSaveButtonUp", "imgFileSaveButtonDn", "save"),
    ("imgViewBtnUp", "imgViewBtnDwn", "find"),
    ("imgPrintBtnUp", "imgPrintBtnDwn", "print"),
    ("imgCutButtonUp", "imgCutButtonDn", "cut"),
    ("imgCopyButtonUp", "imgCopyButtonDn", "copy"),
    ("imgPasteButtonUp", "imgPasteButtonDn", "paste"),
]


def toolbar():
    for up, down, symbol in PICTURES:
        write(f"toolbar/{up}.svg", face(False) + SYMBOLS[symbol] + "\n", 32, 32)
        # Pressed: the face sunken and the symbol one pixel down and right.
        write(f"toolbar/{down}.svg", face(True) + f'<g transform="translate(1,1)">{SYMBOLS[symbol]}</g>\n', 32, 32)


def icons():
    quill = ('<rect x="6" y="4" width="18" height="24" fill="#fff" stroke="#000"/>'
             '<path d="M9,9 H20 M9,12 H20 M9,15 H18 M9,18 H20" stroke="#000080"/>'
             '<path d="M28,2 C20,6 15,14 13,24 L15,24 C18,16 23,9 28,2 Z" fill="#008080" stroke="#000" stroke-width="0.7"/>'
             '<path d="M13,24 L12,28" stroke="#000" stroke-width="1.2"/>\n')
    write("icons/quillora.svg", quill, 32, 32)
    doc = ('<path d="M7,3 H19 L25,9 V29 H7 Z" fill="#fff" stroke="#000"/>'
           '<path d="M19,3 V9 H25" fill="none" stroke="#000"/>'
           '<path d="M10,13 H22 M10,16 H22 M10,19 H20 M10,22 H22" stroke="#000080"/>\n')
    write("icons/document.svg", doc, 32, 32)


if __name__ == "__main__":
    flags()
    toolbar()
    icons()
