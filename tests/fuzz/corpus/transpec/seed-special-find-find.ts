# _find and _pfind: every kind, from the current element, from its parent
# and from the root; too few words; an unknown kind; long action texts.
GI: WEB
StartText: gi: ${_find gi ITEM 1}^gi-parent: ${_find gi-parent ITEM LIST 1}${_find gi-parent ITEM NONE 1}^attr: ${_find attr TYPE a 1}${_find attr TYPE b 1}^parent: ${_find parent WEB 2}^other: [${_find other ITEM 1}] [${_find gi ITEM }]^long: ${_find gi GOAL 000000000000000000001}^
EndText: ^_End follows^
-
GI: LIST
Context: ITEM
StartText: ^inner list: [${_find gi LIST 1}] [${_pfind gi ITEM 2}] [${_find top gi LIST 2}] [${_find gi ITEM}] [${_pfind top gi ITEM}] [${_find attr TYPE a}] [${_pfind gi-parent ITEM LIST}]
Ignore: all
-
GI: LIST ITEM NODE NAMES GOAL SEP REF
Ignore: data
-
GI: _End
StartText: top: ${_find top gi NODE 1}^
-
GI: _one
SpecID: 1
Ignore: all
StartText: <1:${_gi}${ID: }>
-
GI: _two
SpecID: 2
Ignore: all
StartText: <2:${_gi}${ID: }>
-
