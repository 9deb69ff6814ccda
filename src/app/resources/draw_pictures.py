#!/usr/bin/env python3
"""Draws the program's pictures as XPM files (run in this folder).

Plain geometry on a character grid, so the pictures need no drawing program
and the output is the same on every machine.
"""
import math


class Canvas:
    def __init__(self, width, height, background):
        self.w, self.h = width, height
        self.px = [[background] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c, inner=None):
        for y in range(self.h):
            for x in range(self.w):
                d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
                if d <= 1.0:
                    if inner is not None:
                        irx, iry = rx - inner, ry - inner
                        if ((x + 0.5 - cx) / irx) ** 2 + ((y + 0.5 - cy) / iry) ** 2 < 1.0:
                            continue
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, width, c):
        length = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
        for i in range(int(length) + 1):
            t = i / length
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            r = width / 2
            for yy in range(int(y - r) - 1, int(y + r) + 2):
                for xx in range(int(x - r) - 1, int(x + r) + 2):
                    if (xx + 0.5 - x) ** 2 + (yy + 0.5 - y) ** 2 <= r * r:
                        self.put(xx, yy, c)

    def xpm(self, name, colours):
        out = ["/* XPM */", "static const char *%s[] = {" % name,
               '"%d %d %d 1",' % (self.w, self.h, len(colours))]
        for key, value in colours.items():
            out.append('"%s c %s",' % (key, value))
        rows = ['"%s"' % "".join(row) for row in self.px]
        out.append(",\n".join(rows))
        out.append("};")
        return "\n".join(out) + "\n"


def cylinder(c, x0, y0, width, height, body, top, line):
    rx = width / 2
    cx = x0 + rx
    ry = max(2, height // 6)
    c.rect(x0, y0 + ry, x0 + width - 1, y0 + height - ry, body)
    c.ellipse(cx, y0 + height - ry, rx, ry, body)
    for k in (1, 2):
        yb = y0 + ry + (height - 2 * ry) * k // 3
        for x in range(x0, x0 + width):
            dx = (x + 0.5 - cx) / rx
            if abs(dx) < 1:
                c.put(x, int(yb + ry * math.sqrt(1 - dx * dx)) - 1, line)
    c.ellipse(cx, y0 + ry, rx, ry, top)


def magnifier(c, cx, cy, r, ring, glass, handle, ring_width):
    c.ellipse(cx, cy, r, r, glass)
    c.ellipse(cx, cy, r, r, ring, inner=ring_width)
    d = r / math.sqrt(2)
    c.line(cx + d, cy + d, cx + d + r * 0.9, cy + d + r * 0.9, ring_width * 1.6, handle)


def page(c, x0, y0, x1, y1, paper, edge, text, step):
    c.rect(x0, y0, x1, y1, edge)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, paper)
    y = y0 + step
    while y < y1 - step // 2:
        c.rect(x0 + 3, y, x1 - 3 - (y * 7 % 5), y, text)
        y += step


# List icon: pure red is its transparent colour.
icon = Canvas(20, 20, "r")
cylinder(icon, 3, 1, 14, 18, "b", "l", "d")
open("listicon.xpm", "w").write(icon.xpm("listicon", {
    "r": "#FF0000", "b": "#1E5AA8", "l": "#8CB8EE", "d": "#0E2E5A"}))

# Logo of the button column.
logo = Canvas(200, 110, " ")
page(logo, 20, 8, 100, 104, "w", "k", "g", 8)
page(logo, 40, 16, 120, 104, "w", "k", "g", 8)
cylinder(logo, 128, 40, 52, 62, "b", "l", "d")
magnifier(logo, 86, 50, 26, "k", "c", "k", 5)
open("logo.xpm", "w").write(logo.xpm("logo", {
    " ": "None", "w": "#FFFFFF", "k": "#202020", "g": "#909090", "b": "#1E5AA8",
    "l": "#8CB8EE", "d": "#0E2E5A", "c": "#CFE8FF"}))

# Settings button: a cog wheel.
cog = Canvas(24, 24, " ")
for i in range(8):
    a = i * math.pi / 4
    cog.line(12 + 6 * math.cos(a), 12 + 6 * math.sin(a), 12 + 10 * math.cos(a),
             12 + 10 * math.sin(a), 3.2, "k")
cog.ellipse(12, 12, 8, 8, "k")
cog.ellipse(12, 12, 3.5, 3.5, " ")
open("einstellungen.xpm", "w").write(cog.xpm("einstellungen", {" ": "None", "k": "#303030"}))

# Folder button.
folder = Canvas(16, 16, " ")
folder.rect(1, 3, 6, 4, "y")
folder.rect(1, 4, 14, 13, "y")
folder.rect(1, 13, 14, 13, "o")
folder.rect(14, 4, 14, 13, "o")
open("ordner.xpm", "w").write(folder.xpm("ordner", {" ": "None", "y": "#F2C94C", "o": "#B8860B"}))

# Picture of the new-database dialog: the existing file list is used.
lst = Canvas(40, 40, " ")
page(lst, 6, 2, 33, 37, "w", "k", "b", 5)
lst.line(18, 30, 23, 35, 3, "g")
lst.line(23, 35, 34, 22, 3, "g")
open("liste.xpm", "w").write(lst.xpm("liste", {
    " ": "None", "w": "#FFFFFF", "k": "#202020", "b": "#1E5AA8", "g": "#1C8C3C"}))

# Program icon.
app = Canvas(48, 48, " ")
page(app, 4, 2, 34, 44, "w", "k", "g", 5)
magnifier(app, 30, 26, 11, "k", "c", "k", 3)
open("trovex-odt.xpm", "w").write(app.xpm("trovex_odt", {
    " ": "None", "w": "#FFFFFF", "k": "#202020", "g": "#909090", "c": "#7FD0C8"}))
