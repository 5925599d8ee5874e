"""Which glyph each resource id gets (see make_art.py)."""

INK = "#1f3a5f"


def formula(text, w=240, h=28, size=16):
    body = (f'<rect x="0.5" y="0.5" width="{w-1}" height="{h-1}" fill="#ffffff" stroke="#dbe9f5"/>\n'
            f'<text x="{w/2}" y="{h*0.7:.1f}" font-family="DejaVu Serif, serif" font-style="italic" '
            f'font-size="{size}" text-anchor="middle" fill="{INK}">{text}</text>\n')
    return {"glyph": "picture", "body": body, "size": (w, h)}


def symbol(main, sub, w=20, h=12):
    body = (f'<text x="{w/2}" y="{h-2.5}" font-family="DejaVu Serif, serif" font-style="italic" '
            f'font-size="{h-1}" text-anchor="middle" fill="{INK}">{main}'
            f'<tspan font-size="{(h-1)*0.6:.1f}" dy="2">{sub}</tspan></text>\n')
    return {"glyph": "picture", "body": body, "size": (w, h)}


def ring(kind):
    # A ring segment of the given type: full annulus sector, a sector with a
    # straight inner edge, and a sector with an opening angle marked.
    paths = {
        1: '<path d="M50 90 A40 40 0 0 1 10 50 H30 A20 20 0 0 0 50 70 Z" fill="#4a90c8" stroke="#1f3a5f" stroke-width="2"/>',
        2: '<path d="M50 90 A40 40 0 0 1 10 50 H30 L50 70 Z" fill="#4a90c8" stroke="#1f3a5f" stroke-width="2"/>',
        3: '<path d="M50 90 A40 40 0 0 1 21.7 21.7 L35.9 35.9 A20 20 0 0 0 50 70 Z" fill="#4a90c8" stroke="#1f3a5f" stroke-width="2"/>'
           '<path d="M50 50 L10 50 M50 50 L21.7 21.7" stroke="#d9534f" stroke-width="1.5" stroke-dasharray="4 3"/>'
           '<path d="M25 50 A25 25 0 0 1 32.3 32.3" fill="none" stroke="#d9534f" stroke-width="1.5"/>',
    }
    body = ('<rect x="1" y="1" width="98" height="98" fill="#ffffff" stroke="#dbe9f5"/>\n'
            '<circle cx="50" cy="50" r="2.5" fill="#1f3a5f"/>\n' + paths[kind] + "\n")
    return {"glyph": "picture", "body": body, "size": (100, 100)}


