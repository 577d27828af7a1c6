# BACK translates its own section again, and so again and again: the
# nesting limit stops the loop, and the translation goes on after it.
GI: DOC
EndText: |
-
GI: SECT
StartText: <
EndText: >
-
GI: BACK
StartText: ${_id ${REF}}
-
GI: NEXT
StartText: [
EndText: ]
-
