#!/usr/bin/env python3
"""Writes the documents the capture-kinds test copies: a one-page PDF (200 x 100 points), a damaged
one, and RTF. Images are made with ImageMagick by the test itself.

  make-capture-fixtures.py FOLDER
"""
import os
import sys


def pdf(width, height):
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %d %d] /Contents 4 0 R >>" % (width, height),
    ]
    stream = b"0 0 1 rg 10 10 80 40 re f"
    objects.append(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(stream), stream))
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


def main():
    folder = sys.argv[1]
    files = {
        "page.pdf": pdf(200, 100),
        "damaged.pdf": b"%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R",
        "styled.rtf": b"{\\rtf1\\ansi\\deff0 {\\fonttbl {\\f0 Helvetica;}}\\f0 {\\b Bold} words\\par}",
        "color.bin": bytes([0xFF, 0xFF, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF]),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


main()
