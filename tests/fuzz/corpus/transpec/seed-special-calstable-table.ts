# _calstable hands its words to the table code: a two-column table as tbl
# input, and the messages of calls the table code cannot take.
GI: DOC
StartText: ${_calstable tbl tablestart}
EndText: ${_calstable tbl tableend}${_calstable tbl}${_calstable tbl nosuch extra words}${_calstable bogus tablestart}
-
GI: TGROUP
StartText: ${_calstable tbl tablegroup}
EndText: ${_calstable tbl tablegroupend}
-
GI: TBODY
-
GI: ROW
StartText: ${_calstable tbl rowstart}
EndText: ${_calstable tbl rowend}
-
GI: ENTRY
StartText: ${_calstable tbl entrystart}
EndText: ${_calstable tbl entryend}
-
