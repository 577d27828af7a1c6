# Loops over the words of an attribute (_eachatt, each_A, _A) and of the
# element's data (_eachcon, each_C, _C); the values before any loop and
# after a loop has ended.
GI: WEB
StartText: before: [${each_A}] [${each_C}] [${_A}] [${_C}] [${_isset each_A 3}]^
EndText: ^after: [${each_A}] [${_A}] [${each_C}] [${_C}]^
-
GI: LIST
Context: WEB
StartText: keys: ${_eachatt KEYS 1 2}|${_eachatt KEYS 1}|${_eachatt NONE 1}|${_eachatt KEYS}|${_isset each_A gamma 3}^
-
GI: ITEM
StartText: ^item ${ID}: ${_eachcon 4}|${_eachcon 4 5}|${_eachcon 5 4 5}|${_eachcon}
Ignore: all
-
GI: NAMES
StartText: ^names: ${_eachcon 4}|${_eachcon 5}^
Ignore: all
-
GI: NODE REF LIST GOAL SEP
Ignore: all
-
GI: _first
SpecID: 1
Ignore: all
StartText: <${_gi}: ${each_A}
-
GI: _more
SpecID: 2
Ignore: all
StartText: \s+${_A}
-
GI: _isset
SpecID: 3
Ignore: all
StartText: set
-
GI: _word
SpecID: 4
Ignore: all
StartText: (${each_C})
-
GI: _word2
SpecID: 5
Ignore: all
StartText: {${_C}}
-
