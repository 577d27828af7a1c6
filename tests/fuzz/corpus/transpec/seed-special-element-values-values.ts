# Values of the current element: name, path, location, file, counts,
# attributes, parent attributes, environment.
GI: MANUAL
StartText: manual: [${_pattr ID}] [${_env USER}] [${_env QLX_NO_SUCH_VARIABLE}] [${_env}] [${_n1gchild}] [${_gi Upper}]^
EndText: ^
-
GI: CHAPTER
StartText: ^chapter ${ID}: ${_infile}|${_infile root}|${_infile line}|${_infile other}|${_nchild}|${_nchild PARA}|${_nchild SECTION}|${_nchild para}|${_n1gchild}|${_pattr VERSION}|${_path}^
-
GI: FIGURE
StartText: ^figure: ${_filename}|${_gi}|${_gi l}|${_gi lower}|${_gi M}|${_gi mixed}|${_gi U}|${_gi x}|${_allatts}^
-
GI: SECTION
StartText: ^section:^${_location}
-
GI: GLOSS
Ignore: data
StartText: ^[${_allatts}|${_n1gchild}|${_pattr ID}|${_pattr NONE}]
-
GI: XREF
Relation: ancestor SECTION
StartText: [${_filename}]
-
GI: TITLE
Ignore: all
-
GI: *
Ignore: data
-
