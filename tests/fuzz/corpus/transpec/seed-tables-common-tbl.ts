# CALS tables (cals.dtd) as tbl input.
GI: _break
Replace: ^.br^
-
GI: DOC
-
GI: P
StartText: ^.sp^
EndText: ^
-
GI: TABLE
StartText: ${_calstable tbl tablestart}
EndText: ${_calstable tbl tableend}
-
GI: TITLE
Ignore: all
-
GI: TGROUP
StartText: ${_calstable tbl tablegroup}
EndText: ${_calstable tbl tablegroupend}
-
GI: COLSPEC
-
GI: SPANSPEC
-
GI: THEAD
-
GI: TBODY
-
GI: TFOOT
StartText: ${_calstable tbl tablefoot}
-
GI: ROW
StartText: ${_calstable tbl rowstart}
EndText: ${_calstable tbl rowend}
-
GI: ENTRY
StartText: ${_calstable tbl entrystart}
EndText: ${_calstable tbl entryend}
-
