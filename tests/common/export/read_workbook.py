"""Reads an exported workbook with an independent reader and prints what the export
tests check, as JSON, in the same shape for .xls (xlrd) and .xlsx (openpyxl).

usage: read_workbook.py FILE [ROWS]   (cells of the first ROWS rows, default 8)
       read_workbook.py --streams FILE NAME...   length and MD5 of compound-file streams
"""
import json
import os
import struct
import sys


def rgb_text(rgb):
    return None if rgb is None else "%02X%02X%02X" % tuple(rgb[:3])


def xls_sheet_records(path):
    """The first record of each kind in the first sheet's part of the Workbook stream
    (xlrd reads neither the page setup nor the fit-to-page flag)."""
    from xlrd import compdoc
    with open(path, "rb") as f, open(os.devnull, "w") as quiet:
        stream = compdoc.CompDoc(f.read(), logfile=quiet).get_named_stream("Workbook")
    records, pos, bofs = {}, 0, 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        body = stream[pos + 4:pos + 4 + size]
        pos += 4 + size
        if rid == 0x0809:
            bofs += 1
        elif bofs == 2:
            records.setdefault(rid, body)
    return records


def xls_print(book, sheet, path):
    records = xls_sheet_records(path)
    paper, _scale, _start, fit_width, fit_height, flags = struct.unpack_from("<6H", records[0x00A1])
    wsbool = struct.unpack_from("<H", records[0x0081])[0]
    titles = None
    for name in book.name_obj_list:
        if name.name == "Print_Titles" and name.result is not None:
            _s0, _s1, r0, r1, _c0, _c1 = name.result.value[0].coords
            titles = [r0, r1 - 1]
    return {
        "landscape": not (flags & 0x0002) and not (flags & 0x0044),
        "paper": paper,
        "fitToPage": bool(wsbool & 0x0100),
        "fitWidth": fit_width,
        "fitHeight": fit_height,
        "titleRows": titles,
        "frozenRows": sheet.horz_split_pos if sheet.panes_are_frozen else 0,
    }


def xlsx_print(sheet):
    setup = sheet.page_setup
    titles = None
    if sheet.print_title_rows:
        first, last = sheet.print_title_rows.replace("$", "").split(":")
        titles = [int(first) - 1, int(last) - 1]
    frozen = 0
    if sheet.freeze_panes:
        from openpyxl.utils.cell import coordinate_from_string
        frozen = coordinate_from_string(sheet.freeze_panes)[1] - 1
    props = sheet.sheet_properties.pageSetUpPr
    return {
        "landscape": setup.orientation == "landscape",
        "paper": int(setup.paperSize) if setup.paperSize is not None else None,
        "fitToPage": bool(props is not None and props.fitToPage),
        "fitWidth": int(setup.fitToWidth) if setup.fitToWidth is not None else 1,
        "fitHeight": int(setup.fitToHeight) if setup.fitToHeight is not None else 1,
        "titleRows": titles,
        "frozenRows": frozen,
    }


