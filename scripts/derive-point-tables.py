#!/usr/bin/env python3
"""Derives the points data files of the program from the published athletics tables.

    scripts/derive-point-tables.py [--source DIR] [--check]

DIR holds the published files (combined-events-constants.csv, wma-athlons-data.json, wma-data-2015.json,
wma-data-2023.json, points_table_{M,F}_{outdoors,indoors}.csv). The files written, relative to the
repository:

    data/builtin/combined-events.csv   combined-events formula rows, women then men, in the program's order
    data/builtin/age-grading-1.csv     first age-grading table (WMA 2015), ages 30..100
    data/builtin/age-grading-2.csv     second age-grading table (WMA 2023), ages 30..100
    data/builtin/youth-points.csv      youth points coefficients (no published source: header only)
    data/_t_blue/iaaf-blue-points-men.csv, data/_t_blue/iaaf-blue-points-women.csv
                                       scoring tables in the program's CSV points-table format

The builtin files are compiled into the program; the _t_blue files are installed into the program folder.
Kind and hand-time correction come from the program's event catalogue (data/ovelser.csv). With --check
nothing is written: the committed files are compared with a fresh derivation (exit status 1 on a
difference). Rows the published files lack are left out and listed on standard error.
"""

import argparse
import csv
import io
import json
import math
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_SOURCE = os.path.join(REPO, "tests", "data", "athletics-tables")

# The program's event codes against the published ones. "SP" is the shot put in the published files and
# the javelin in the program.
FIELD_CODES = {"HØ": "HJ", "ST": "PV", "LÆ": "LJ", "TR": "TJ", "KU": "SP", "DI": "DT", "HA": "HT", "SP": "JT",
               "VÆ": "WT"}
FORMULA_CODES = dict(FIELD_CODES, **{"3000H": "3000SC"})
for code in ("55", "60", "100", "200", "300", "400", "800", "1000", "1500", "3000", "5000", "10000", "60H",
             "100H", "110H", "200H", "400H"):
    FORMULA_CODES[code] = code

# Age factors of the combined events: the athlons table, whose short and long hurdles are the hurdle
# races of each age group.
ATHLON_CODES = dict(FIELD_CODES)
for code in ("60", "100", "200", "400", "800", "1000", "1500", "60H"):
    ATHLON_CODES[code] = code
ATHLON_CODES.update({"80H": "SH", "100H": "SH", "110H": "SH", "400H": "LH"})

# The combined-events rows: (event, variant) in the program's order.
WOMEN_ROWS = [(e, 0) for e in ("55", "60", "100", "200", "400", "800", "1000", "1500", "3000", "5000",
                               "10000", "2000H", "3000H", "55H", "60H")] + \
             [("80H", 1), ("80H", 2), ("80H", 3)] + \
             [(e, 0) for e in ("100H", "200H", "300H", "400H", "HØ", "ST", "LÆ", "TR", "KU", "DI", "HA", "SP",
                               "VÆ")]
MEN_ROWS = [(e, 0) for e in ("55", "60", "100", "200", "300", "400", "800", "1000", "1500", "3000", "5000",
                             "10000", "2000H", "3000H", "55H", "60H", "80H")] + \
           [("100H", 1), ("100H", 2), ("100H", 3)] + \
           [(e, 0) for e in ("110H", "200H", "300H", "400H", "HØ", "ST", "LÆ", "TR", "KU", "DI", "HA", "SP",
                             "VÆ")]

