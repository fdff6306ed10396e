#!/usr/bin/env python3
"""Turns a Stashwell history.json into a CopyQ script that adds the same entries, oldest first so the
newest ends on top: copyq_fill.py <history.json> > fill.js, then `copyq eval - < fill.js`.
Text of every kind goes in as text/plain (HTML also as text/html), pictures and PDF previews as
image/png, files as text/uri-list."""
import json
import sys
from urllib.parse import quote

items = json.load(open(sys.argv[1]))

print("""function png(path) {
    var f = new File(path)
    if (!f.openReadOnly())
        throw 'cannot read ' + path
    var data = f.readAll()
    f.close()
    return data
}
function entry(formats) { write(0, formats) }""")

for item in reversed(items):
    kind = item["kind"]
    formats = {}
    picture = item.get("imagePath") or item.get("thumbnailPath")
    if kind in ("image", "pdf") and picture:
        formats["image/png"] = ("png", picture)
        if item.get("text"):
            formats["text/plain"] = item["text"]
    elif kind == "file":
        paths = item.get("filePaths", [])
        formats["text/uri-list"] = "\r\n".join("file://" + quote(p) for p in paths)
        formats["text/plain"] = "\n".join(paths)
    elif kind == "color":
        formats["text/plain"] = item.get("colorHex", "")
    else:
        formats["text/plain"] = item.get("text", "")
        if kind == "html":
            formats["text/html"] = "<p>" + item.get("text", "").replace("&", "&amp;").replace("<", "&lt;") + "</p>"
    parts = []
    for mime, value in formats.items():
        if isinstance(value, tuple):
            parts.append(f"{json.dumps(mime)}: png({json.dumps(value[1])})")
        else:
            parts.append(f"{json.dumps(mime)}: {json.dumps(value)}")
    print("entry({" + ", ".join(parts) + "})")
print("print(size())")
