#!/usr/bin/env python3
"""Writes the sample contents that scripts/demo copies, and the applications that copy them.

  demo-samples.py SAMPLES-FOLDER DATA-HOME HOME

Into SAMPLES-FOLDER: a photo-like landscape (PNG), a one-page report (PDF), release notes (RTF with
its own fonts, sizes and colours), a web article (HTML and its text), a colour (application/x-color)
and two lists of files (text/uri-list) whose files are created under HOME. Into DATA-HOME: a desktop
entry and an icon for each application that the demo shows in front while it copies.
"""
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "desktop"))
import onepagepdf  # noqa: E402

samples, data_home, home = sys.argv[1:4]
os.makedirs(samples, exist_ok=True)


def magick(*args):
    subprocess.run(["convert", *args], check=True)


# --- applications: a desktop entry and an icon each ------------------------------------------------
APPS = {
    # window class: (desktop id, name, icon drawing)
    "Notes": ("org.example.Notes", "Notes", ["-fill", "#F5A623", "-draw", "roundrectangle 8,8 120,120 28,28",
                                             "-fill", "white", "-draw", "rectangle 34,40 94,48",
                                             "-draw", "rectangle 34,60 94,68", "-draw", "rectangle 34,80 80,88"]),
    "Browser": ("org.example.Browser", "Browser", ["-fill", "#2E7CF6", "-draw", "circle 64,64 64,8",
                                                   "-fill", "#7FD3FF", "-draw", "ellipse 64,64 26,56 0,360"]),
    "Terminal": ("org.example.Terminal", "Terminal", ["-fill", "#2D3A35", "-draw", "roundrectangle 8,8 120,120 24,24",
                                                      "-fill", "#3DDC84", "-draw", "polygon 30,44 58,64 30,84",
                                                      "-draw", "rectangle 64,80 98,88"]),
    "Design": ("org.example.Design", "Design", ["-fill", "#B93CF6", "-draw", "roundrectangle 8,8 120,120 28,28",
                                                "-fill", "#FF5DA2", "-draw", "circle 64,64 64,30"]),
    "Files": ("org.example.Files", "Files", ["-fill", "#1BA39C", "-draw", "roundrectangle 8,22 120,112 14,14",
                                             "-fill", "#5ED6C9", "-draw", "roundrectangle 8,38 120,112 14,14"]),
    "Writer": ("org.example.Writer", "Writer", ["-fill", "#3F51B5", "-draw", "roundrectangle 8,8 120,120 28,28",
                                                "-fill", "white", "-draw", "polygon 40,90 52,90 76,36 64,36",
                                                "-draw", "rectangle 36,94 92,100"]),
    "Viewer": ("org.example.Viewer", "Document Viewer", ["-fill", "#E53935", "-draw", "roundrectangle 20,8 108,120 12,12",
                                                         "-fill", "white", "-draw", "rectangle 36,36 92,44",
                                                         "-draw", "rectangle 36,56 92,64", "-draw", "rectangle 36,76 76,84"]),
    "Photos": ("org.example.Photos", "Photos", ["-fill", "#FFB300", "-draw", "roundrectangle 8,8 120,120 28,28",
                                                "-fill", "#FF7043", "-draw", "polygon 24,100 56,52 80,84 90,70 106,100",
                                                "-fill", "white", "-draw", "circle 88,40 88,30"]),
}
applications = os.path.join(data_home, "applications")
icons = os.path.join(data_home, "icons")
os.makedirs(applications, exist_ok=True)
os.makedirs(icons, exist_ok=True)
for window_class, (desktop_id, name, drawing) in APPS.items():
    icon = os.path.join(icons, desktop_id + ".png")
    magick("-size", "128x128", "xc:none", *drawing, icon)
    with open(os.path.join(applications, desktop_id + ".desktop"), "w") as f:
        f.write(f"[Desktop Entry]\nType=Application\nName={name}\nIcon={icon}\nExec=true\n"
                f"StartupWMClass={window_class}\n")


# --- a landscape at sunset, for the image card ------------------------------------------------------
def ridge(rng, width, base, roughness, span):
    """A mountain ridge by midpoint displacement, as a closed polygon down to the bottom edge."""
    points = [base + rng.uniform(-span, span), base + rng.uniform(-span, span)]
    for _ in range(7):
        finer = []
        for a, b in zip(points, points[1:]):
            finer += [a, (a + b) / 2 + rng.uniform(-span, span)]
        finer.append(points[-1])
        points = finer
        span *= roughness
    step = width / (len(points) - 1)
    return " ".join(f"{i * step:.0f},{y:.0f}" for i, y in enumerate(points))


def landscape(path):
    width, height = 960, 640
    rng = random.Random(11)
    command = ["-size", f"{width}x{height}", "gradient:#ffd89b-#f0785a",
               "(", "-size", f"{width}x{height}", "xc:none", "-fill", "#fff3c4", "-draw", "circle 690,265 690,135",
               "-blur", "0x70", ")", "-composite", "-fill", "#fffbe8", "-draw", "circle 690,265 690,227"]
    for i, (colour, base, roughness, span) in enumerate([("#c0607e", 376, 0.55, 96), ("#7d3f72", 448, 0.55, 72),
                                                         ("#45284f", 512, 0.5, 48), ("#24162f", 576, 0.5, 32)]):
        outline = ridge(rng, width, base, roughness, span)
        command += ["(", "-size", f"{width}x{height}", "xc:none", "-fill", colour,
                    "-draw", f"polygon 0,{height} {outline} {width},{height}"]
        if i == 0:
            command += ["-blur", "0x2"]  # the farthest range, softened by the haze
        command += [")", "-composite"]
    magick(*command, path)