ART = {
    # File, edit, window and help commands.
    57600: {"glyph": "new"},
    57601: {"glyph": "open"},
    57602: {"glyph": "close"},
    57603: {"glyph": "save"},
    57604: {"glyph": "saveas"},
    57606: {"glyph": "setup"},
    57607: {"glyph": "print"},
    57609: {"glyph": "preview"},
    57616: {"glyph": "recent"},
    57634: {"glyph": "copy"},
    57635: {"glyph": "cut"},
    57637: {"glyph": "paste"},
    57642: {"glyph": "selectall"},
    57643: {"glyph": "undo"},
    57644: {"glyph": "redo"},
    57648: {"glyph": "window"},
    57649: {"glyph": "letter", "ch": "≡"},
    57650: {"glyph": "cascade"},
    57651: {"glyph": "tile"},
    57652: {"glyph": "tile"},
    57664: {"glyph": "about"},
    57665: {"glyph": "exit"},
    57666: {"glyph": "help"},
    57667: {"glyph": "help"},
    57669: {"glyph": "help"},
    57670: {"glyph": "help"},
    57671: {"glyph": "help"},
    50015: {"glyph": "print"},
    # The 2D view's grid, modes and tools.
    50002: {"glyph": "gridpts"},
    50003: {"glyph": "finer"},
    50004: {"glyph": "letter", "ch": "⌖", "colour": "#3c9d5d"},
    50005: {"glyph": "axes"},
    50006: {"glyph": "view2d"},
    50007: {"glyph": "coords"},
    50008: {"glyph": "letter", "ch": "F", "colour": "#7a8591"},
    50009: {"glyph": "pointer"},
    50010: {"glyph": "delete"},
    50011: {"glyph": "pan"},
    50012: {"glyph": "rotate"},
    50016: {"glyph": "pan"},
    50017: {"glyph": "rotate"},
    50018: {"glyph": "zoomin"},
    50019: {"glyph": "zoomout"},
    50020: {"glyph": "zoomfit"},
    50021: {"glyph": "zoomrect"},
    50022: {"glyph": "zoomdyn"},
    50023: {"glyph": "copy"},
    50024: {"glyph": "image"},
    50025: {"glyph": "print"},
    50026: {"glyph": "results"},
    50027: {"glyph": "light"},
    50028: {"glyph": "mesh"},
    50029: {"glyph": "view2d"},
    50030: {"glyph": "view3d"},
    # The plate program: modes, model, mesh and calculation.
    32804: {"glyph": "polygon"},
    32854: {"glyph": "mesh"},
    50055: {"glyph": "results"},
    34009: {"glyph": "material"},
    34016: {"glyph": "loads"},
    34018: {"glyph": "mesh"},
    34046: {"glyph": "letter", "ch": "E"},                        # element options
    34034: {"glyph": "finer"},
    34044: {"glyph": "letter", "ch": "1"},
    34045: {"glyph": "letter", "ch": "#"},
    34050: {"glyph": "log"},
    34052: {"glyph": "letter", "ch": "↓", "colour": "#3c9d5d"},
    34053: {"glyph": "pan"},
    34059: {"glyph": "support"},
    34060: {"glyph": "support"},
    34061: {"glyph": "letter", "ch": "M"},
    34062: {"glyph": "log"},
    34063: {"glyph": "letter", "ch": "↓", "colour": "#4a90c8"},
    34072: {"glyph": "measure"},
    34075: {"glyph": "list"},
    34078: {"glyph": "letter", "ch": "↑", "colour": "#3c9d5d"},
    34081: {"glyph": "axes"},
    50068: {"glyph": "calc"},
    50069: {"glyph": "deform"},
    50070: {"glyph": "finer"},
    50071: {"glyph": "coarser"},
    50072: {"glyph": "stop"},
    # Dialog pictures: ring segments, formulas and the symbols of fields.
    16070: ring(1),
    16178: ring(2),
    16181: ring(3),
    16300: formula("t = t₀ + Δtₓ (x − x₀) + Δtᵧ (y − y₀)", size=12),
    16301: formula("p = p₀ + Δpₓ (x − x₀) + Δpᵧ (y − y₀)", size=12),
    16302: formula("αⁱ = α₀ⁱ + Δαₓⁱ (x − x₀) + Δαᵧⁱ (y − y₀)", size=11),
    16303: formula("αⁱ = ε₀ⁱ", 56, 14, 10),
    16304: formula("α¹ = ΔT", 53, 14, 10),
    16310: symbol("t", "0"),
    16311: symbol("Δt", "x"),
    16312: symbol("Δt", "y"),
    16313: symbol("p", "0"),
    16314: symbol("Δp", "x"),
    16315: symbol("Δp", "y"),
    16316: symbol("α", "0¹"),
    16317: symbol("Δα", "x¹"),
    16318: symbol("Δα", "y¹"),
    16319: symbol("α", "0²"),
    16320: symbol("Δα", "x²"),
    16321: symbol("Δα", "y²"),
    16322: symbol("x", "0", 12, 12),
    16323: symbol("y", "0", 12, 12),
    16324: formula("dy/dx = a + b x", 66, 30, 11),
}

