#!/usr/bin/env python3
"""Writes a history with one entry of every kind (and a few source applications with icons)
for the popup's desktop test: make_history.py <data-home> [--empty | --hostile].

--hostile puts entries whose previews could hold the popup up first in view, after the pinned ones:
file entries naming a FIFO and a symbolic link to /dev/zero (each under an image name and a plain
one), and rich-text entries of 500,000 paragraphs in RTF and in HTML."""
import json
import os
import subprocess
import sys
import uuid
from datetime import datetime, timedelta, timezone

import onepagepdf

data_home = sys.argv[1]
folder = os.path.join(data_home, "Stashwell")
images = os.path.join(folder, "images")
assets = os.path.join(folder, "assets")
apps = os.path.join(data_home, "applications")
icons = os.path.join(data_home, "icons")
for path in (images, assets, apps, icons):
    os.makedirs(path, exist_ok=True)
os.chmod(folder, 0o700)

if "--empty" in sys.argv:
    with open(os.path.join(folder, "history.json"), "w") as f:
        f.write("[]")
    sys.exit(0)


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def app(bundle, name, draw):
    icon = os.path.join(icons, bundle + ".png")
    magick("-size", "128x128", "xc:none", *draw, icon)
    with open(os.path.join(apps, bundle + ".desktop"), "w") as f:
        f.write(f"[Desktop Entry]\nType=Application\nName={name}\nIcon={icon}\nExec=true\n")
    return bundle, name


NOTES = app("org.example.Notes", "Notes", ["-fill", "#F5A623", "-draw", "roundrectangle 8,8 120,120 28,28",
                                           "-fill", "white", "-draw", "rectangle 34,40 94,48",
                                           "-draw", "rectangle 34,60 94,68", "-draw", "rectangle 34,80 80,88"])
BROWSER = app("org.example.Browser", "Browser", ["-fill", "#2E7CF6", "-draw", "circle 64,64 64,8",
                                                 "-fill", "#7FD3FF", "-draw", "ellipse 64,64 26,56 0,360"])
TERMINAL = app("org.example.Terminal", "Terminal", ["-fill", "#2D3A35", "-draw", "roundrectangle 8,8 120,120 24,24",
                                                    "-fill", "#3DDC84", "-draw", "polygon 30,44 58,64 30,84",
                                                    "-draw", "rectangle 64,80 98,88"])
DESIGN = app("org.example.Design", "Design", ["-fill", "#B93CF6", "-draw", "roundrectangle 8,8 120,120 28,28",
                                              "-fill", "#FF5DA2", "-draw", "circle 64,64 64,30"])
FILES = app("org.example.Files", "Files", ["-fill", "#1BA39C", "-draw", "roundrectangle 8,22 120,112 14,14",
                                           "-fill", "#5ED6C9", "-draw", "roundrectangle 8,38 120,112 14,14"])

now = datetime.now(timezone.utc).replace(microsecond=0)
entries = []


def add(kind, minutes, source=None, pinned=False, **fields):
    item = {"id": str(uuid.uuid4()).upper(), "kind": kind,
            "createdAt": (now - timedelta(minutes=minutes)).strftime("%Y-%m-%dT%H:%M:%SZ"), "isPinned": pinned}
    if source:
        item["sourceBundleID"], item["sourceAppName"] = source
    item.update(fields)
    entries.append(item)


photo = os.path.join(images, str(uuid.uuid4()).upper() + ".png")
magick("-size", "900x600", "gradient:#ff9a5a-#6a3bd1", "-fill", "#ffd166", "-draw", "circle 640,180 640,100",
       "-fill", "#1b1b3a", "-draw", "polygon 0,600 250,330 470,600", "-draw", "polygon 300,600 620,280 900,600", photo)
page = os.path.join(images, str(uuid.uuid4()).upper() + ".png")
magick("-size", "612x792", "xc:white", "-fill", "#222", "-pointsize", "34", "-draw", "text 60,110 'Quarterly Report'",
       "-fill", "#888", "-draw", "rectangle 60,150 540,160", "-draw", "rectangle 60,190 500,198",
       "-draw", "rectangle 60,220 520,228", "-draw", "rectangle 60,250 450,258",
       "-fill", "#2E7CF6", "-draw", "rectangle 60,320 160,560", "-fill", "#F5A623", "-draw", "rectangle 200,400 300,560",
       "-fill", "#3DDC84", "-draw", "rectangle 340,360 440,560", page)
pdf = os.path.join(assets, str(uuid.uuid4()).upper() + ".pdf")