landscape(os.path.join(samples, "sunset.png"))


# --- a one-page report, for the PDF card ------------------------------------------------------------
def pdf(path):
    lines = [
        "0.16 0.20 0.33 rg 0 712 612 80 re f",
        "BT /F2 30 Tf 1 1 1 rg 48 742 Td (Quarterly Report) Tj ET",
        "BT /F1 12 Tf 0.85 0.88 0.95 rg 48 722 Td (Second quarter - prepared for the board) Tj ET",
        "BT /F2 16 Tf 0.16 0.20 0.33 rg 48 670 Td (Highlights) Tj ET",
    ]
    body = ["Revenue grew 18% over the first quarter, led by the new subscription",
            "plans. Support tickets fell by a third after the redesign of the",
            "settings window, and the popup now opens in under 40 milliseconds."]
    for i, text in enumerate(body):
        lines.append(f"BT /F1 12 Tf 0.2 0.2 0.2 rg 48 {644 - i * 18} Td ({text}) Tj ET")
    lines.append("BT /F2 16 Tf 0.16 0.20 0.33 rg 48 560 Td (Revenue by month) Tj ET")
    bars = [(0.18, 0.49, 0.96, 140), (0.18, 0.49, 0.96, 190), (0.18, 0.49, 0.96, 170),
            (0.96, 0.65, 0.14, 230), (0.96, 0.65, 0.14, 260), (0.24, 0.86, 0.52, 310)]
    for i, (r, g, b, h) in enumerate(bars):
        x = 64 + i * 82
        lines.append(f"{r} {g} {b} rg {x} 200 56 {h} re f")
        month = ["Jan", "Feb", "Mar", "Apr", "May", "Jun"][i]
        lines.append(f"BT /F1 11 Tf 0.4 0.4 0.4 rg {x + 16} 184 Td ({month}) Tj ET")
    lines.append("0.7 0.7 0.7 RG 1 w 48 200 m 564 200 l S")
    lines.append("BT /F1 9 Tf 0.55 0.55 0.55 rg 48 60 Td (Stashwell sample document - page 1 of 1) Tj ET")
    stream = "\n".join(lines).encode()
    onepagepdf.write(path, stream, fonts=("Helvetica", "Helvetica-Bold"))


pdf(os.path.join(samples, "report.pdf"))

# --- release notes in RTF: a 24-point heading, body text in a serif face, colours --------------------
with open(os.path.join(samples, "release-notes.rtf"), "w") as f:
    f.write(r"""{\rtf1\ansi\ansicpg1252\deff0
{\fonttbl{\f0\fswiss Helvetica;}{\f1\froman Georgia;}{\f2\fmodern Courier New;}}
{\colortbl;\red31\green92\blue170;\red200\green60\blue40;\red90\green90\blue90;}
\pard\sa120{\f0\fs48\b\cf1 Release notes}\par
\pard\sa100{\f1\fs26 Version 2.4 brings a {\b faster search}, {\i smoother} animations and a {\cf2 new colour picker}.}\par
\pard\sa100{\f1\fs26 Pinned entries now survive every clear.}\par
\pard{\f2\fs20\cf3 $ stashwell --version}\par
}""")

# --- a web article in HTML, with the text a browser offers beside it --------------------------------
with open(os.path.join(samples, "article.html"), "w") as f:
    f.write('<meta charset="utf-8"><h3>Debian 12 \u201cbookworm\u201d released</h3>'
            "<p>After 1 year, 9 months and 28 days of development, the Debian project presents "
            '<b>version 12</b>, supported for the next five years. It ships <a href="https://www.debian.org/News/'
            '2023/20230610">over 11,000 new packages</a>, among them:</p>'
            "<ul><li>GNOME 43</li><li>KDE Plasma 5.27</li><li>Linux kernel 6.1</li></ul>")
with open(os.path.join(samples, "article.txt"), "w") as f:
    f.write("Debian 12 \u201cbookworm\u201d released\nAfter 1 year, 9 months and 28 days of development, the Debian "
            "project presents version 12, supported for the next five years. It ships over 11,000 new packages, "
            "among them:\nGNOME 43\nKDE Plasma 5.27\nLinux kernel 6.1\n")

# --- a colour: application/x-color is four 16-bit channels ------------------------------------------
with open(os.path.join(samples, "colour.bin"), "wb") as f:
    f.write(bytes([0x5E, 0x5E, 0x5C, 0x5C, 0xE6, 0xE6, 0xFF, 0xFF]))  # #5E5CE6

# --- files: three documents, and two pictures -------------------------------------------------------
documents = os.path.join(home, "Documents")
pictures = os.path.join(home, "Pictures")
os.makedirs(documents, exist_ok=True)
os.makedirs(pictures, exist_ok=True)
paths = [os.path.join(documents, name) for name in ("Budget 2024.ods", "Project plan.odt", "notes.txt")]
for path in paths:
    with open(path, "w") as f:
        f.write("sample\n")
lake = os.path.join(pictures, "lake.png")
magick("-size", "800x600", "gradient:#8fd3f4-#2f80ed", "-fill", "#1b3a5c",
       "-draw", "polygon 0,600 0,400 180,330 360,420 520,300 800,410 800,600", "-fill", "#f6f9fc",
       "-draw", "circle 610,140 610,100", lake)
second = os.path.join(pictures, "harbour.png")
magick("-size", "400x300", "gradient:#f6d365-#fda085", second)


def uri_list(path, files):
    from urllib.parse import quote
    with open(path, "w") as f:
        f.write("".join(f"file://{quote(p)}\r\n" for p in files))


uri_list(os.path.join(samples, "documents.uris"), paths)
uri_list(os.path.join(samples, "pictures.uris"), [lake, second])
