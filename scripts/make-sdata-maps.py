#!/usr/bin/env python3
"""Writes the SDATA map files of the qlx library from the ISO 8879 entity sets.

    python3 scripts/make-sdata-maps.py [SGMLDIR XMLDIR [OUTDIR]]

An SGML parser passes an SDATA entity through as its text, for example
"[eacute]", and qlx replaces that text by what the SDATA map gives for it.
The texts come from the SGML versions of the ISO entity sets (Debian's
sgml-data: sgml-iso-entities-8879.1986/*.ent, where each entity is declared
as <!ENTITY eacute SDATA "[eacute]">); the character each one stands for
comes from the XML versions of the same sets (xml-iso-entities-8879.1986,
<!ENTITY eacute "&#x00E9;">).  Four maps are written:

  utf8.sdata   the character itself, in UTF-8
  html.sdata   a numeric character reference (&#xE9;), or the HTML escape
               of an ASCII character
  roff.sdata   a groff glyph (\\[u00E9]) or the escaped ASCII character
  latex.sdata  a LaTeX command; characters without one are left out, and
               qlx then reports them and writes the bracketed text

The replacement texts are written in qlx's output escape language: a
backslash is doubled and a caret is written as backslash-caret.
"""
import os
import re
import sys
import textwrap
import unicodedata

SETS = ["ISOlat1", "ISOlat2", "ISOnum", "ISOpub", "ISOdia", "ISOtech",
        "ISOgrk1", "ISOgrk2", "ISOgrk3", "ISOgrk4", "ISOamsa", "ISOamsb",
        "ISOamsc", "ISOamsn", "ISOamso", "ISOamsr", "ISObox", "ISOcyr1",
        "ISOcyr2"]


def read_sets(sgmldir, xmldir):
    """[(set, entity name, SDATA text, [code points])] in file order."""
    out = []
    for name in SETS:
        with open(os.path.join(sgmldir, name + ".ent"), encoding="latin-1") as f:
            sgml = re.findall(r'<!ENTITY\s+(\S+)\s+SDATA\s+"([^"]*)"', f.read())
        with open(os.path.join(xmldir, name + ".ent"), encoding="utf-8") as f:
            xml = dict(re.findall(r'<!ENTITY\s+(\S+)\s+"([^"]*)"', f.read()))
        for ent, text in sgml:
            value = xml.get(ent, "")
            # "&#38;#60;" is the XML sets' way of giving '<' and '&'.
            cps = [int(d) for d in re.findall(r"&#38;#(\d+);", value)]
            if not cps:
                cps = [int(h, 16) for h in re.findall(r"&#x([0-9A-Fa-f]+);", value)]
            # Private-use code points carry no meaning outside one font.
            if not cps or any(0xE000 <= c <= 0xF8FF for c in cps):
                continue
            out.append((name, ent, text, cps))
    return out


def escape_emit(text):
    """A replacement text that qlx's output writer turns back into `text`.
    A leading "!" is escaped too: a map value that begins with one would be
    run as a command."""
    text = text.replace("\\", "\\\\").replace("^", "\\^")
    return "\\" + text if text.startswith("!") else text


# --- HTML -------------------------------------------------------------------

HTML_ASCII = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;"}


def html(cps):
    if len(cps) == 1 and cps[0] < 128:
        c = chr(cps[0])
        return HTML_ASCII.get(c, c)
    return "".join("&#x%X;" % c for c in cps)


# --- roff -------------------------------------------------------------------

ROFF_ASCII = {"\\": "\\e", ".": "\\&.", "'": "\\(aq", "`": "\\(ga",
              "-": "\\-", "^": "\\(ha", "~": "\\(ti"}
ROFF_SPECIAL = {
    0x00A0: "\\~",          # no-break space
    0x00AD: "\\%",          # soft hyphen: a hyphenation point
    0x2002: "\\h'.5m'", 0x2003: "\\h'1m'", 0x2004: "\\h'.33m'",
    0x2005: "\\h'.25m'", 0x2007: "\\0", 0x2008: "\\|", 0x2009: "\\|",
    0x200A: "\\^",
}


def roff(cps):
    if len(cps) == 1:
        c = cps[0]
        if c < 128:
            return ROFF_ASCII.get(chr(c), chr(c))
        if c in ROFF_SPECIAL:
            return ROFF_SPECIAL[c]
    return "\\[" + "_".join("u%04X" % c for c in cps) + "]"


