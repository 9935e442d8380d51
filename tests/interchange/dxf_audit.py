"""Reads a DXF file with ezdxf and audits it; fails when the file cannot be read or the audit finds
errors (`ezdxf audit` itself always exits 0).

    python3 dxf_audit.py FILE

Prints the errors and the fixes the audit made.
"""

import sys

import ezdxf


def main():
    path = sys.argv[1]
    try:
        doc = ezdxf.readfile(path)
    except (IOError, ezdxf.DXFError) as e:
        print("cannot read:", e)
        return 1
    auditor = doc.audit()
    for error in auditor.errors:
        print("ERROR", error.code, error.message)
    for fix in auditor.fixes:
        print("FIX", fix.code, fix.message)
    return 1 if auditor.has_errors else 0


if __name__ == "__main__":
    sys.exit(main())
