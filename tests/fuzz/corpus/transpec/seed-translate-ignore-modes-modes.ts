GI: MEMO
StartText: [memo]
EndText: ^[/memo]^
-
GI: HEAD
Ignore: data
StartText: ^[head:
EndText: ]
-
GI: TO
Ignore: children
StartText: (to:
EndText: )
-
GI: FROM
Replace: (from replaced)
-
GI: NOTE
Ignore: all
StartText: (note:
EndText: )
Message: note ignored\n
-
GI: BODY
Ignore: children
StartText: ^[body:
EndText: ]
-
GI: _*
StartText: {pi:
EndText: }
-