# --- LaTeX ------------------------------------------------------------------

LATEX_ASCII = {"\\": "\\textbackslash{}", "#": "\\#", "$": "\\$", "%": "\\%",
               "&": "\\&", "_": "\\_", "{": "\\{", "}": "\\}",
               "~": "\\textasciitilde{}", "^": "\\textasciicircum{}",
               "<": "\\textless{}", ">": "\\textgreater{}", "|": "\\textbar{}",
               '"': "\\textquotedbl{}", "-": "-{}", "`": "\\textasciigrave{}",
               "'": "\\textquotesingle{}"}

LATEX_TEXT = {
    0x00A0: "~", 0x00A1: "\\textexclamdown{}", 0x00A2: "\\textcent{}",
    0x00A3: "\\pounds{}", 0x00A4: "\\textcurrency{}", 0x00A5: "\\textyen{}",
    0x00A6: "\\textbrokenbar{}", 0x00A7: "\\S{}", 0x00A8: "\\textasciidieresis{}",
    0x00A9: "\\textcopyright{}", 0x00AA: "\\textordfeminine{}",
    0x00AB: "\\guillemotleft{}", 0x00AC: "\\textlnot{}", 0x00AD: "\\-",
    0x00AE: "\\textregistered{}", 0x00AF: "\\textasciimacron{}",
    0x00B0: "\\textdegree{}", 0x00B1: "\\textpm{}", 0x00B2: "\\texttwosuperior{}",
    0x00B3: "\\textthreesuperior{}", 0x00B4: "\\textasciiacute{}",
    0x00B5: "\\textmu{}", 0x00B6: "\\P{}", 0x00B7: "\\textperiodcentered{}",
    0x00B8: "\\c{}", 0x00B9: "\\textonesuperior{}", 0x00BA: "\\textordmasculine{}",
    0x00BB: "\\guillemotright{}", 0x00BC: "\\textonequarter{}",
    0x00BD: "\\textonehalf{}", 0x00BE: "\\textthreequarters{}",
    0x00BF: "\\textquestiondown{}", 0x00C6: "\\AE{}", 0x00D0: "\\DH{}",
    0x00D7: "\\texttimes{}", 0x00D8: "\\O{}", 0x00DE: "\\TH{}", 0x00DF: "\\ss{}",
    0x00E6: "\\ae{}", 0x00F0: "\\dh{}", 0x00F7: "\\textdiv{}", 0x00F8: "\\o{}",
    0x00FE: "\\th{}", 0x0110: "\\DJ{}", 0x0111: "\\dj{}", 0x0131: "\\i{}",
    0x0132: "IJ", 0x0133: "ij", 0x013F: "L\\textperiodcentered{}",
    0x0140: "l\\textperiodcentered{}", 0x0141: "\\L{}", 0x0142: "\\l{}",
    0x0149: "'n", 0x014A: "\\NG{}", 0x014B: "\\ng{}", 0x0152: "\\OE{}",
    0x0153: "\\oe{}", 0x0192: "\\textflorin{}", 0x02C7: "\\textasciicaron{}",
    0x02D8: "\\textasciibreve{}", 0x02D9: "\\.{}", 0x02DA: "\\r{}",
    0x02DB: "\\k{}", 0x02DC: "\\~{}", 0x02DD: "\\textacutedbl{}",
    0x2002: "\\enskip{}", 0x2003: "\\quad{}", 0x2004: "\\hspace{.33em}",
    0x2005: "\\hspace{.25em}", 0x2007: "\\hphantom{0}", 0x2008: "\\hphantom{.}",
    0x2009: "\\,", 0x200A: "\\hspace{.1em}", 0x2010: "-", 0x2013: "\\textendash{}",
    0x2014: "\\textemdash{}", 0x2015: "\\textemdash{}", 0x2016: "\\textbardbl{}",
    0x2018: "\\textquoteleft{}", 0x2019: "\\textquoteright{}",
    0x201A: "\\quotesinglbase{}", 0x201C: "\\textquotedblleft{}",
    0x201D: "\\textquotedblright{}", 0x201E: "\\quotedblbase{}",
    0x2020: "\\textdagger{}", 0x2021: "\\textdaggerdbl{}", 0x2022: "\\textbullet{}",
    0x2025: "..", 0x2026: "\\textellipsis{}", 0x2030: "\\textperthousand{}",
    0x2032: "\\ensuremath{\\prime}", 0x2033: "\\ensuremath{\\prime\\prime}",
    0x2034: "\\ensuremath{\\prime\\prime\\prime}", 0x2035: "\\ensuremath{\\backprime}",
    0x2041: "\\textasciicircum{}", 0x2043: "-", 0x2105: "c/o",
    0x2111: "\\ensuremath{\\Im}", 0x2112: "\\ensuremath{\\mathcal{L}}",
    0x2113: "\\ensuremath{\\ell}", 0x2117: "\\textcircledP{}",
    0x2118: "\\ensuremath{\\wp}", 0x211C: "\\ensuremath{\\Re}",
    0x211E: "\\textrecipe{}", 0x2122: "\\texttrademark{}", 0x2126: "\\textohm{}",
    0x212B: "\\AA{}", 0x212C: "\\ensuremath{\\mathcal{B}}",
    0x2133: "\\ensuremath{\\mathcal{M}}", 0x2134: "\\ensuremath{\\mathit{o}}",
    0x2135: "\\ensuremath{\\aleph}", 0x2136: "\\ensuremath{\\beth}",
    0x2137: "\\ensuremath{\\gimel}", 0x2138: "\\ensuremath{\\daleth}",
    0x2153: "1/3", 0x2154: "2/3", 0x2155: "1/5", 0x2156: "2/5", 0x2157: "3/5",
    0x2158: "4/5", 0x2159: "1/6", 0x215A: "5/6", 0x215B: "1/8", 0x215C: "3/8",
    0x215D: "5/8", 0x215E: "7/8", 0x2423: "\\textvisiblespace{}",
    0x25CB: "\\textopenbullet{}", 0x2605: "\\ensuremath{\\bigstar}",
    0x2660: "\\ensuremath{\\spadesuit}", 0x2663: "\\ensuremath{\\clubsuit}",
    0x2665: "\\ensuremath{\\heartsuit}", 0x2666: "\\ensuremath{\\diamondsuit}",
    0x2669: "\\textmusicalnote{}", 0x266D: "\\ensuremath{\\flat}",
    0x266E: "\\ensuremath{\\natural}", 0x266F: "\\ensuremath{\\sharp}",
    0x2713: "\\ensuremath{\\checkmark}", 0x3008: "\\textlangle{}",
    0x3009: "\\textrangle{}", 0xFB00: "ff", 0xFB01: "fi", 0xFB02: "fl",
    0xFB03: "ffi", 0xFB04: "ffl", 0xFE68: "\\ensuremath{\\smallsetminus}",
}

