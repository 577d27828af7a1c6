# Named actions that make special calls of their own, seven levels deep:
# _find -> _followlink -> _id -> _eachatt -> _find -> _namelist ->
# _chasetogi.  Every outer call goes on with its own words afterwards: the
# walk finds its second element, the loops their later words, and the
# texts after the calls are written.
GI: WEB
StartText: ${_find attr LINKEND N4 10}^
Ignore: all
-
GI: _node
SpecID: 10
Ignore: all
StartText: ^${ID}: ${_followlink 11}|${_eachatt LINKEND 19 19}|${ID}
-
GI: _linked
SpecID: 11
Ignore: all
StartText: [${ID}>${_id L1 12}<${ID}]
-
GI: _list
SpecID: 12
Ignore: all
StartText: ${_eachatt KEYS 14 15}
-
GI: _firstkey
SpecID: 14
Ignore: all
StartText: (${_A}:${_find top gi NAMES 16}:${_A})
-
GI: _laterkey
SpecID: 15
Ignore: all
StartText: (${_A})
-
GI: _names
SpecID: 16
Ignore: all
StartText: ${_namelist 17 18}
-
GI: _firstname
SpecID: 17
Ignore: all
StartText: +${ID}${_chasetogi GOAL 21}
-
GI: _latername
SpecID: 18
Ignore: all
StartText: -${ID}
-
GI: _linkword
SpecID: 19
Ignore: all
StartText: #${_A}
-
GI: _goal
SpecID: 21
Ignore: all
StartText: !${_gi l}
-
