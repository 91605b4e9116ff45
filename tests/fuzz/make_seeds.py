#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into corpus/<target>/ (run from anywhere).

The seeds are the hard cases the code is known for: tags across lines, unclosed and nested
delimiters, surrogate pairs, CR LF next to lone breaks; numbers with blanks inside, exponents
with D, &H and &O; Shift_JIS and UTF-8 files with 0x1A, NUL and byte order marks.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


cleanup = {
    "tags_across_lines": (0, "Hello\r\n<b\r\n>World</b>\r\n"),
    "examples": (0, "x<b>y</b>z|a>b<c>d|1 < 2 and 3 > 2|<a<b>c>|<a> x < y <b>|see <here"),
    "pairs_and_lone": (0, "a\r\nb\nc\rd"),
    "lone_lf": (0, "one\ntwo\n<p>three</p>"),
    "surrogates": (0, "\U0001F600<\ud800>\udc00 \U00020B9F\n"),
    "japanese_html": (0, "<html><body><p>デスクトップ</p>\n<br>の下端</body></html>"),
    "unclosed": (0, "a < b <c"),
    # Mode 0x80 + lengths: open 2, close 2, replacement 1 ("<!", "->", "_").
    "long_delimiters": (0x80 | 1 | 1 << 2 | 1 << 4, "<!->_x<!-- c -->y<!z->w"),
    "overlapping": (0x80 | 2 | 2 << 2, "abaaba" + "abaabaabaXabaababa"),
}
for name, (mode, text) in cleanup.items():
    write("fuzz_cleanup", name, bytes([mode]) + utf16(text))

numbers = ["12abc", "-7", "1e2", "abc", "", "7.5", " - 3 0 . 2 5 ", "1D+3", "&HFF", "&o777",
           "&H", ".5", "5.", "1e", "1e+", "+.e1", "1" * 400, "9" * 30 + "e300", "1e-400",
           "\t1\n2\r3"]
for i, text in enumerate(numbers):
    write("fuzz_val", f"utf8_{i:02}", b"\x00" + text.encode())
write("fuzz_val", "utf16_fullwidth", b"\x01" + utf16("１２3\u00a04"))

files = {
    "utf8_text": "vorn2 — デスクトップの下端を流れる一行のテキスト。\r\n".encode(),
    "utf8_bom": b"\xef\xbb\xbf" + "BOM付き\n".encode(),
    "shift_jis": "シフトJISの行\r\n半角ｶﾅ\r\n".encode("cp932"),
    "cp932_nec": "①②㈱〜－".encode("cp932"),
    "eof_marker": b"text\x1amore",
    "nul_bytes": b"a\x00b\x00\x00c",
    "truncated_utf8": "あ".encode()[:2],
    "truncated_sjis": "あ".encode("cp932")[:1],
    "empty": b"",
    # Only the first mark is one; the second is U+FEFF in the text.
    "two_marks": b"\xef\xbb\xbf\xef\xbb\xbf",
}
for name, data in files.items():
    write("fuzz_decode", name, data)

# fuzz_charset: one byte with the header's length, the Content-Type header, the body.
pages = {
    "header_sjis": ("text/html; charset=Shift_JIS", "<p>シフトJIS</p>".encode("cp932")),
    "meta_sjis": ("text/html", b'<html><head><meta http-equiv="Content-Type" '
                  b'content="text/html; charset=x-sjis"></head><body>'
                  + "テスト".encode("cp932")),
    "meta5": ("text/html", b'<meta charset="euc-jp"><p>' + "ニュース".encode("euc_jp")),
    "utf8_plain": ("text/plain", "デスクトップ\n".encode()),
    "bom_utf8": ("", b"\xef\xbb\xbf" + "BOM".encode()),
    "bom_utf16le": ("text/plain", b"\xff\xfe" + "UTF-16".encode("utf-16-le")),
    "bad_utf8_sjis": ("", "ＳＪＩＳ".encode("cp932")),
    "latin1": ('text/html; charset="ISO-8859-1"', "caf\xe9".encode("latin-1")),
    "address": ("https://example.com/a?b=c", b""),
    "meta_utf16": ("text/html", b"<meta charset=utf-16>hello"),
    "two_marks": ("", b"\xef\xbb\xbf\xef\xbb\xbfB"),
}
for name, (header, body) in pages.items():
    write("fuzz_charset", name, bytes([len(header.encode())]) + header.encode() + body)

# fuzz_html: one mode byte (even: UTF-8, odd: UTF-16), then the page.
html_pages = {
    "page": "<!DOCTYPE html>\r\n<html><head><title>T</title><style>p{}</style></head><body>"
            "<!-- a > b --><h1>Tom &amp; Jerry</h1><p>It&#8217;s caf&eacute;&nbsp;&bigstar;"
            "&NotEqualTilde;&#x1F600;</p><script>if (a<b) x(\"</p>\")</script>"
            "<template>t</template><p>a\r\nb</p></body></html>",
    "broken": "<p>unclosed <b>bold <i>both</p></b> &amp &unknown; &#0; &#xD800; <! x <",
    "plain": "just\ttext\r\n  with   blanks ",
    # Found by the fuzzer: a form feed is a blank; a "<" that opens no tag is text.
    "form_feed": "Es\x0cka",
    "lone_lt": "<[p>",
}
for name, text in html_pages.items():
    write("fuzz_html", name, b"\x00" + text.encode())
write("fuzz_html", "utf16", b"\x01" + utf16("<p>\ud800&amp;\x00x</p>"))

# fuzz_feed: one byte choosing the Content-Type, then the document.
feeds = {
    "rss2": (1, '<?xml version="1.0"?><rss version="2.0"><channel><title>F &amp; G</title>'
                '<item><title><![CDATA[<b>One</b>]]></title></item>'
                '<item><title>Two &lt;i&gt;x&lt;/i&gt;</title></item></channel></rss>'),
    "atom": (2, '<feed xmlns="http://www.w3.org/2005/Atom"><title>A</title><entry>'
                '<title type="html">&lt;em&gt;B&lt;/em&gt;</title></entry><entry>'
                '<title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml">C <b>D</b></div>'
                '</title></entry></feed>'),
    "rdf": (3, '<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" '
               'xmlns="http://purl.org/rss/1.0/"><channel><title>R</title></channel>'
               '<item><title>S</title></item></rdf:RDF>'),
    "truncated": (1, "<rss><channel><title>Cut</title><item><title>Wh"),
    "html": (0, "<!doctype html><p>x &lt; y</p>"),
    "doctype": (4, '<!DOCTYPE rss [<!ENTITY e "&#60;b>x">]><rss><channel><title>&e;</title>'
                   '</channel></rss>'),
}
for name, (kind, text) in feeds.items():
    write("fuzz_feed", name, bytes([kind]) + text.encode())
