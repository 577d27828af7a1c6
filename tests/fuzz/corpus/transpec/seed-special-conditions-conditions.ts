# Conditions that run named actions on the current element (_attval,
# _pattval, _isset), _action, _id, _insertnode and _set.
Var: mode draft
GI: WEB
StartText: web: ${_isset mode 1}|${_isset mode draft 2}|${_isset mode final 2}|${_isset nomode 1}|${_isset mode}|${_id N3 1}|${_id NOSUCH 1}|${_id NOSUCH}|${_id L2}^
EndText: ^sets: [${a}] [${b}] [${c none}] [${d}]^
-
GI: LIST
StartText: ^list ${ID}: ${_attval TYPE 1}|${_attval TYPE bullet 2}|${_attval TYPE dash 2}|${_attval TYPE}|${_attval NONE 1}|${_action 2}
-
GI: ITEM
StartText: ^item ${ID}: ${_pattval TYPE 1}|${_pattval TYPE bullet 2}|${_pattval TYPE dash 2}|${_pattval TYPE}|${_insertnode S 5}${_insertnode E 6}${_insertnode X 1}
EndText: /${ID}
-
GI: NAMES
Ignore: all
StartText: ${_set a one two}${_set b ok}${_set c}${_set d}${_set b}${_set d}
-
GI: NODE REF SEP GOAL
Ignore: all
-
# Named actions.
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
GI: _before
SpecID: 5
StartText: {before
EndText: }
-
GI: _after
SpecID: 6
StartText: {after}
-
