# check on the table elements and on an entry; clear before the second
# table, whose format then knows only its own COLS.
GI: TABLE
NthChild: 1
StartText: ${_calstable tex check}
-
GI: TABLE
StartText: ${_calstable tex clear}<${_calstable tex}>^
-
GI: TGROUP
StartText: ${_calstable tex check}
-
GI: ROW
StartText: ${_calstable tex check}
-
GI: ENTRY
StartText: ${_calstable tex check}
-
GI: DOC
-
GI: TBODY
-