# Symbols written in math mode (amssymb names included).
LATEX_MATH = {
    0x00AC: "neg", 0x2190: "leftarrow", 0x2191: "uparrow", 0x2192: "rightarrow",
    0x2193: "downarrow", 0x2194: "leftrightarrow", 0x2195: "updownarrow",
    0x2196: "nwarrow", 0x2197: "nearrow", 0x2198: "searrow", 0x2199: "swarrow",
    0x219A: "nleftarrow", 0x219B: "nrightarrow", 0x219E: "twoheadleftarrow",
    0x21A0: "twoheadrightarrow", 0x21A2: "leftarrowtail", 0x21A3: "rightarrowtail",
    0x21A6: "mapsto", 0x21A9: "hookleftarrow", 0x21AA: "hookrightarrow",
    0x21AB: "looparrowleft", 0x21AC: "looparrowright", 0x21AD: "leftrightsquigarrow",
    0x21AE: "nleftrightarrow", 0x21B0: "Lsh", 0x21B1: "Rsh",
    0x21B6: "curvearrowleft", 0x21B7: "curvearrowright", 0x21BA: "circlearrowleft",
    0x21BB: "circlearrowright", 0x21BC: "leftharpoonup", 0x21BD: "leftharpoondown",
    0x21BE: "upharpoonright", 0x21BF: "upharpoonleft", 0x21C0: "rightharpoonup",
    0x21C1: "rightharpoondown", 0x21C2: "downharpoonright", 0x21C3: "downharpoonleft",
    0x21C4: "rightleftarrows", 0x21C6: "leftrightarrows", 0x21C7: "leftleftarrows",
    0x21C8: "upuparrows", 0x21C9: "rightrightarrows", 0x21CA: "downdownarrows",
    0x21CB: "leftrightharpoons", 0x21CC: "rightleftharpoons", 0x21CD: "nLeftarrow",
    0x21CE: "nLeftrightarrow", 0x21CF: "nRightarrow", 0x21D0: "Leftarrow",
    0x21D1: "Uparrow", 0x21D2: "Rightarrow", 0x21D3: "Downarrow",
    0x21D4: "Leftrightarrow", 0x21D5: "Updownarrow", 0x21DA: "Lleftarrow",
    0x21DB: "Rrightarrow", 0x2200: "forall", 0x2201: "complement", 0x2202: "partial",
    0x2203: "exists", 0x2204: "nexists", 0x2205: "emptyset", 0x2207: "nabla",
    0x2209: "notin", 0x220A: "in", 0x220D: "ni", 0x220F: "prod", 0x2210: "coprod",
    0x2211: "sum", 0x2212: "-", 0x2213: "mp", 0x2214: "dotplus",
    0x2216: "setminus", 0x2217: "ast", 0x2218: "circ", 0x221A: "surd",
    0x221D: "propto", 0x221E: "infty", 0x221F: "llcorner", 0x2220: "angle",
    0x2221: "measuredangle", 0x2222: "sphericalangle", 0x2223: "mid",
    0x2224: "nmid", 0x2225: "parallel", 0x2226: "nparallel", 0x2227: "wedge",
    0x2228: "vee", 0x2229: "cap", 0x222A: "cup", 0x222B: "int", 0x222E: "oint",
    0x2234: "therefore", 0x2235: "because", 0x223C: "sim", 0x223D: "backsim",
    0x2240: "wr", 0x2241: "nsim", 0x2243: "simeq", 0x2245: "cong",
    0x2247: "ncong", 0x2248: "approx", 0x224A: "approxeq", 0x224D: "asymp",
    0x224E: "Bumpeq", 0x224F: "bumpeq", 0x2250: "doteq", 0x2251: "doteqdot",
    0x2252: "fallingdotseq", 0x2253: "risingdotseq", 0x2256: "eqcirc",
    0x2257: "circeq", 0x225C: "triangleq", 0x2260: "neq", 0x2261: "equiv",
    0x2264: "leq", 0x2265: "geq", 0x2266: "leqq", 0x2267: "geqq",
    0x2268: "lneqq", 0x2269: "gneqq", 0x226A: "ll", 0x226B: "gg",
    0x226C: "between", 0x226E: "nless", 0x226F: "ngtr", 0x2270: "nleq",
    0x2271: "ngeq", 0x2272: "lesssim", 0x2273: "gtrsim", 0x2276: "lessgtr",
    0x2277: "gtrless", 0x227A: "prec", 0x227B: "succ", 0x227C: "preccurlyeq",
    0x227D: "succcurlyeq", 0x227E: "precsim", 0x227F: "succsim", 0x2280: "nprec",
    0x2281: "nsucc", 0x2282: "subset", 0x2283: "supset", 0x2284: "not\\subset",
    0x2285: "not\\supset", 0x2286: "subseteq", 0x2287: "supseteq",
    0x2288: "nsubseteq", 0x2289: "nsupseteq", 0x228A: "subsetneq",
    0x228B: "supsetneq", 0x228E: "uplus", 0x228F: "sqsubset", 0x2290: "sqsupset",
    0x2291: "sqsubseteq", 0x2292: "sqsupseteq", 0x2293: "sqcap", 0x2294: "sqcup",
    0x2295: "oplus", 0x2296: "ominus", 0x2297: "otimes", 0x2298: "oslash",
    0x2299: "odot", 0x229A: "circledcirc", 0x229B: "circledast",
    0x229D: "circleddash", 0x229E: "boxplus", 0x229F: "boxminus",
    0x22A0: "boxtimes", 0x22A1: "boxdot", 0x22A2: "vdash", 0x22A3: "dashv",
    0x22A4: "top", 0x22A5: "bot", 0x22A7: "models", 0x22A8: "vDash",
    0x22A9: "Vdash", 0x22AA: "Vvdash", 0x22AC: "nvdash", 0x22AD: "nvDash",
    0x22AE: "nVdash", 0x22AF: "nVDash", 0x22B2: "vartriangleleft",
    0x22B3: "vartriangleright", 0x22B4: "trianglelefteq", 0x22B5: "trianglerighteq",
    0x22B8: "multimap", 0x22BA: "intercal", 0x22BB: "veebar", 0x22BC: "barwedge",
    0x22C4: "diamond", 0x22C5: "cdot", 0x22C6: "star", 0x22C7: "divideontimes",
    0x22C8: "bowtie", 0x22C9: "ltimes", 0x22CA: "rtimes", 0x22CB: "leftthreetimes",
    0x22CC: "rightthreetimes", 0x22CD: "backsimeq", 0x22CE: "curlyvee",
    0x22CF: "curlywedge", 0x22D0: "Subset", 0x22D1: "Supset", 0x22D2: "Cap",
    0x22D3: "Cup", 0x22D4: "pitchfork", 0x22D6: "lessdot", 0x22D7: "gtrdot",
    0x22D8: "lll", 0x22D9: "ggg", 0x22DA: "lesseqgtr", 0x22DB: "gtreqless",
    0x22DC: "eqslantless", 0x22DD: "eqslantgtr", 0x22DE: "curlyeqprec",
    0x22DF: "curlyeqsucc", 0x22E0: "npreceq", 0x22E1: "nsucceq",
    0x22E6: "lnsim", 0x22E7: "gnsim", 0x22E8: "precnsim", 0x22E9: "succnsim",
    0x22EA: "ntriangleleft", 0x22EB: "ntriangleright", 0x22EC: "ntrianglelefteq",
    0x22ED: "ntrianglerighteq", 0x22EE: "vdots", 0x2306: "doublebarwedge",
    0x2308: "lceil", 0x2309: "rceil", 0x230A: "lfloor", 0x230B: "rfloor",
    0x231C: "ulcorner", 0x231D: "urcorner", 0x231E: "llcorner",
    0x231F: "lrcorner", 0x2322: "frown", 0x2323: "smile", 0x24C8: "circledS",
    0x25A1: "square", 0x25AA: "blacksquare", 0x25B3: "bigtriangleup",
    0x25B4: "blacktriangle", 0x25B5: "vartriangle", 0x25B8: "blacktriangleright",
    0x25B9: "triangleright", 0x25BD: "bigtriangledown", 0x25BE: "blacktriangledown",
    0x25BF: "triangledown", 0x25C2: "blacktriangleleft", 0x25C3: "triangleleft",
    0x25CA: "lozenge", 0x2726: "blacklozenge", 0x2720: "maltese",
    0x2642: "male", 0x2640: "female",
}
# Symbols that need a package beyond amssymb, or that have no command at
# all: left to the "Could not find SDATA substitution" message.
for cp in (0x2642, 0x2640, 0x2720):
    del LATEX_MATH[cp]

