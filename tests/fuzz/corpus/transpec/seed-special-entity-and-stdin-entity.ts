# An entity without a generated file name, an element without an entity,
# and a document read from standard input (no file name anywhere).
GI: FIG
StartText: [${_filename}|${_infile}|${_infile root}|${_infile line}]^
-
GI: DOC
-
