GI: MEMO
StartText: before-
-
GI: HEAD
StartText: head-
-
GI: CODE
Quit: No code allowed here.
-
