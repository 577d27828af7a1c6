# The texts of _Start, _End and processing-instruction specs have no
# current element: calls that read one say so; the others work.
GI: _Start
StartText: start: [${_gi}][${_path}][${_attval A 1}][${_find gi P 1}][${_set s from-start}][${_env USER}][${_id none 1}][${_find top gi P 1}]^
-
GI: _End
StartText: ^end: [${_location}][${_followlink 1}][${_eachatt K 1}][${_namelist 1}][${_relation parent DOC 1}][${_insertnode S 1}][${s}]^
-
GI: _pi
StartText: ^pi: [${_nchild}][${_infile}][${_pattr ID}] 
EndText: ^
-
GI: DOC P
-
GI: _one
SpecID: 1
Ignore: all
StartText: <1:${_gi}>
-
