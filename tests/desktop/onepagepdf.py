"""Writes a one-page PDF (US Letter) by hand from a content stream: no converter is needed for so
little. Shared by the desktop tests' sample histories and scripts/demo."""


def write(path, stream, fonts=("Helvetica",)):
    """`stream` is the page's content (bytes); the fonts are standard Type 1 fonts named /F1, /F2…"""
    font_refs = " ".join(f"/F{i} {5 + i} 0 R" for i in range(1, len(fonts) + 1)).encode()
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
               b"/Resources << /Font << " + font_refs + b" >> >> >>",
               b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream"]
    objects += [b"<< /Type /Font /Subtype /Type1 /BaseFont /%s >>" % font.encode() for font in fonts]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as f:
        f.write(out)
