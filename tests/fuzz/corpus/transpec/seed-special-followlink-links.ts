# _followlink through the default link attributes (LINKEND, LINKENDS,
# IDREF, in this order) and through a named attribute.
GI: NODE
StartText: ^${ID}: ${_followlink 1}|${_followlink TARGET 2}
-
GI: REF
StartText: ^ref: ${_followlink 1}|${_followlink LINKEND 2}|${_followlink TARGET 2}
-
GI: WEB
StartText: web: ${_followlink 1}
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
