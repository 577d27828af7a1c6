# Unknown names, empty calls, and calls that lack a word they read: each
# draws a message naming the call, and the translation goes on.
GI: WEB
StartText: [${_nosuch a b}][${_}][${_ }][${_GI}][${_action 99}]^
EndText: missing: [${_action}][${_attval}][${_id}][${_isset}][${_pattr}][${_pattval}][${_set}][${_insertnode S}][${_followlink}][${_eachatt KEYS}][${_eachcon}][${_namelist}][${_chasetogi GOAL}][${_find gi LIST}][${_find gi-parent ITEM LIST}][${_find attr TYPE a}]^
Ignore: all
-
