# _chasetogi: the element itself, a linked element, a child of a linked
# element, a chain of links; action 0; too few words; a missing ID.
GI: NODE
StartText: ^${ID}: ${_chasetogi NODE 1}|${_chasetogi GOAL 1}|${_chasetogi GOAL 0}|${_chasetogi GOAL}
-
GI: REF
StartText: ^ref: ${_chasetogi GOAL 1}|${_chasetogi REF 2}
-
GI: WEB
EndText: ^
-
GI: LIST ITEM NAMES GOAL SEP
Ignore: all
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