# Commands and pictures of the program's frame, views and pages. Where a
# command has no plainer picture, a letter badge in its group's colour.
ART.update({
    32794: {"glyph": "help"},          # user manual
    32797: {"glyph": "material"},      # active material
    32799: {"glyph": "thickness"},     # current thickness
    32853: {"glyph": "view3d"},        # viewing mode
    34032: {"glyph": "mesh"},          # generate mesh
    34069: {"glyph": "zoomfit"},       # automatic zoom
    34070: {"glyph": "results"},       # automatic result scale
    34071: {"glyph": "thickness"},     # grid thickness
    50114: {"glyph": "results"},       # stress component
    # The modelling view's drawing tools and edits.
    32785: {"glyph": "node"},
    32773: {"glyph": "rect"},
    32775: {"glyph": "letter", "ch": "◇"},
    32777: {"glyph": "letter", "ch": "△"},
    32813: {"glyph": "polygon"},
    32772: {"glyph": "hole"},
    34076: {"glyph": "arc"},
    34055: {"glyph": "letter", "ch": "#", "colour": "#d9534f"},   # delete mesh
    34057: {"glyph": "letter", "ch": "σ", "colour": "#7a8591"},   # delete results
    34058: {"glyph": "letter", "ch": "i"},                        # edit / information
    34080: {"glyph": "letter", "ch": "↻"},                        # repeat / quit
    33067: {"glyph": "letter", "ch": "⇄"},
    33068: {"glyph": "letter", "ch": "⇅"},
    34054: {"glyph": "loads"},
    34017: {"glyph": "mesh"},
    34082: {"glyph": "axes"},
    32844: {"glyph": "deform"},
    32806: {"glyph": "letter", "ch": "σ", "colour": "#d9534f"},
    32807: {"glyph": "letter", "ch": "τ", "colour": "#d9534f"},
    32820: {"glyph": "letter", "ch": "w", "colour": "#d9534f"},
    33013: {"glyph": "letter", "ch": "∪", "colour": "#3c9d5d"},  # union
    33012: {"glyph": "letter", "ch": "÷", "colour": "#3c9d5d"},  # divide
    32920: {"glyph": "letter", "ch": "⌒", "colour": "#3c9d5d"},  # fillet
    50056: {"glyph": "view3d"},
    50057: {"glyph": "letter", "ch": "T", "colour": "#7a8591"},
    50058: {"glyph": "letter", "ch": "F", "colour": "#7a8591"},
    50059: {"glyph": "letter", "ch": "S", "colour": "#7a8591"},
    50060: {"glyph": "rotate"},
    50061: {"glyph": "pan"},
    50062: {"glyph": "zoomin"},
    50063: {"glyph": "zoomout"},
    34033: {"glyph": "mesh"},
    34073: {"glyph": "finer"},
    34074: {"glyph": "coarser"},
    32845: {"glyph": "letter", "ch": "#", "colour": "#7a8591"},
    16170: {"glyph": "support"},
    16171: {"glyph": "support"},
    16172: {"glyph": "load"},
    16173: {"glyph": "loads"},
    728: {"glyph": "support"},
    729: {"glyph": "support"},
    730: {"glyph": "support"},
    732: {"glyph": "load"},
    733: {"glyph": "loads"},
    734: {"glyph": "axes"},
    746: {"glyph": "beam"},
    766: {"glyph": "section"},
    788: {"glyph": "letter", "ch": "k", "colour": "#3c9d5d"},   # spring
    # Menu commands of the options, views and window.
    32856: {"glyph": "palette"},       # colour options
    34019: {"glyph": "letter", "ch": "U"},                        # units and formats
    34043: {"glyph": "letter", "ch": "×", "colour": "#d9534f"},   # set result scale
    34064: {"glyph": "letter", "ch": "⇔", "colour": "#3c9d5d"},   # link DOFs
    34065: {"glyph": "print"},         # print results to file
    34066: {"glyph": "selectall"},     # select objects
    50000: {"glyph": "workbook"},      # documents as tabs
    50001: {"glyph": "log"},           # log window
    50013: {"glyph": "letter", "ch": "G", "colour": "#7a8591"},   # no OpenGL acceleration
    50031: {"glyph": "pan"},           # move absolute
    50032: {"glyph": "toolbar"},       # customise toolbars
    50036: {"glyph": "letter", "ch": "x", "colour": "#4a90c8"},   # preset views
    50037: {"glyph": "letter", "ch": "-x", "colour": "#4a90c8"},
    50038: {"glyph": "letter", "ch": "y", "colour": "#4a90c8"},
    50039: {"glyph": "letter", "ch": "-y", "colour": "#4a90c8"},
    50040: {"glyph": "letter", "ch": "z", "colour": "#4a90c8"},
    50041: {"glyph": "letter", "ch": "-z", "colour": "#4a90c8"},
    50042: {"glyph": "letter", "ch": "←"},                        # arrow moves
    50043: {"glyph": "letter", "ch": "→"},
    50044: {"glyph": "letter", "ch": "↑"},
    50045: {"glyph": "letter", "ch": "↓"},
    50046: {"glyph": "settings"},      # OpenGL options
    50047: {"glyph": "font"},          # text font
    50048: {"glyph": "rotate"},        # step rotations
    50049: {"glyph": "rotate"},
    50050: {"glyph": "rotate"},
    50051: {"glyph": "rotate"},
    50052: {"glyph": "rotate"},
    50053: {"glyph": "rotate"},
    50054: {"glyph": "letter", "ch": "C", "colour": "#7a8591"},   # clip planes
    50064: {"glyph": "zoomin"},        # zoom factor
    50066: {"glyph": "letter", "ch": "⊙"},                        # centre of rotation
    50067: {"glyph": "letter", "ch": "⊕"},
    57608: {"glyph": "print"},         # print direct
})