GREEK_NAMES = {
    "ALPHA": "alpha", "BETA": "beta", "GAMMA": "gamma", "DELTA": "delta",
    "EPSILON": "epsilon", "ZETA": "zeta", "ETA": "eta", "THETA": "theta",
    "IOTA": "iota", "KAPPA": "kappa", "LAMDA": "lambda", "MU": "mu", "NU": "nu",
    "XI": "xi", "OMICRON": "o", "PI": "pi", "RHO": "rho", "SIGMA": "sigma",
    "TAU": "tau", "UPSILON": "upsilon", "PHI": "phi", "CHI": "chi", "PSI": "psi",
    "OMEGA": "omega",
}
GREEK_SYMBOLS = {0x03C2: "varsigma", 0x03D1: "vartheta", 0x03D5: "phi",
                 0x03C6: "varphi", 0x03D6: "varpi", 0x03F0: "varkappa",
                 0x03F1: "varrho", 0x03B5: "varepsilon", 0x03DC: "digamma",
                 0x03D2: "Upsilon"}
# Capitals that look like Latin letters have no command of their own.
GREEK_LATIN_CAPITALS = {"ALPHA": "A", "BETA": "B", "EPSILON": "E", "ZETA": "Z",
                        "ETA": "H", "IOTA": "I", "KAPPA": "K", "MU": "M",
                        "NU": "N", "OMICRON": "O", "RHO": "P", "TAU": "T",
                        "CHI": "X"}

