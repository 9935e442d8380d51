"""Writes a small drawing with Japanese text through ezdxf, as another program would.

    python3 dxf_make_japanese.py FILE VERSION

VERSION R12 and R2000 write code page 932 ($DWGCODEPAGE ANSI_932), R2007 and later UTF-8. The
drawing has a layer "壁" with a TEXT "日本語の文字 ソ表" (two characters whose second byte in code
page 932 is a backslash), a TEXT "直径%%c10" and, from R2000 on, a two-line MTEXT "一行目" / "二行目".
"""

import sys

import ezdxf


def main():
    path, version = sys.argv[1], sys.argv[2]
    doc = ezdxf.new(version)
    doc.layers.add("壁")
    msp = doc.modelspace()
    msp.add_text("日本語の文字 ソ表", dxfattribs={"layer": "壁", "height": 2.5, "insert": (10, 20)})
    msp.add_text("直径%%c10", dxfattribs={"height": 2.5, "insert": (10, 30)})
    if version != "R12":
        msp.add_mtext("一行目\\P二行目", dxfattribs={"char_height": 2.5, "insert": (10, 40)})
    if version in ("R12", "R2000"):
        doc.encoding = "cp932"  # also sets $DWGCODEPAGE
    doc.saveas(path)


if __name__ == "__main__":
    main()