def write_pdf(path, title):
    onepagepdf.write(path, f"BT /F1 28 Tf 60 700 Td ({title}) Tj ET".encode())


write_pdf(pdf, "Quarterly Report")
home = os.environ.get("HOME", "/tmp")
docs = os.path.join(home, "Documents")
os.makedirs(docs, exist_ok=True)
plan = os.path.join(docs, "Project plan.odt")
with open(plan, "w") as f:
    f.write("plan")
shot = os.path.join(docs, "holiday.png")
magick("-size", "640x480", "gradient:#56ccf2-#2f80ed", "-fill", "#f2f2f2", "-draw", "circle 320,300 320,200", shot)
rtf = os.path.join(assets, str(uuid.uuid4()).upper() + ".rtf")
with open(rtf, "w") as f:
    f.write(r"{\rtf1\ansi{\fonttbl\f0 Helvetica;}\f0\b Meeting notes\b0\par Ship the popup on Friday.}")

add("text", 9, NOTES, pinned=True, text="Wi-Fi password for the studio: blue-lantern-42", characterCount=47)
add("link", 60 * 26, BROWSER, pinned=True, text="https://github.com/stashwell/stashwell/issues/5")
add("text", 0, TERMINAL, text="git log --oneline --graph --decorate --all | head -40\n"
    "git rebase -i origin/main\ngit push --force-with-lease")
add("image", 2, DESIGN, imagePath=photo, thumbnailPath=photo, imageWidth=900, imageHeight=600,
    contentHash="0123456789abcdef01234567")
add("richText", 5, NOTES, text="Meeting notes\nShip the popup on Friday.", assetPath=rtf)
add("color", 7, DESIGN, colorHex="#FF6B6B")
add("pdf", 11, BROWSER, imagePath=page, thumbnailPath=page, assetPath=pdf, imageWidth=612, imageHeight=792,
    text="Quarterly Report", contentHash="abcdef0123456789abcdef01")
add("file", 15, FILES, filePaths=[plan, "/etc/hostname", "/etc/hosts"])
add("html", 20, BROWSER, text="The quick brown fox jumps over the lazy dog. Typography matters: kerning, leading "
    "and measure make a text easy to read.")
add("file", 30, FILES, filePaths=[shot])
add("link", 45, TERMINAL, text="https://doc.qt.io/qt-6/qabstractscrollarea.html")
add("text", 60 * 24 * 3, None, text="Lorem ipsum dolor sit amet, consectetur adipiscing elit. Sed do eiusmod tempor "
    "incididunt ut labore et dolore magna aliqua.")



def add_hostile():
    traps = os.path.join(home, "Traps")
    os.makedirs(traps, exist_ok=True)
    for name in ("pipe.png", "pipe"):
        os.mkfifo(os.path.join(traps, name))
    for name in ("zero.png", "zero"):
        os.symlink("/dev/zero", os.path.join(traps, name))
    paragraphs = 500000
    big_rtf = os.path.join(assets, str(uuid.uuid4()).upper() + ".rtf")
    with open(big_rtf, "w") as f:
        f.write(r"{\rtf1\ansi{\fonttbl\f0 Helvetica;}\f0\b Long minutes\b0\par ")
        f.write("".join(f"Item {n}.\\par " for n in range(paragraphs)))
        f.write("}")
    big_html = os.path.join(assets, str(uuid.uuid4()).upper() + ".html")
    with open(big_html, "w") as f:
        f.write("<html><body><h1>Long page</h1>")
        f.write("".join(f"<p>Item {n}.</p>" for n in range(paragraphs)))
        f.write("</body></html>")
    pinned = sum(1 for e in entries if e["isPinned"])
    rest = entries[pinned:]
    del entries[pinned:]
    add("file", 0, FILES, filePaths=[os.path.join(traps, "pipe.png")])
    add("file", 0, FILES, filePaths=[os.path.join(traps, "pipe"), "/etc/hostname"])
    add("file", 0, FILES, filePaths=[os.path.join(traps, "zero.png")])
    add("file", 0, FILES, filePaths=[os.path.join(traps, "zero")])
    add("richText", 1, NOTES, text="Long minutes", characterCount=paragraphs * 12, assetPath=big_rtf)
    add("richText", 1, BROWSER, text="Long page", characterCount=paragraphs * 12, assetPath=big_html)
    entries.extend(rest)


if "--hostile" in sys.argv:
    add_hostile()

with open(os.path.join(folder, "history.json"), "w") as f:
    json.dump(entries, f)