ACCENTS = {0x0300: "`", 0x0301: "'", 0x0302: "^", 0x0303: "~", 0x0304: "=",
           0x0306: "u", 0x0307: ".", 0x0308: '"', 0x030A: "r", 0x030B: "H",
           0x030C: "v", 0x0327: "c", 0x0328: "k"}


def latex_greek(c):
    if c in GREEK_SYMBOLS:
        return "\\ensuremath{\\%s}" % GREEK_SYMBOLS[c]
    name = unicodedata.name(chr(c), "")
    m = re.fullmatch(r"GREEK (SMALL|CAPITAL) LETTER (\w+)", name)
    if not m or m.group(2) not in GREEK_NAMES:
        return None
    base = GREEK_NAMES[m.group(2)]
    if m.group(1) == "SMALL":
        return "\\ensuremath{\\%s}" % base
    if m.group(2) in GREEK_LATIN_CAPITALS:
        return "\\ensuremath{\\mathrm{%s}}" % GREEK_LATIN_CAPITALS[m.group(2)]
    return "\\ensuremath{\\%s}" % (base[0].upper() + base[1:])


def latex_char(c):
    if c < 128:
        ch = chr(c)
        return LATEX_ASCII.get(ch, ch)
    if c in LATEX_TEXT:
        return LATEX_TEXT[c]
    if c in LATEX_MATH:
        return "\\ensuremath{\\%s}" % LATEX_MATH[c]
    if 0x0370 <= c <= 0x03FF:
        return latex_greek(c)
    # A Latin letter with diacritics: the letter under accent commands.
    decomposed = unicodedata.normalize("NFD", chr(c))
    if len(decomposed) > 1 and decomposed[0].isascii() and decomposed[0].isalpha():
        out = decomposed[0]
        if out in "ij" and decomposed[1:] and ord(decomposed[1]) < 0x0327:
            out = "\\" + out  # dotless i and j under accents above
        for mark in decomposed[1:]:
            if ord(mark) not in ACCENTS:
                return None
            out = "\\%s{%s}" % (ACCENTS[ord(mark)], out)
        return out
    return None


