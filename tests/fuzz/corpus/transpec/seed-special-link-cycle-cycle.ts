# N4 -> N5 -> N4 never reaches a GOAL: the chase stops at the element met
# twice.  From N1 the chain N1 -> N2 -> N3 ends at N3's GOAL child.
Var: link_atts LINKEND LINKENDS
GI: NODE
StartText: ^${ID}: [${_chasetogi GOAL 1}]
-
GI: WEB
EndText: ^
-
GI: LIST ITEM NAMES GOAL SEP REF
Ignore: all
-
GI: _one
SpecID: 1
Ignore: all
StartText: <1:${_gi} in ${_pattr ID}>
-