# ---- Element pictures of the new-document and element pages ----------------
# They belong to the dialogs library (resources/art/elements/): each shows the
# element's shape with its nodes. Membrane elements are drawn on a blue sheet,
# plate elements on a yellow one; corner nodes that carry slopes (and
# curvatures) as well as the deflection wear one ring (two rings).

ELEMENT_W, ELEMENT_H = 160, 100
MEMBRANE_FILL = "#dbe9f5"
PLATE_FILL = "#fbe7c4"
EDGE = "#1f3a5f"
NODE = "#1f3a5f"
INNER = "#d9534f"   # nodes inside the element


def _frame():
    return (f'<rect x="0.5" y="0.5" width="{ELEMENT_W-1}" height="{ELEMENT_H-1}" '
            f'fill="#ffffff" stroke="#dbe9f5"/>\n')


def _node(x, y, colour=NODE, r=3.6):
    return f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r}" fill="{colour}"/>\n'


def _rings(x, y, count):
    return "".join(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{7 + 4 * n}" fill="none" stroke="{EDGE}" '
                   f'stroke-width="1.4"/>\n' for n in range(count))


def _polygon(points, fill):
    d = " ".join(f"{'M' if i == 0 else 'L'}{x:.1f} {y:.1f}" for i, (x, y) in enumerate(points))
    return (f'<path d="{d} Z" fill="{fill}" stroke="{EDGE}" stroke-width="2.4" '
            f'stroke-linejoin="round"/>\n')


TRIANGLE = ((24, 84), (136, 84), (64, 16))
QUAD = ((24, 86), (136, 90), (126, 14), (34, 18))


def triangle(order, fill, rings=0):
    """A triangle with the nodes of a complete polynomial of the order:
    (order + 1)(order + 2) / 2 of them, on the edges and inside; rings
    around the corners for each further order of derivatives they carry."""
    (ax, ay), (bx, by), (cx, cy) = TRIANGLE
    body = _frame() + _polygon(TRIANGLE, fill)
    for i in range(order + 1):
        for j in range(order + 1 - i):
            k = order - i - j
            x = (i * ax + j * bx + k * cx) / order
            y = (i * ay + j * by + k * cy) / order
            inside = i > 0 and j > 0 and k > 0
            corner = max(i, j, k) == order
            if corner:
                body += _rings(x, y, rings)
            body += _node(x, y, INNER if inside else NODE)
    return {"glyph": "picture", "body": body, "size": (ELEMENT_W, ELEMENT_H), "folder": "elements"}


