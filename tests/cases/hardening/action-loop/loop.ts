# BACK translates its own section again, and so again and again: the
# nesting goes on until the stack the run has is nearly used up, and then
# the run stops with a message and status 1.  The levels write nothing, so
# the output does not depend on how many there were.
GI: DOC
StartText: start^
EndText: |
-
GI: SECT
Ignore: data
-
GI: BACK
StartText: ${_id ${REF}}
-
GI: NEXT
StartText: [
EndText: ]
-
