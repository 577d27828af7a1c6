# _relation runs its action on the current element when the relation
# holds, else the other action; _followrel runs it on the related element.
GI: ITEM
StartText: ^${ID}: ${_relation parent LIST 1 2}|${_relation ancestor ITEM 1 2}|${_relation child LIST 1}|${_relation sibling+ ITEM 1 2}|${_relation bogus LIST 1 2}|${_relation parent LIST}
EndText: ^${ID} follows: ${_followrel parent LIST 1}|${_followrel ancestor ITEM 2}|${_followrel sibling+1 ITEM 1}|${_followrel child LIST 2}|${_followrel sibling- ITEM 1}|${_followrel parent}
Ignore: data
-
GI: WEB
EndText: ^
-
GI: LIST
-
GI: NODE NAMES GOAL SEP REF
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
