# Tables (tex.dtd) as LaTeX tabular environments.
GI: DOC
-
GI: P
StartText: ^
EndText: ^
-
GI: TABLE
StartText: ^\\begin{tabular}{${_calstable tex}}^${_calstable tex top}^
EndText: ^${_calstable tex bottom}^\\end{tabular}^
-
GI: TGROUP
-
GI: COLSPEC
-
GI: TBODY
-
GI: ROW
StartText: ${_calstable tex rowstart}
EndText: ${_calstable tex rowend}^
-
GI: ENTRY
StartText: ${_calstable tex cellstart}
EndText: ${_calstable tex cellend}
-
