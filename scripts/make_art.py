#!/usr/bin/env python3
"""Draws the program's flat icons into resources/art/<id>.svg.

Every icon is a simple glyph on a 16 x 15 grid in one palette. The table
below gives each resource id a glyph (and an optional letter or colour);
run it again after adding ids:

    scripts/make_art.py            # writes resources/art/*.svg and
                                   # resources/art/<folder>/*.svg
"""
import os
import sys

INK = "#1f3a5f"      # outlines and strokes
BLUE = "#4a90c8"     # main fill
LIGHT = "#dbe9f5"    # paper and light fills
RED = "#d9534f"      # stop, delete, loads
GREEN = "#3c9d5d"    # run, supports
YELLOW = "#f0ad4e"   # folders, highlights
GREY = "#7a8591"     # secondary parts

W, H = 16, 15


def svg(body, w=W, h=H):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n{body}</svg>\n')


def page(x=3, y=1, w=10, h=13):
    return (f'<path d="M{x} {y} H{x+w-3} L{x+w} {y+3} V{y+h} H{x} Z" fill="{LIGHT}" '
            f'stroke="{INK}" stroke-width="1" stroke-linejoin="round"/>\n'
            f'<path d="M{x+w-3} {y} V{y+3} H{x+w}" fill="none" stroke="{INK}" stroke-width="1"/>\n')


def letter(ch, colour=INK, size=9, x=8, y=11.5):
    return (f'<text x="{x}" y="{y}" font-family="DejaVu Sans, sans-serif" font-weight="bold" '
            f'font-size="{size}" text-anchor="middle" fill="{colour}">{ch}</text>\n')


def badge(ch, colour=BLUE):
    return (f'<rect x="1.5" y="1" width="13" height="13" rx="2" fill="{colour}" stroke="{INK}"/>\n'
            + letter(ch, "#ffffff"))


def arrow(d, colour=INK):
    return f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>\n'


def magnifier(inner=""):
    return (f'<circle cx="6.5" cy="6" r="4.5" fill="{LIGHT}" stroke="{INK}" stroke-width="1.3"/>\n'
            f'<path d="M10 9.5 L14.5 14" stroke="{INK}" stroke-width="2.2" stroke-linecap="round"/>\n' + inner)


def grid(n, colour=BLUE):
    step = 13.0 / n
    lines = "".join(f'<path d="M{1.5+i*step:.2f} 1 V14 M1.5 {1+i*step:.2f} H14.5" stroke="{colour}" stroke-width="0.8"/>\n'
                    for i in range(n + 1))
    return lines


