# _namelist: the words of each data item are IDs (upper-cased while
# foldcase is on); the first word of an item runs the first action, later
# words the other one; an unknown ID is reported and the loop goes on.
GI: NAMES
StartText: names: ${_namelist 1 2}|${_namelist 2}|${_namelist}^
Ignore: all
-
GI: WEB
-
GI: LIST ITEM NODE GOAL REF SEP
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
