# Each element with its attributes, file and line; data as it comes.
GI: *
StartText: [${_gi} ${_allatts} @ ${_infile line}]
EndText: [/${_gi}]
-