GLYPHS = {
    "new": lambda a: page(),
    "open": lambda a: (f'<path d="M1 3 H6 L7.5 4.5 H14 V13 H1 Z" fill="{YELLOW}" stroke="{INK}"/>\n'
                       f'<path d="M1 13 L3.5 7 H15.5 L13 13 Z" fill="#f7d08a" stroke="{INK}"/>\n'),
    "save": lambda a: (f'<rect x="1.5" y="1" width="13" height="13" rx="1" fill="{BLUE}" stroke="{INK}"/>\n'
                       f'<rect x="4" y="1.5" width="8" height="4.5" fill="{LIGHT}"/>\n'
                       f'<rect x="4" y="9" width="8" height="5" fill="{INK}"/>\n'),
    "saveas": lambda a: GLYPHS["save"](a) + f'<path d="M9 13 L14.5 7.5 L15.5 8.5 L10 14 H9 Z" fill="{YELLOW}" stroke="{INK}" stroke-width="0.7"/>\n',
    "close": lambda a: page() + arrow("M6 6 L10 10 M10 6 L6 10", RED),
    "print": lambda a: (f'<rect x="4" y="1" width="8" height="5" fill="{LIGHT}" stroke="{INK}"/>\n'
                        f'<rect x="1" y="5.5" width="14" height="6" rx="1" fill="{GREY}" stroke="{INK}"/>\n'
                        f'<rect x="4" y="9.5" width="8" height="5" fill="{LIGHT}" stroke="{INK}"/>\n'),
    "preview": lambda a: page() + f'<circle cx="8" cy="7" r="3" fill="none" stroke="{INK}" stroke-width="1.3"/>\n' + arrow("M10 9 L13 12.5"),
    "setup": lambda a: GLYPHS["print"](a) + f'<circle cx="12.5" cy="3" r="2.3" fill="{YELLOW}" stroke="{INK}" stroke-width="0.8"/>\n',
    "cut": lambda a: (f'<circle cx="4.5" cy="11.5" r="2.3" fill="none" stroke="{INK}" stroke-width="1.3"/>\n'
                      f'<circle cx="11.5" cy="11.5" r="2.3" fill="none" stroke="{INK}" stroke-width="1.3"/>\n'
                      + arrow("M5.8 9.5 L11 1.5 M10.2 9.5 L5 1.5", GREY)),
    "copy": lambda a: page(1, 1, 9, 10) + page(6, 4, 9, 10),
    "paste": lambda a: (f'<rect x="2" y="2" width="11" height="12" rx="1" fill="{YELLOW}" stroke="{INK}"/>\n'
                        f'<rect x="5" y="1" width="5" height="3" fill="{GREY}" stroke="{INK}" stroke-width="0.8"/>\n'
                        + page(7, 6, 8, 8.5)),
    "undo": lambda a: arrow("M4 6 H10 A3.5 3.5 0 0 1 10 13 H6") + f'<path d="M1.5 6 L5.5 2.5 V9.5 Z" fill="{INK}"/>\n',
    "redo": lambda a: arrow("M12 6 H6 A3.5 3.5 0 0 0 6 13 H10") + f'<path d="M14.5 6 L10.5 2.5 V9.5 Z" fill="{INK}"/>\n',
    "delete": lambda a: arrow("M3 2.5 L13 12.5 M13 2.5 L3 12.5", RED).replace('stroke-width="1.6"', 'stroke-width="2.6"'),
    "help": lambda a: (f'<circle cx="8" cy="7.5" r="6.5" fill="{BLUE}" stroke="{INK}"/>\n' + letter("?", "#ffffff", 10, 8, 11.5)),
    "about": lambda a: (f'<circle cx="8" cy="7.5" r="6.5" fill="{BLUE}" stroke="{INK}"/>\n' + letter("i", "#ffffff", 10, 8, 11.5)),
    "exit": lambda a: (f'<rect x="2" y="1" width="7" height="13" fill="{GREY}" stroke="{INK}"/>\n'
                       + arrow("M7 7.5 H14.5 M12 5 L14.5 7.5 L12 10", RED)),
    "zoomin": lambda a: magnifier(arrow("M4.5 6 H8.5 M6.5 4 V8")),
    "zoomout": lambda a: magnifier(arrow("M4.5 6 H8.5")),
    "zoomrect": lambda a: (f'<rect x="1" y="1" width="9" height="8" fill="none" stroke="{INK}" stroke-dasharray="1.5 1"/>\n'
                           + f'<circle cx="10" cy="9" r="3" fill="{LIGHT}" stroke="{INK}" stroke-width="1.2"/>\n'
                           + arrow("M12.2 11.2 L15 14")),
    "zoomdyn": lambda a: magnifier(arrow("M6.5 3.5 V8.5 M5 5 L6.5 3.5 L8 5 M5 7 L6.5 8.5 L8 7")),
    "zoomfit": lambda a: arrow("M1.5 5 V1.5 H5 M11 1.5 H14.5 V5 M14.5 10 V13.5 H11 M5 13.5 H1.5 V10")
                         + f'<rect x="4.5" y="4.5" width="7" height="6" fill="{BLUE}" stroke="{INK}"/>\n',
    "pan": lambda a: arrow("M8 1 V14 M1.5 7.5 H14.5 M6 3 L8 1 L10 3 M6 12 L8 14 L10 12 M3.5 5.5 L1.5 7.5 L3.5 9.5 M12.5 5.5 L14.5 7.5 L12.5 9.5"),
    "rotate": lambda a: arrow("M13 7.5 A5 5 0 1 1 10.5 3.2") + f'<path d="M9 0.8 L13 2.5 L10 5.8 Z" fill="{INK}"/>\n',
    "pointer": lambda a: f'<path d="M4 1 V13 L7 10 L9.5 14.5 L11.5 13.5 L9 9 H13 Z" fill="#ffffff" stroke="{INK}" stroke-linejoin="round"/>\n',
    "node": lambda a: f'<circle cx="8" cy="7.5" r="3.5" fill="{BLUE}" stroke="{INK}"/>\n',
    "line": lambda a: arrow("M2 13 L14 2", BLUE) + f'<circle cx="2" cy="13" r="1.5" fill="{INK}"/><circle cx="14" cy="2" r="1.5" fill="{INK}"/>\n',
    "rect": lambda a: f'<rect x="2" y="2.5" width="12" height="10" fill="{BLUE}" stroke="{INK}"/>\n',
    "polygon": lambda a: f'<path d="M2 12 L4 3 L10 1.5 L14.5 8 L9 13.5 Z" fill="{BLUE}" stroke="{INK}" stroke-linejoin="round"/>\n',
    "circle": lambda a: f'<circle cx="8" cy="7.5" r="6" fill="{BLUE}" stroke="{INK}"/>\n',
    "arc": lambda a: arrow("M2 13 A9 9 0 0 1 14 4", BLUE),
    "hole": lambda a: f'<rect x="1.5" y="1.5" width="13" height="12" fill="{BLUE}" stroke="{INK}"/>\n<circle cx="8" cy="7.5" r="3.5" fill="#ffffff" stroke="{INK}"/>\n',
    "mesh": lambda a: (f'<rect x="1.5" y="1.5" width="13" height="12" fill="{LIGHT}" stroke="{INK}"/>\n'
                       + arrow("M1.5 7.5 H14.5 M8 1.5 V13.5 M1.5 1.5 L14.5 13.5 M1.5 7.5 L8 13.5 M8 1.5 L14.5 7.5", BLUE).replace('stroke-width="1.6"', 'stroke-width="0.9"')),
    "finer": lambda a: f'<rect x="1.5" y="1" width="13" height="13" fill="{LIGHT}" stroke="{INK}"/>\n' + grid(6),
    "coarser": lambda a: f'<rect x="1.5" y="1" width="13" height="13" fill="{LIGHT}" stroke="{INK}"/>\n' + grid(2),
    "calc": lambda a: (f'<rect x="3" y="1" width="10" height="13" rx="1" fill="{GREY}" stroke="{INK}"/>\n'
                       f'<rect x="4.5" y="2.5" width="7" height="3" fill="{LIGHT}"/>\n'
                       + "".join(f'<rect x="{4.5+i*2.6:.1f}" y="{7+j*2.4:.1f}" width="1.8" height="1.6" fill="#ffffff"/>\n' for i in range(3) for j in range(3))),
    "run": lambda a: f'<path d="M4 1.5 L13.5 7.5 L4 13.5 Z" fill="{GREEN}" stroke="{INK}" stroke-linejoin="round"/>\n',
    "stop": lambda a: f'<path d="M5 1 H11 L15 5 V10 L11 14 H5 L1 10 V5 Z" fill="{RED}" stroke="{INK}"/>\n<rect x="4" y="6.5" width="8" height="2" fill="#ffffff"/>\n',
    "results": lambda a: "".join(f'<rect x="{1.5+i*2.6:.1f}" y="2" width="2.6" height="11" fill="{c}"/>\n' for i, c in enumerate(["#3050c0", "#30a0d0", "#40c080", "#e0d040", "#e07030"])) + f'<rect x="1.5" y="2" width="13" height="11" fill="none" stroke="{INK}"/>\n',
    "deform": lambda a: arrow("M1.5 4 H14.5", GREY) + arrow("M1.5 4 Q8 15 14.5 4", BLUE),
    "support": lambda a: f'<path d="M8 3 L13 11 H3 Z" fill="{GREEN}" stroke="{INK}" stroke-linejoin="round"/>\n' + arrow("M1.5 13 H14.5"),
    "load": lambda a: arrow("M8 1 V12", RED) + f'<path d="M4.5 9 L8 14 L11.5 9 Z" fill="{RED}"/>\n',
    "loads": lambda a: "".join(arrow(f"M{x} 1 V10", RED) + f'<path d="M{x-2.5} 8 L{x} 12 L{x+2.5} 8 Z" fill="{RED}"/>\n' for x in (3.5, 8, 12.5)) + arrow("M1 14 H15"),
    "material": lambda a: "".join(f'<path d="M2 {y} L8 {y-3} L14 {y} L8 {y+3} Z" fill="{c}" stroke="{INK}" stroke-width="0.8"/>\n' for y, c in ((11, GREY), (8, BLUE), (5, LIGHT))),
    "thickness": lambda a: f'<rect x="1.5" y="5" width="13" height="5" fill="{BLUE}" stroke="{INK}"/>\n' + arrow("M8 0.5 V4 M8 11 V14.5", RED),
    "settings": lambda a: (f'<circle cx="8" cy="7.5" r="4.5" fill="{GREY}" stroke="{INK}" stroke-width="3" stroke-dasharray="2.3 1.2"/>\n'
                           f'<circle cx="8" cy="7.5" r="2" fill="#ffffff" stroke="{INK}"/>\n'),
    "gridpts": lambda a: "".join(f'<circle cx="{2.5+i*3.6:.1f}" cy="{2+j*3.6:.1f}" r="0.9" fill="{INK}"/>\n' for i in range(4) for j in range(4)),
    "log": lambda a: f'<rect x="1.5" y="1" width="13" height="13" fill="#ffffff" stroke="{INK}"/>\n' + "".join(arrow(f"M3.5 {y} H{w}", GREY).replace('stroke-width="1.6"', 'stroke-width="1"') for y, w in ((4, 12), (6.5, 10), (9, 12.5), (11.5, 8))),
    "workbook": lambda a: f'<rect x="1.5" y="1" width="13" height="10" fill="{LIGHT}" stroke="{INK}"/>\n<path d="M2 11 H6 V14 H2 Z M6.5 11 H10.5 V13.5 H6.5 Z" fill="{BLUE}" stroke="{INK}" stroke-width="0.8"/>\n',
    "cascade": lambda a: "".join(f'<rect x="{1+i*3}" y="{1+i*3}" width="9" height="7" fill="{LIGHT}" stroke="{INK}"/>\n<rect x="{1+i*3}" y="{1+i*3}" width="9" height="2" fill="{BLUE}"/>\n' for i in range(3)),
    "tile": lambda a: "".join(f'<rect x="{1.5+i*7}" y="1.5" width="6" height="12" fill="{LIGHT}" stroke="{INK}"/>\n<rect x="{1.5+i*7}" y="1.5" width="6" height="2" fill="{BLUE}"/>\n' for i in range(2)),
    "window": lambda a: f'<rect x="1.5" y="1.5" width="13" height="12" fill="{LIGHT}" stroke="{INK}"/>\n<rect x="1.5" y="1.5" width="13" height="3" fill="{BLUE}" stroke="{INK}"/>\n',
    "palette": lambda a: f'<path d="M8 1.5 A6.5 6 0 1 0 8 13.5 C10 13.5 9 11 10.5 10.5 C12.5 10 14.5 10.5 14.5 7.5 A6.5 6 0 0 0 8 1.5 Z" fill="{LIGHT}" stroke="{INK}"/>\n' + "".join(f'<circle cx="{x}" cy="{y}" r="1.4" fill="{c}"/>\n' for x, y, c in ((5, 5, RED), (8.5, 4, GREEN), (12, 6, BLUE), (4.5, 9, YELLOW))),
    "light": lambda a: f'<circle cx="8" cy="6" r="4.5" fill="{YELLOW}" stroke="{INK}"/>\n<rect x="6" y="10.5" width="4" height="3.5" fill="{GREY}" stroke="{INK}" stroke-width="0.8"/>\n',
    "font": lambda a: letter("A", INK, 13, 8, 13),
    "axes": lambda a: arrow("M2.5 13 V2 M2.5 13 H14") + f'<path d="M0.8 4 L2.5 1 L4.2 4 Z M12 11.3 L15 13 L12 14.7 Z" fill="{INK}"/>\n',
    "coords": lambda a: arrow("M2.5 13 V2 M2.5 13 H14") + letter("xy", BLUE, 6, 10, 7),
    "image": lambda a: f'<rect x="1.5" y="2" width="13" height="11" fill="{LIGHT}" stroke="{INK}"/>\n<path d="M2 12.5 L6 7 L9 10 L11 8 L14 12.5 Z" fill="{GREEN}"/>\n<circle cx="11" cy="5" r="1.5" fill="{YELLOW}"/>\n',
    "selectall": lambda a: f'<rect x="1.5" y="1.5" width="13" height="12" fill="none" stroke="{INK}" stroke-dasharray="2 1"/>\n<rect x="4" y="4" width="8" height="7" fill="{BLUE}"/>\n',
    "view3d": lambda a: f'<path d="M8 1.5 L14 4.5 V11 L8 14 L2 11 V4.5 Z" fill="{BLUE}" stroke="{INK}"/>\n' + arrow("M2 4.5 L8 7.5 L14 4.5 M8 7.5 V14"),
    "view2d": lambda a: f'<rect x="2.5" y="2.5" width="11" height="10" fill="{BLUE}" stroke="{INK}"/>\n',
    "beam": lambda a: f'<rect x="1" y="5.5" width="14" height="4" fill="{BLUE}" stroke="{INK}"/>\n<path d="M2.5 9.5 L1 12 H4 Z M13.5 9.5 L12 12 H15 Z" fill="{GREEN}" stroke="{INK}" stroke-width="0.6"/>\n',
    "section": lambda a: f'<path d="M2 1.5 H14 V4 H9.5 V11 H14 V13.5 H2 V11 H6.5 V4 H2 Z" fill="{BLUE}" stroke="{INK}" stroke-linejoin="round"/>\n',
    "buckling": lambda a: arrow("M1.5 7.5 Q4.75 2 8 7.5 T14.5 7.5", BLUE) + arrow("M0.5 12 H4 M15.5 12 H12", RED),
    "list": lambda a: "".join(f'<rect x="1.5" y="{y}" width="2" height="2" fill="{BLUE}"/>\n' + arrow(f"M5 {y+1} H14.5", INK).replace('stroke-width="1.6"', 'stroke-width="1.2"') for y in (2, 6.5, 11)),
    "refresh": lambda a: arrow("M13 7.5 A5 5 0 1 1 11 3.5") + f'<path d="M9.5 1 L13.5 3 L10.5 6 Z" fill="{GREEN}"/>\n',
    "measure": lambda a: f'<rect x="0.5" y="5" width="15" height="5" fill="{YELLOW}" stroke="{INK}"/>\n' + "".join(arrow(f"M{x} 5 V{7.5 if i % 2 else 6.5}").replace('stroke-width="1.6"', 'stroke-width="0.8"') for i, x in enumerate(range(2, 15, 2))),
    "info": lambda a: badge("i"),
    "toolbar": lambda a: f'<rect x="1" y="4.5" width="14" height="6" fill="{LIGHT}" stroke="{INK}"/>\n' + "".join(f'<rect x="{2.5+i*4}" y="6" width="3" height="3" fill="{BLUE}"/>\n' for i in range(3)),
    "statusbar": lambda a: f'<rect x="1.5" y="1.5" width="13" height="12" fill="{LIGHT}" stroke="{INK}"/>\n<rect x="1.5" y="10.5" width="13" height="3" fill="{GREY}"/>\n',
    "recent": lambda a: page() + letter("1", BLUE, 8, 8, 11.5),
    "letter": lambda a: badge(a.get("ch", "?"), a.get("colour", BLUE)),
    "picture": lambda a: svg_picture(a),
}


def svg_picture(a):
    return a["body"]


def build(entry):
    glyph = entry.get("glyph", "letter")
    body = GLYPHS[glyph](entry)
    w, h = entry.get("size", (W, H))
    return svg(body, w, h)


def main():
    sys.path.insert(0, os.path.dirname(__file__))
    from art_table import ART
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "art")
    os.makedirs(root, exist_ok=True)
    for nid, entry in sorted(ART.items()):
        # The program's art lies in the folder itself; a library's art in
        # the entry's subfolder (see cmake/Art.cmake).
        folder = os.path.join(root, entry.get("folder", ""))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"{nid}.svg"), "w", encoding="utf-8") as out:
            out.write(build(entry))
    print(f"{len(ART)} icons in {os.path.normpath(root)}")


if __name__ == "__main__":
    main()