# Rows the program's own definition gives whole (A, B, C), where the published constants have none.
GIVEN_CONSTANTS = {
    ("K", "80H", 1): ("9.23076", "26.7", "1.835"),
    ("K", "80H", 2): ("12.9828", "21.9", "1.835"),
    ("K", "80H", 3): ("9.23076", "26.7", "1.835"),
}
# The age factors are shipped as published, one edition a table: a single value taken from elsewhere
# beside another edition's would let an older age group score less than a younger one for one mark.
# Flat runs and jumps are held to that: their factors must never favour a younger group (hurdles and
# throws change height, spacing or weight between age groups, so their factors may step either way).
FLAT_RUNS = {"55", "60", "100", "200", "300", "400", "800", "1000", "1500", "3000", "5000", "10000"}
JUMPS = {"HØ", "ST", "LÆ", "TR"}
# The 2023 women's rows of hurdles, steeplechase, jumps and most throws hold the ages 71, 72 and 73 in
# the order 72, 73, 71 (the 73 cell lies between the 70 and 71 cells). The edition's own values are put
# back at their ages; nothing is taken from another edition.
ROTATED_AGES = {"wma-data-2023.json": ("f", (71, 72, 73))}
# Rows the program's definition shows; the derivation must reproduce them (sex, event, variant: A, B, C,
# kind, hand-time correction).
TELLING_ROWS = {
    ("K", "100", 0): ("17.857", "21", "1.81", 1, 24),
    ("K", "800", 0): ("0.11193", "254", "1.88", 1, 0),
    ("K", "HØ", 0): ("1.84523", "75", "1.348", 2, 0),
    ("K", "SP", 0): ("15.9803", "3.8", "1.04", 3, 0),
    ("M", "100", 0): ("25.4347", "18", "1.81", 1, 24),
    ("M", "400", 0): ("1.53775", "82", "1.81", 1, 14),
    ("M", "LÆ", 0): ("0.14354", "220", "1.4", 2, 0),
    ("M", "KU", 0): ("51.39", "1.5", "1.05", 3, 0),
}

AGE_GRADING_EVENTS = ["100", "400", "1500", "5000", "1000ST", "HØ", "ST", "LÆ", "KU", "DI", "HA", "SP"]
AGE_GRADING_CODES = dict(FIELD_CODES, **{"100": "100", "400": "400", "1500": "1500", "5000": "5000"})

MK_AGES = list(range(30, 101, 5))
AGES = list(range(30, 101))

# Scoring-table columns: program code, published file, published column.
BLUE_COLUMNS = {
    "men": [("100", "M_outdoors", "100m"), ("200", "M_outdoors", "200m"), ("300", "M_outdoors", "300m"),
            ("400", "M_outdoors", "400m"), ("600", "M_outdoors", "600m"), ("800", "M_outdoors", "800m"),
            ("1000", "M_outdoors", "1000m"), ("1500", "M_outdoors", "1500m"), ("2000", "M_outdoors", "2000m"),
            ("3000", "M_outdoors", "3000m"), ("5000", "M_outdoors", "5000m"),
            ("10000", "M_outdoors", "10000m"), ("110H", "M_outdoors", "110mH"),
            ("400H", "M_outdoors", "400mH"), ("2000H", "M_outdoors", "2000m SC"),
            ("3000H", "M_outdoors", "3000m SC"), ("3000G", "M_outdoors", "3km W"),
            ("4X100", "M_outdoors", "4x100m"), ("4X200", "M_outdoors", "4x200m"),
            ("4X400", "M_outdoors", "4x400m"), ("HØ", "M_outdoors", "HJ"), ("ST", "M_outdoors", "PV"),
            ("LÆ", "M_outdoors", "LJ"), ("TR", "M_outdoors", "TJ"), ("KU", "M_outdoors", "SP"),
            ("DI", "M_outdoors", "DT"), ("HA", "M_outdoors", "HT"), ("SP", "M_outdoors", "JT"),
            ("10K", "M_outdoors", "Decathlon")],
    "women": [("55", "F_indoors", "55m"), ("60", "F_indoors", "60m"), ("100", "F_outdoors", "100m"),
              ("200", "F_outdoors", "200m"), ("300", "F_outdoors", "300m"), ("400", "F_outdoors", "400m"),
              ("600", "F_outdoors", "600m"), ("800", "F_outdoors", "800m"), ("1000", "F_outdoors", "1000m"),
              ("1500", "F_outdoors", "1500m"), ("2000", "F_outdoors", "2000m"),
              ("3000", "F_outdoors", "3000m"), ("5000", "F_outdoors", "5000m"),
              ("10000", "F_outdoors", "10000m"), ("55H", "F_indoors", "55mH"), ("60H", "F_indoors", "60mH"),
              ("100H", "F_outdoors", "100mH"), ("400H", "F_outdoors", "400mH"),
              ("2000H", "F_outdoors", "2000m SC"), ("3000H", "F_outdoors", "3000m SC"),
              ("3000G", "F_outdoors", "3km W"), ("4X100", "F_outdoors", "4x100m"),
              ("4X200", "F_outdoors", "4x200m"), ("4X400", "F_outdoors", "4x400m"),
              ("HØ", "F_outdoors", "HJ"), ("ST", "F_outdoors", "PV"), ("LÆ", "F_outdoors", "LJ"),
              ("TR", "F_outdoors", "TJ"), ("KU", "F_outdoors", "SP"), ("DI", "F_outdoors", "DT"),
              ("HA", "F_outdoors", "HT"), ("SP", "F_outdoors", "JT"), ("5K", "F_indoors", "Pent."),
              ("7K", "F_outdoors", "Heptathlon")],
}
# The program multiplies the 3000 m walk's table values by 100 after loading: that column stays in whole
# seconds, as published.
WHOLE_SECONDS = {"3000G"}

