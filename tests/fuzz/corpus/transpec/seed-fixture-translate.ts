# The fixed translation spec of the translation fuzz target: every special
# variable, both table formats, every spec keyword.  Commands run only from
# this file (${_!echo ...} and a "!" value), never from the document.
Var: fuzzvar one two
Var: cmdvar !echo var-command
Var: link_atts LINKEND IDREF
-
GI: _Start
StartText: start ${fuzzvar} ${date:l} ${nosuch default text}^
Message: starting
-
GI: _End
EndText: ^end ${_env HOME}${_env}
-
GI: _pi
Replace: <?${_gi}?>
-
GI: _*
StartText: [pi]
-
GI: DOC
StartText: ${_gi L}${_gi M}${_gi}${_allatts}${_infile}${_infile root}${_infile line}^
EndText: ${_location}${_path}${_nchild}${_nchild SECT}${_n1gchild}^
Set: docseen yes
-
GI: SECT
Context: ^DOC
NthChild: 1
StartText: ^.SH ${TITLE:l "untitled"}${_insertnode S 10}${_insertnode E 11}${_insertnode X 3}
Increment: sectcount 1
-
GI: SECT
StartText: ^.SS ${TITLE}${_pattr LEVEL}${_pattval LEVEL 2 12}${_pattval LEVEL 12}
-
GI: P
Context: ITEM LIST
StartText: \n\s\t\#8364;\|amp\|
EndText: ^
-
GI: P
AttValue: ROLE note|warn
StartText: ${_attval ROLE 12}${_attval ROLE note 13}${_attval ROLE}
Message: a ${ROLE} paragraph
-
GI: P
Content: ^[Hh]ello
StartText: greeting:
EndText: ${+content}
-
GI: P
PAttSet: TYPE ${listtype bullet}
StartText: ${_relation sibling P 12 13}${_relation nosuchrel P 12 13}${_followrel parent LIST 14}
-
GI: P
-
GI: LIST
Relation: ancestor DOC
StartText: ${_eachatt NAMES 15 16}${_eachatt NAMES 15}${_eachatt NOSUCH 15}
EndText: ${_eachcon 17}${_eachcon a 17}${_A}${_C}${each_A}${each_C}
-
GI: ITEM
VarValue: docseen yes
StartText: ${_isset docseen 12}${_isset docseen yes 13}${_isset nosuch 12}${_isset each_A 12}
-
GI: ITEM
VarREValue: fuzzvar ^one
StartText: ${_set itemvar ${ID}}${_set itemvar}${_set}${_action 12}${_action}${_action 999}
-
GI: XREF
StartText: ${_followlink 14}${_followlink LINKEND 14}${_followlink NOATT 14}${_chasetogi SECT 14}${_chasetogi SECT 0}${_chasetogi SECT}
-
GI: TARGET
StartText: ${_id ${REF} 14}${_id ${REF}}${_id}
Ignore: children
-
GI: NAMES
StartText: ${_namelist 14 12}${_namelist 14}
Ignore: data
-
GI: FIND
StartText: ${_find gi P 12}${_find top gi ITEM 13}${_find gi-parent P LIST 12}${_find attr ROLE note 13}${_find parent LIST 14}${_find gi P}${_pfind gi P 12}${_find nosuch a b c}
-
GI: GRAPHIC
StartText: ${_filename}
-
GI: LIT
Verbatim: yes
StartText: ${_include fuzz.sdata}${_include nosuch-file}${_include}
-
GI: CMD
StartText: ${_!echo document-command}${cmdvar}${_set setcmd !echo set-command}${setcmd}
-
GI: STOP
Quit: stopped by the document
-
GI: GONE
Replace: (gone ${_gi})
Set: gonevar ${ID}
-
GI: SKIP
Ignore: all
-
GI: ALIAS
Action: 12
-
GI: LOST
Action: 998
-
GI: UNKNOWN
StartText: ${_nosuch}${_}${_ }${_!}${_set a b
-
# Tables: inside TEX the tex format, everywhere else tbl.
GI: TABLE
Relation: ancestor TEX
StartText: ${_calstable tex check}^\\begin{tabular}{${_calstable tex}}^${_calstable tex top}^
EndText: ^${_calstable tex bottom}^\\end{tabular}^${_calstable tex clear}
-
GI: TGROUP
Relation: ancestor TEX
StartText: ${_calstable tex check}
-
GI: COLSPEC
Relation: ancestor TEX
StartText: ${_calstable tex check}
-
GI: ROW
Relation: ancestor TEX
StartText: ${_calstable tex check}${_calstable tex rowstart}
EndText: ${_calstable tex rowend}^
-
GI: ENTRY
Relation: ancestor TEX
StartText: ${_calstable tex cellstart}
EndText: ${_calstable tex cellend}${_calstable tex nosuch}
-
GI: TABLE
StartText: ${_calstable tbl tablestart}
EndText: ${_calstable tbl tableend}${_calstable tbl}${_calstable bogus}
-
GI: TGROUP
StartText: ${_calstable tbl tablegroup}
EndText: ${_calstable tbl tablegroupend}
-
GI: TFOOT
StartText: ${_calstable tbl tablefoot}
-
GI: ROW
StartText: ${_calstable tbl rowstart}
EndText: ${_calstable tbl rowend}
-
GI: ENTRY
StartText: ${_calstable tbl entrystart}
EndText: ${_calstable tbl entryend}
-
# Named actions.
SpecID: 10
StartText: [before ${_gi}]
-
SpecID: 11
StartText: [after ${_gi}]
-
SpecID: 12
StartText: [12 ${_gi} ${each_A} ${each_C}]
-
SpecID: 13
GI: P
StartText: [13 ${_gi}]
-
SpecID: 14
StartText: [14 ${_gi} ${_path}]
-
SpecID: 15
StartText: [15 ${_A}]
-
SpecID: 16
StartText: [16 ${each_A}]
-
SpecID: 17
StartText: [17 ${_C}]${_eachcon 12}
-
GI: *
StartText: <${_gi}>
EndText: </${_gi}>
-