def read_xls(path, rows):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    colour = lambda index: rgb_text(book.colour_map.get(index))

    def cell(r, c):
        x = book.xf_list[sheet.cell_xf_index(r, c)]
        font = book.font_list[x.font_index]
        b = x.border
        kind = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number"}.get(sheet.cell_type(r, c), "blank")
        return {
            "value": sheet.cell_value(r, c) if kind != "blank" else None,
            "type": kind,
            "bold": bool(font.bold),
            "size": font.height / 20.0,
            "fontColour": colour(font.colour_index),
            "fill": colour(x.background.pattern_colour_index) if x.background.fill_pattern == 1 else None,
            "borders": [b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style],
            "borderColours": [colour(b.left_colour_index), colour(b.right_colour_index),
                              colour(b.top_colour_index), colour(b.bottom_colour_index)],
            "format": book.format_map[x.format_key].format_str,
            "hAlign": x.alignment.hor_align,
        }

    return {
        "sheets": book.sheet_names(),
        "rows": sheet.nrows,
        "columns": sheet.ncols,
        "merged": [[r1, r2 - 1, c1, c2 - 1] for (r1, r2, c1, c2) in sheet.merged_cells],
        "hiddenColumns": sorted(c for c, info in sheet.colinfo_map.items() if info.hidden),
        "widths": [sheet.colinfo_map[c].width / 256.0 if c in sheet.colinfo_map else None
                   for c in range(sheet.ncols)],
        "heights": [sheet.rowinfo_map[r].height / 20.0 if r in sheet.rowinfo_map else None
                    for r in range(min(rows, sheet.nrows))],
        "hiddenRows": sorted(r for r, info in sheet.rowinfo_map.items() if info.hidden),
        "cells": [[cell(r, c) for c in range(sheet.ncols)] for r in range(min(rows, sheet.nrows))],
        "last": [sheet.cell_value(sheet.nrows - 1, c) for c in range(sheet.ncols)],
        "print": xls_print(book, sheet, path),
    }


def read_xlsx(path, rows):
    import openpyxl
    from openpyxl.utils import get_column_letter
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    colour = lambda c: None if c is None or c.rgb is None or not isinstance(c.rgb, str) else c.rgb[-6:].upper()
    styles = {"thin": 1, None: 0}

    def cell(r, c):
        x = sheet.cell(row=r + 1, column=c + 1)
        b = x.border
        value = x.value
        kind = "blank" if value is None else ("number" if isinstance(value, (int, float)) else "text")
        return {
            "value": float(value) if kind == "number" else value,
            "type": kind,
            "bold": bool(x.font.b),
            "size": float(x.font.sz),
            "fontColour": colour(x.font.color) or "000000",
            "fill": colour(x.fill.fgColor) if x.fill.fill_type == "solid" else None,
            "borders": [styles.get(s.style, -1) for s in (b.left, b.right, b.top, b.bottom)],
            "borderColours": [colour(s.color) for s in (b.left, b.right, b.top, b.bottom)],
            "format": x.number_format,
            "hAlign": {"left": 1, "center": 2, "right": 3}.get(x.alignment.horizontal, 0),
        }

    ncols = sheet.max_column
    dims = sheet.column_dimensions
    return {
        "sheets": book.sheetnames,
        "rows": sheet.max_row,
        "columns": ncols,
        "merged": [[m.min_row - 1, m.max_row - 1, m.min_col - 1, m.max_col - 1]
                   for m in sheet.merged_cells.ranges],
        "hiddenColumns": sorted(c for c in range(ncols) if dims[get_column_letter(c + 1)].hidden),
        "widths": [dims[get_column_letter(c + 1)].width for c in range(ncols)],
        "heights": [sheet.row_dimensions[r + 1].height or sheet.sheet_format.defaultRowHeight
                    for r in range(min(rows, sheet.max_row))],
        "hiddenRows": sorted(r - 1 for r, d in sheet.row_dimensions.items() if d.hidden),
        "cells": [[cell(r, c) for c in range(ncols)] for r in range(min(rows, sheet.max_row))],
        "last": [sheet.cell(row=sheet.max_row, column=c + 1).value for c in range(ncols)],
        "print": xlsx_print(sheet),
    }


def print_streams(path, names):
    import hashlib
    import xlrd.compdoc as compdoc
    with open(path, "rb") as f:
        doc = compdoc.CompDoc(f.read(), logfile=sys.stdout)
    for name in names:
        data = doc.get_named_stream(name)
        print(name, len(data), hashlib.md5(data).hexdigest())


def main():
    if sys.argv[1] == "--streams":
        print_streams(sys.argv[2], sys.argv[3:])
        return
    path = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 8
    data = read_xlsx(path, rows) if path.endswith(".xlsx") else read_xls(path, rows)
    json.dump(data, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