GENERATED = ("# Generated by scripts/derive-point-tables.py from the published athletics tables; "
             "do not edit.\n")

left_out = []
corrected = []


def fail(message):
    sys.exit("derive-point-tables: " + message)


def catalogue():
    """Event code -> (kind, hand-time correction) from the Danish rows of the event catalogue."""
    events = {}
    with open(os.path.join(REPO, "data", "ovelser.csv"), encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#")]
    for row in csv.DictReader(lines, delimiter=";"):
        if row["Sprog"] != "0":
            continue
        ovtype = int(row["Ovtype"])
        kind = 1 if ovtype in (1, 5) else 2 if ovtype in (2, 3) else 3 if ovtype == 4 else 0
        events[row["Ovelse"]] = (kind, int(row["EltidKorr"]))
    return events


def number_text(value):
    """A published factor as written there (integers without a fraction)."""
    if value is None:
        return ""
    return repr(value) if isinstance(value, float) else str(value)


def csv_text(header, rows, comment):
    out = io.StringIO()
    out.write(GENERATED)
    for line in comment:
        out.write("# " + line + "\n")
    out.write(";".join(header) + "\n")
    for row in rows:
        out.write(";".join(str(field) for field in row) + "\n")
    return out.getvalue()


def combined_events(source, events):
    constants = {}
    with open(os.path.join(source, "combined-events-constants.csv"), encoding="utf-8") as f:
        for row in csv.DictReader(f):
            constants[("K" if row["sex"] == "F" else "M", row["event"])] = (row["A"], row["B"], row["C"])
    with open(os.path.join(source, "wma-athlons-data.json"), encoding="utf-8") as f:
        athlons = json.load(f)
    with open(os.path.join(source, "wma-data-2023.json"), encoding="utf-8") as f:
        grading = json.load(f)
    factors = {}
    for sex, key in (("K", "f"), ("M", "m")):
        graded = {row[0]: dict(zip(grading["ages"], row[3:])) for row in grading[key]}
        for row in athlons[key]:
            values = row[1:]
            # The athlons rows hold the ages 35, 40, ..., 110 (one fewer value than their "ages" list):
            # they are the 2023 age-grading factors of those ages, which also gives 1 at 30.
            if len(values) != 16:
                fail("athlons row %s %s has %d factors" % (sex, row[0], len(values)))
            if row[0] in graded and any(graded[row[0]][35 + 5 * i] != v for i, v in enumerate(values)):
                fail("athlons row %s %s is not the age-grading row of ages 35..110" % (sex, row[0]))
            if row[0] in graded and graded[row[0]][30] != 1:
                fail("age-grading row %s %s is not 1 at 30" % (sex, row[0]))
            factors[(sex, row[0])] = ["1"] + [number_text(v) for v in values[:14]]
    rows = []
    for sex, order in (("K", WOMEN_ROWS), ("M", MEN_ROWS)):
        for event, variant in order:
            kind, correction = events[event]
            abc = GIVEN_CONSTANTS.get((sex, event, variant)) or constants.get((sex, FORMULA_CODES.get(event)))
            if abc is None:
                left_out.append("combined events %s %s%s: no published constants" %
                                (sex, event, " variant %d" % variant if variant else ""))
                continue
            ages = factors.get((sex, ATHLON_CODES.get(event)))
            ages = list(ages) if ages else [""] * len(MK_AGES)
            if not ages[0]:
                left_out.append("combined events %s %s: constants only, no published age factors" %
                                (sex, event))
            check_steady("combined events %s %s" % (sex, event), event, MK_AGES, ages)
            telling = TELLING_ROWS.get((sex, event, variant))
            if telling and tuple(float(x) for x in telling[:3]) + telling[3:] != \
                    tuple(float(x) for x in abc) + (kind, correction):
                fail("row %s %s does not give the program's figures" % (sex, event))
            rows.append([sex, event] + list(abc) + [kind, correction, variant] + ages)
    header = ["sex", "event", "A", "B", "C", "kind", "handCorrection", "variant"] + [str(a) for a in MK_AGES]
    comment = ["Points = A*(B-T)^C for kind 1 (T in seconds), A*(T-B)^C for kind 2 (T in cm) and 3 (T in m).",
               "kind: 1 time, 2 centimetres, 3 metres; handCorrection in hundredths; variant 0 = any.",
               "Age factors for the ages 30, 35, ..., 100; empty where none is published."]
    return csv_text(header, rows, comment)


def check_steady(what, event, ages, factors):
    """Fails when a flat run's factor rises or a jump's falls from one age with a factor to the next."""
    if event not in FLAT_RUNS and event not in JUMPS:
        return
    given = [(age, float(value)) for age, value in zip(ages, factors) if value != ""]
    for (age1, f1), (age2, f2) in zip(given, given[1:]):
        if (f2 > f1) if event in FLAT_RUNS else (f2 < f1):
            fail("%s: the factor at %d (%s) favours the younger age %d (%s)" % (what, age2, f2, age1, f1))


def unrotated(file_name, key, name, published):
    """A published row with the ages of ROTATED_AGES put back in order (see there)."""
    if ROTATED_AGES.get(file_name, ("", ()))[0] != key:
        return published
    first, second, third = ROTATED_AGES[file_name][1]
    before = published.get(first - 1)
    values = [published.get(age) for age in (first, second, third)]
    if before is None or None in values or not min(before, values[0]) < values[2] < max(before, values[0]):
        return published
    row = dict(published)
    row[first], row[second], row[third] = values[2], values[0], values[1]
    corrected.append("age grading %s %s: ages %d..%d put back in order" % (file_name, name, first, third))
    return row


def age_grading(source, events, file_name):
    with open(os.path.join(source, file_name), encoding="utf-8") as f:
        grading = json.load(f)
    rows = []
    reordered = len(corrected)
    for sex, key in (("K", "f"), ("M", "m")):
        graded = {row[0]: dict(zip(grading["ages"], row[3:])) for row in grading[key]}
        for event in AGE_GRADING_EVENTS:
            published = graded.get(AGE_GRADING_CODES.get(event))
            if published is None:
                left_out.append("age grading %s %s %s: no published factors" % (file_name, sex, event))
                continue
            published = unrotated(file_name, key, sex + " " + event, published)
            # A published 0 is no factor: it would turn every mark into none.
            ages = [number_text(published.get(age)) if published.get(age) != 0 else "" for age in AGES]
            if any(published.get(age) == 0 for age in AGES):
                left_out.append("age grading %s %s %s: a published factor of 0 left empty" %
                                (file_name, sex, event))
            check_steady("age grading %s %s %s" % (file_name, sex, event), event, AGES, ages)
            kind, correction = events[event]
            rows.append([sex, event, kind, correction] + ages)
    header = ["sex", "event", "kind", "handCorrection"] + [str(a) for a in AGES]
    comment = ["Age-graded mark = mark * factor; kind: 1 time, 2 centimetres, 3 metres.",
               "Factors for every age 30..100 from %s; empty where none is published." % file_name]
    if len(corrected) > reordered:
        comment.append("Rows with the published ages 71..73 put back in order: " +
                       ", ".join(line.split(": ")[0].split(" ", 3)[3] for line in corrected[reordered:]) + ".")
    return csv_text(header, rows, comment)


def youth_points():
    comment = ["Youth points a*x^2 + b*x + c per class group (D4-D9, D10-D11, ..., D18-D19, P4-P9, ...) and",
               "event; x in seconds (timed events) or metres. No published source: no rows."]
    return csv_text(["group", "event", "handCorrection", "a", "b", "c"], [], comment)


def hundredths_of(text):
    """A published time in hundredths: "[h:]m:ss.cc", "ss.cc", or a fraction of a day from an hour on."""
    if ":" not in text and float(text) < 1:
        # Seven decimals of a day are finer than 0.005 s, so the hundredths come back exactly; a coarser
        # figure gives none.
        if len(text.split(".")[1]) < 7:
            return None
        return round(float(text) * 8640000)
    *whole, seconds = text.split(":")
    minutes = 0
    for part in whole:
        minutes = minutes * 60 + int(part)
    return round((minutes * 60 + float(seconds)) * 100)


def time_text(hundredths):
    h, rest = divmod(hundredths, 360000)
    m, rest = divmod(rest, 6000)
    s, cc = divmod(rest, 100)
    if h:
        return "%d:%02d:%02d.%02d" % (h, m, s, cc)
    if m:
        return "%d:%02d.%02d" % (m, s, cc)
    return "%d.%02d" % (s, cc)


def mark_text(code, kind, text):
    """The published mark in a form whose digits are the program's stored mark; (text, comparable)."""
    if kind == 1:
        if code in WHOLE_SECONDS:
            m, s = text.split(":")
            if len(s) != 2:
                fail("%s mark %s is not in whole seconds" % (code, text))
            return "%d:%s" % (int(m), s), int(m) * 60 + int(s)
        value = hundredths_of(text)
        return (time_text(value), value) if value is not None else None
    if kind == 0:
        points = float(text)
        if points != int(points):
            fail("%s points %s are not whole" % (code, text))
        return str(int(points)), int(points)
    centimetres = round(float(text) * 100)
    return "%d.%02d" % divmod(centimetres, 100), centimetres


def blue_points(source, events, sex):
    tables = {}
    columns = []
    for code, file_key, column in BLUE_COLUMNS[sex]:
        if file_key not in tables:
            with open(os.path.join(source, "points_table_%s.csv" % file_key), encoding="utf-8") as f:
                tables[file_key] = list(csv.reader(f))
        table = tables[file_key]
        index = table[0].index(column)
        kind = events[code][0] if code not in ("5K", "7K", "10K") else 0
        marks = {}
        for row in table[1:]:
            if index < len(row) and row[index]:
                mark = mark_text(code, kind, row[index])
                if mark is None:
                    left_out.append("blue points %s %s: %s points, published as %s, too coarse a time" %
                                    (sex, code, row[0], row[index]))
                    continue
                marks[int(row[0])] = mark
        # Best first: times rise and distances and points fall as the points go down.
        values = [marks[p][1] for p in sorted(marks, reverse=True)]
        rising = kind == 1
        if any((b <= a) if rising else (b >= a) for a, b in zip(values, values[1:])):
            left_out.append("blue points %s %s: published column %s of %s is not in order" %
                            (sex, code, column, file_key))
            continue
        columns.append((code, events[code][1], marks))
    lines = ["9999," + ",".join(code for code, _, _ in columns),
             "9998," + ",".join(str(correction) for _, correction, _ in columns)]
    for points in range(1400, 0, -1):
        lines.append(str(points) + "," + ",".join(marks[points][0] if points in marks else ""
                                                  for _, _, marks in columns))
    return ("\n".join(lines) + "\n").encode("cp1252")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--source", default=DEFAULT_SOURCE, help="folder of the published tables")
    parser.add_argument("--check", action="store_true", help="compare with the committed files only")
    args = parser.parse_args()

    events = catalogue()
    outputs = {
        "data/builtin/combined-events.csv": combined_events(args.source, events).encode("utf-8"),
        "data/builtin/age-grading-1.csv":
            age_grading(args.source, events, "wma-data-2015.json").encode("utf-8"),
        "data/builtin/age-grading-2.csv": age_grading(args.source, events, "wma-data-2023.json").encode(
            "utf-8"),
        "data/builtin/youth-points.csv": youth_points().encode("utf-8"),
        "data/_t_blue/iaaf-blue-points-men.csv": blue_points(args.source, events, "men"),
        "data/_t_blue/iaaf-blue-points-women.csv": blue_points(args.source, events, "women"),
    }
    for line in left_out:
        print("left out: " + line, file=sys.stderr)
    for line in corrected:
        print("corrected: " + line, file=sys.stderr)
    differing = []
    for name, content in outputs.items():
        path = os.path.join(REPO, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    if f.read() != content:
                        differing.append(name)
            except OSError:
                differing.append(name)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)
    if differing:
        print("differs from a fresh derivation: " + ", ".join(differing), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
