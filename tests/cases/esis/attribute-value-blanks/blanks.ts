# An attribute value's own leading blanks are data: patterns, variables
# and _allatts all see them.
GI: P
AttValue: SEP ^ x$
StartText: [${SEP}|${TEXT}|${ONLY}|${EMPTY}] ${_allatts}^
Ignore: all
-
GI: P
StartText: no leading blank: [${SEP}]^
-