def quadrilateral(per_edge, fill, centre=False, bubble=False):
    """A quadrilateral with per_edge nodes on each edge (corners included),
    a centre node or the dashed bubble of condensed nodeless freedoms."""
    body = _frame() + _polygon(QUAD, fill)
    if bubble:
        body += (f'<ellipse cx="80" cy="52" rx="24" ry="16" fill="none" stroke="{INNER}" '
                 f'stroke-width="1.6" stroke-dasharray="5 3"/>\n')
    for n in range(4):
        (x0, y0), (x1, y1) = QUAD[n], QUAD[(n + 1) % 4]
        for s in range(per_edge - 1):
            t = s / (per_edge - 1)
            body += _node(x0 + t * (x1 - x0), y0 + t * (y1 - y0))
    if centre:
        body += _node(sum(p[0] for p in QUAD) / 4, sum(p[1] for p in QUAD) / 4, INNER)
    return {"glyph": "picture", "body": body, "size": (ELEMENT_W, ELEMENT_H), "folder": "elements"}


def document_type(bending):
    """The document-type buttons: a plate under loads across its plane
    (bending) or in its plane (membrane)."""
    sheet = "M14 62 L62 80 L88 46 L40 30 Z"
    body = (f'<rect x="0.5" y="0.5" width="99" height="99" fill="#ffffff" stroke="#dbe9f5"/>\n'
            f'<path d="{sheet}" fill="{PLATE_FILL if bending else MEMBRANE_FILL}" stroke="{EDGE}" '
            f'stroke-width="2" stroke-linejoin="round"/>\n')
    arrow = 'fill="none" stroke="#d9534f" stroke-width="2.2" stroke-linecap="round"'
    head = 'fill="#d9534f"'
    if bending:
        for x, y in ((34, 48), (52, 56), (58, 44), (70, 60)):
            body += (f'<path d="M{x} {y-26} V{y-6}" {arrow}/>\n'
                     f'<path d="M{x-4} {y-9} L{x} {y-1} L{x+4} {y-9} Z" {head}/>\n')
    else:
        body += (f'<path d="M90 52 H98" {arrow}/><path d="M94 48 L99.5 52 L94 56 Z" {head}/>\n'
                 f'<path d="M84 40 L92 33" {arrow}/><path d="M88 31 L95 30 L92 37 Z" {head}/>\n'
                 f'<path d="M12 56 H3" {arrow}/><path d="M6 52 L0.5 56 L6 60 Z" {head}/>\n')
    return {"glyph": "picture", "body": body, "size": (100, 100), "folder": "elements"}


ART.update({
    16001: document_type(False),                      # membrane document
    16002: document_type(True),                       # plate-bending document
    16005: triangle(1, MEMBRANE_FILL),                # CST
    16006: triangle(2, MEMBRANE_FILL),                # LST
    16007: triangle(3, MEMBRANE_FILL),                # QST
    16008: quadrilateral(2, MEMBRANE_FILL),           # Q4
    16009: quadrilateral(2, MEMBRANE_FILL, bubble=True),  # Q6
    16010: quadrilateral(3, MEMBRANE_FILL),           # Q8
    16011: quadrilateral(3, MEMBRANE_FILL, centre=True),  # Q9
    16012: triangle(4, PLATE_FILL),                   # T15
    16013: triangle(1, PLATE_FILL, rings=2),          # T18: slopes and curvatures
    16014: triangle(5, PLATE_FILL),                   # T21
    16015: triangle(1, PLATE_FILL, rings=1),          # TEBA (and DKT)
    16067: triangle(2, PLATE_FILL),                   # T6
    16068: triangle(1, PLATE_FILL, rings=1),          # DKT
})
