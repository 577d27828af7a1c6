# Each element with its file and line, nothing else.
GI: *
Ignore: data
StartText: ${_gi} ${_infile line}^
-
GI: _*
Ignore: data
-