def latex(cps):
    parts = [latex_char(c) for c in cps]
    if any(p is None for p in parts):
        return None
    if len(cps) == 2 and cps[1] == 0x0338 and parts[0].startswith("\\ensuremath{"):
        return "\\ensuremath{\\not" + parts[0][len("\\ensuremath{"):]
    return "".join(parts)


# --- output -----------------------------------------------------------------

HEADER = """\
# {file}: SDATA map of the qlx library {what}.
# Written by scripts/make-sdata-maps.py from the ISO 8879 entity sets
# {sets}.
# Each line is an SDATA entity text as the parser passes it, a tab, and
# the replacement (in the escape language of qlx's output).
"""


def write_map(path, what, entries, convert):
    seen = {}
    lines = []
    for setname, ent, text, cps in entries:
        repl = convert(cps)
        if repl is None or text in seen:
            continue
        seen[text] = repl
        lines.append("%s\t%s\n" % (text, escape_emit(repl)))
    with open(path, "w", encoding="utf-8") as f:
        sets = sorted({e[0] for e in entries}, key=SETS.index)
        setlines = textwrap.wrap(", ".join(sets), 70)
        header = HEADER.format(file=os.path.basename(path), what=what,
                               sets="\n# ".join(setlines))
        f.write(header)
        f.writelines(lines)
    return len(lines)


def main():
    args = sys.argv[1:]
    sgmldir = args[0] if len(args) > 0 else "/usr/share/sgml/entities/sgml-iso-entities-8879.1986"
    xmldir = args[1] if len(args) > 1 else "/usr/share/xml/entities/xml-iso-entities-8879.1986"
    outdir = args[2] if len(args) > 2 else os.path.join(os.path.dirname(__file__), "..", "lib")
    entries = read_sets(sgmldir, xmldir)
    utf8 = lambda cps: "".join(chr(c) for c in cps)
    counts = [
        ("utf8.sdata", write_map(os.path.join(outdir, "utf8.sdata"),
                                 "for UTF-8 text", entries, utf8)),
        ("html.sdata", write_map(os.path.join(outdir, "html.sdata"),
                                 "for HTML", entries, html)),
        ("roff.sdata", write_map(os.path.join(outdir, "roff.sdata"),
                                 "for groff (man pages)", entries, roff)),
        ("latex.sdata", write_map(os.path.join(outdir, "latex.sdata"),
                                  "for LaTeX", entries, latex)),
    ]
    for name, n in counts:
        print("%s: %d entries" % (name, n))


if __name__ == "__main__":
    main()
