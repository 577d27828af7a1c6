# docbook-latex.ts: DocBook (SGML or XML) to a LaTeX document.
#
#   onsgmls -b utf-8 doc.sgml | qlx -t docbook-latex.ts > doc.tex
#   pdflatex doc.tex
#
# The spec names its maps (latex.sdata, and latex.cmap, which escapes the
# data's special characters; -s and -c override them).
# The document element decides the class: a BOOK is a book (with
# chapters), anything else an article; a table of contents follows the
# title (run pdflatex twice to fill it).  Tables are tabular environments
# (longtable, which breaks across pages) whose paragraph columns share the
# line's width ("_calstable tex fill"),
# so that prose in an entry wraps and lists may stand in it; verbatim text
# is an alltt environment.  Only the LaTeX kernel and the alltt and
# longtable packages (part of every LaTeX) are needed.
#
# Variables (set them with -D name=value):
#   papersize  the paper option of the document class (default a4paper)
#
# SpecIDs 100-199 are the named actions of this file; their name #action
# matches no element, so they run only when an action names them.

GI: _Start
Var: _sdatamap latex.sdata
Var: _charmap latex.cmap
StartText: % Written by qlx with docbook-latex.ts from a DocBook document.^
-
GI: _End
StartText: ^
-
# Processing instructions are for other tools (dbhtml, dbfo, dblatex, ...).
GI: _*
Replace:
-

#------------------------------------------------------------------------
# The document element: class, preamble, title.

GI: BOOK
Context: ^$
StartText: \\documentclass[${papersize a4paper}]{book}^${_action 101}
EndText: ^\\end{document}^
-
GI: ARTICLE BOOK SET PART REFERENCE REFENTRY CHAPTER APPENDIX PREFACE SECT1 SECTION
Context: ^$
StartText: \\documentclass[${papersize a4paper}]{article}^${_action 101}
EndText: ^\\end{document}^
-
GI: #action
SpecID: 101
Ignore: all
StartText: \\usepackage[T1]{fontenc}^\\usepackage[utf8]{inputenc}^\\usepackage{alltt}^\\usepackage{longtable}^\\let\\qlxunderscore\\_\\renewcommand{\\_}{\\qlxunderscore\\allowbreak}^\\providecommand{\\textohm}{\\ensuremath{\\Omega}}^\\title{${_followrel child TITLE 110}${_find gi-parent TITLE ARTICLEINFO 110}${_find gi-parent TITLE BOOKINFO 110}${_find gi-parent REFENTRYTITLE REFMETA 110}}^\\author{${_find gi AUTHOR 102}}^\\date{${_find gi-parent DATE ARTICLEINFO 110}${_find gi-parent DATE BOOKINFO 110}}^\\begin{document}^\\maketitle^\\tableofcontents^
-
# An author's name only: no affiliation or address in the title.
GI: #action
SpecID: 102
Ignore: all
StartText: ${_relation sibling- AUTHOR 103}${_followrel child FIRSTNAME 104}${_followrel child SURNAME 110}${_followrel child PERSONNAME 110}
-
GI: #action
SpecID: 104
EndText: \s
-
GI: #action
SpecID: 103
Ignore: all
StartText: \s\\and\s
-
# The content of an element, with nothing around it.
GI: #action
SpecID: 110
-
GI: #action
SpecID: 199
Ignore: all
-
GI: FIRSTNAME HONORIFIC OTHERNAME
EndText: \s
-

#------------------------------------------------------------------------
# Metadata that the document does not show.

GI: REFMETA REFENTRYINFO ARTICLEINFO BOOKINFO CHAPTERINFO APPENDIXINFO PREFACEINFO SECTIONINFO SECT1INFO SECT2INFO SECT3INFO SECT4INFO SECT5INFO REFSECT1INFO REFSECT2INFO REFSECT3INFO REFSYNOPSISDIVINFO SETINFO INFO DOCINFO PARTINFO REFERENCEINFO TITLEABBREV INDEXTERM REMARK COMMENT TOC LOT INDEX BEGINPAGE ANCHOR COLSPEC SPANSPEC
Ignore: all
-

#------------------------------------------------------------------------
# Headings.  In a book chapters are chapters; in an article the top
# sections are sections.

GI: TITLE
Context: ^(ARTICLE|BOOK|SET)$
Ignore: all
-
GI: TITLE
Context: ^(CHAPTER|APPENDIX|PREFACE)( |$)
StartText: ^\n\\chapter{
EndText: }^
-
GI: TITLE
Context: ^(SECT1|REFSECT1|REFSYNOPSISDIV|GLOSSARY|BIBLIOGRAPHY|COLOPHON|PART|REFERENCE)( |$)
StartText: ^\n\\section{
EndText: }^
-
GI: TITLE
Context: ^SECTION (ARTICLE|PARTINTRO|REFENTRY|CHAPTER|APPENDIX|PREFACE)( |$)
StartText: ^\n\\section{
EndText: }^
-
GI: TITLE
Context: ^(SECT2|REFSECT2|SIMPLESECT|SECTION)( |$)
StartText: ^\n\\subsection{
EndText: }^
-
GI: TITLE
Context: ^(SECT3|SECT4|SECT5|REFSECT3)( |$)
StartText: ^\n\\subsubsection{
EndText: }^
-
GI: TITLE
Context: ^(TABLE|INFORMALTABLE)( |$)
Ignore: all
-
# A list's title is written by the list (see below).
GI: TITLE
Context: ^(ITEMIZEDLIST|ORDEREDLIST|VARIABLELIST|PROCEDURE|GLOSSLIST|GLOSSDIV|CALLOUTLIST|QANDASET|QANDADIV|SIMPLELIST|SEGMENTEDLIST)( |$)
Ignore: all
-
GI: TITLE
Context: ^FIGURE( |$)
StartText: \\refstepcounter{figure}\\textbf{Figure~\\thefigure.\s
EndText: }\\par\\smallskip^
-
GI: REFENTRY
StartText: ^\n\\section{${_find gi-parent REFENTRYTITLE REFMETA 110}}^
-
GI: REFNAMEDIV
StartText: ^\n\\section*{Name}^
EndText: ^
-
GI: REFNAME
NthChild: 1
-
GI: REFNAME
StartText: ,\s
-
GI: REFPURPOSE
StartText: \s---\s
-
GI: REFDESCRIPTOR REFCLASS
Ignore: all
-
GI: REFSYNOPSISDIV
StartText: ${_relation child TITLE 199 120}
-
GI: #action
SpecID: 120
Ignore: all
StartText: ^\n\\section*{Synopsis}^
-
GI: REFENTRYTITLE
Context: CITEREFENTRY
StartText: \\textbf{
EndText: }
-
GI: MANVOLNUM
Context: CITEREFENTRY
StartText: (
EndText: )
-

#------------------------------------------------------------------------
# Paragraphs and blocks

# Paragraphs of a table entry are separated (an entry is a paragraph box).
GI: PARA SIMPARA
Context: ^ENTRY( |$)
Relation: sibling- PARA
StartText: \\par{}
-
GI: PARA SIMPARA
Context: ^(ENTRY|FOOTNOTE|TERM|MEMBER)( |$)
-
GI: PARA SIMPARA
StartText: ^\n
EndText: ^
-
GI: FORMALPARA
StartText: ^\n
EndText: ^
-
GI: TITLE
Context: FORMALPARA
StartText: \\textbf{
EndText: }\s
-
GI: PARA
Context: FORMALPARA
-
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS FUNCSYNOPSISINFO
StartText: ^\\begin{alltt}^
EndText: ^\\end{alltt}^
-
GI: NOTE TIP WARNING CAUTION IMPORTANT
StartText: ^\\begin{quote}^\\textbf{${_gi M}:}${_relation child TITLE 199 130}\s
EndText: ^\\end{quote}^
-
GI: #action
SpecID: 130
Ignore: all
-
GI: TITLE
Context: ^(NOTE|TIP|WARNING|CAUTION|IMPORTANT)( |$)
StartText: \\textbf{
EndText: }^
-
GI: BLOCKQUOTE EPIGRAPH SIDEBAR
StartText: ^\\begin{quote}^
EndText: ^\\end{quote}^
-
GI: ATTRIBUTION
StartText: ^\\hfill---\s
EndText: ^
-

#------------------------------------------------------------------------
# Synopses

GI: CMDSYNOPSIS
StartText: ^\n\\noindent\\texttt{
EndText: }^
-
GI: COMMAND
Context: CMDSYNOPSIS
StartText: \\textbf{
EndText: }
-
GI: SBR
StartText: \\newline{}
-
GI: ARG
Context: GROUP
StartText: ${_relation sibling-1 ARG 121}${_relation sibling-1 GROUP 121}
EndText: ${_attval REP REPEAT 124}
-
GI: GROUP
Context: GROUP
StartText: ${_relation sibling-1 ARG 121}${_relation sibling-1 GROUP 121}${_attval CHOICE OPT 125}${_attval CHOICE REQ 122}
EndText: ${_attval CHOICE OPT 126}${_attval CHOICE REQ 123}${_attval REP REPEAT 124}
-
GI: ARG GROUP
AttValue: CHOICE ^(OPT|opt)$
StartText: \s[
EndText: ]${_attval REP REPEAT 124}
-
GI: ARG GROUP
AttValue: CHOICE ^(REQ|req)$
StartText: \s\\{
EndText: \\}${_attval REP REPEAT 124}
-
GI: ARG GROUP
StartText: \s
EndText: ${_attval REP REPEAT 124}
-
GI: #action
SpecID: 121
Ignore: all
StartText: \s\\textbar{}\s
-
GI: #action
SpecID: 122
Ignore: all
StartText: \\{
-
GI: #action
SpecID: 123
Ignore: all
StartText: \\}
-
GI: #action
SpecID: 124
Ignore: all
StartText: \\ldots{}
-
GI: #action
SpecID: 125
Ignore: all
StartText: [
-
GI: #action
SpecID: 126
Ignore: all
StartText: ]
-
# A function synopsis: each prototype a ragged paragraph in typewriter
# type whose lines after the first are indented.
GI: FUNCSYNOPSIS
StartText: ^\n\\begin{flushleft}^
EndText: ^\\end{flushleft}^
-
GI: FUNCPROTOTYPE
StartText: ^\\hangindent=2em\\hangafter=1\\texttt{
EndText: );}\\par^
-
GI: FUNCDEF
EndText: (
-
GI: FUNCTION
Context: FUNCDEF
StartText: \\textbf{
EndText: }
-
GI: PARAMDEF
NthChild: 2
-
GI: PARAMDEF
StartText: ,\s
-
GI: VOID
Replace: void
-
GI: VARARGS
Replace: \\ldots{}
-

#------------------------------------------------------------------------
# Lists

# A list's title stands above the list: no text may come before its
# first item.
GI: #action
SpecID: 151
StartText: ^\n\\noindent\\textbf{
EndText: }\\par^
-
GI: ITEMIZEDLIST
StartText: ^${_followrel child TITLE 151}\\begin{itemize}^
EndText: ^\\end{itemize}^
-
GI: ORDEREDLIST PROCEDURE SUBSTEPS
StartText: ^${_followrel child TITLE 151}\\begin{enumerate}^
EndText: ^\\end{enumerate}^
-
GI: LISTITEM STEP
Context: ^(ITEMIZEDLIST|ORDEREDLIST|PROCEDURE|SUBSTEPS)( |$)
StartText: ^\\item\s
EndText: ^
-
GI: VARIABLELIST GLOSSLIST GLOSSDIV CALLOUTLIST QANDASET QANDADIV
StartText: ^${_followrel child TITLE 151}\\begin{description}^
EndText: ^\\end{description}^
-
GI: GLOSSARY
StartText: ^\\begin{description}^
EndText: ^\\end{description}^
-
GI: TITLE
Context: GLOSSARY
StartText: ^\\item[{\\large\s
EndText: }]\s\\mbox{}^
-
GI: VARLISTENTRY GLOSSENTRY
StartText: ^\\item[{
EndText: ^
-
GI: TERM
NthChild: 1
-
GI: TERM
StartText: ,\s
-
GI: GLOSSTERM
Context: GLOSSENTRY
-
GI: LISTITEM GLOSSDEF
Context: ^(VARLISTENTRY|GLOSSENTRY)( |$)
StartText: }]\s\\mbox{}^
-
GI: GLOSSSEE GLOSSSEEALSO
StartText: }]\s See\s
-
GI: CALLOUT
StartText: ^\\item[{(${AREAREFS})}]\s
EndText: ^
-
GI: QUESTION
StartText: ^\\item[{Q:}]\s
EndText: ^
-
GI: ANSWER
StartText: ^\\item[{A:}]\s
EndText: ^
-
GI: SIMPLELIST
AttValue: TYPE ^(INLINE|inline)$
-
GI: MEMBER
PAttSet: TYPE INLINE
Relation: sibling- MEMBER
StartText: ,\s
-
GI: MEMBER
PAttSet: TYPE INLINE
-
GI: SIMPLELIST SEGMENTEDLIST
StartText: ^${_followrel child TITLE 151}\\begin{itemize}^
EndText: ^\\end{itemize}^
-
GI: MEMBER SEGLISTITEM
StartText: ^\\item\s
EndText: ^
-
GI: SEG
EndText: \\newline{}
-
GI: SEGTITLE
Ignore: all
-

#------------------------------------------------------------------------
# CALS tables: the column format and the cell separators come from
# "_calstable tex"; the table's title goes above it.

# A table inside a table group (markup seen in real pages, where an
# include put a copy of the TABLE inside its own TGROUP) is left out: a
# longtable cannot stand in another, and the group holds the rows itself.
GI: TABLE INFORMALTABLE
Context: ^TGROUP( |$)
Ignore: all
-
# A long table breaks across pages; a TABLE's title is its numbered
# caption.
GI: TABLE INFORMALTABLE
StartText: ^\n
EndText: ^
-
GI: TGROUP
StartText: \\begin{longtable}{${_calstable tex fill}}^${_followrel parent TABLE 150}${_calstable tex top}^
EndText: ^${_calstable tex bottom}^\\end{longtable}^
-
GI: #action
SpecID: 150
Ignore: all
StartText: ${_followrel child TITLE 152}
-
GI: #action
SpecID: 152
StartText: \\caption{
EndText: }\\\\^
-
GI: ROW
StartText: ${_calstable tex rowstart}
EndText: ${_calstable tex rowend}^
-
# Each entry is a ragged paragraph; \par ends it while its settings hold.
GI: ENTRY
StartText: ${_calstable tex cellstart}\\raggedright{}
EndText: \\par${_calstable tex cellend}
-
GI: ENTRYTBL
Replace: ${_calstable tex cellstart}(table)${_calstable tex cellend}
-

#------------------------------------------------------------------------
# Inline elements

GI: COMMAND OPTION USERINPUT FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD FILENAME MARKUP
Context: ^(PROGRAMLISTING|SCREEN|LITERALLAYOUT|SYNOPSIS|CMDSYNOPSIS|FUNCSYNOPSISINFO|ARG|GROUP)( |$)
-
GI: SGMLTAG TAG
AttValue: CLASS ^(STARTTAG|starttag)$
StartText: \\texttt{\\textless{}
EndText: \\textgreater{}}
-
GI: SGMLTAG TAG
AttValue: CLASS ^(ENDTAG|endtag)$
StartText: \\texttt{\\textless{}/
EndText: \\textgreater{}}
-
GI: COMMAND USERINPUT
StartText: \\texttt{\\textbf{
EndText: }}
-
GI: OPTION FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD FILENAME
StartText: \\texttt{
EndText: }
-
GI: EMPHASIS
AttValue: ROLE ^(bold|strong|BOLD|STRONG)$
StartText: \\textbf{
EndText: }
-
GI: REPLACEABLE PARAMETER EMPHASIS CITETITLE FIRSTTERM FOREIGNPHRASE WORDASWORD GLOSSTERM
StartText: \\emph{
EndText: }
-
GI: KEYCAP KEYCOMBO GUIBUTTON GUILABEL GUIMENU GUIMENUITEM GUISUBMENU MENUCHOICE ACCEL
StartText: \\textsf{
EndText: }
-
GI: QUOTE
StartText: ``
EndText: ''
-
GI: TRADEMARK
EndText: \\texttrademark{}
-
GI: SUPERSCRIPT
StartText: \\textsuperscript{
EndText: }
-
GI: SUBSCRIPT
StartText: \\ensuremath{_{\\mbox{
EndText: }}}
-
# The URL of a link goes into a footnote; \detokenize keeps its
# characters from being read as commands (a percent sign or an unbalanced
# brace in it would still need escaping in the document).
GI: ULINK
EndText: \\footnote{\\texttt{\\detokenize{${URL}}}}
-
GI: EMAIL
StartText: \\texttt{\\textless{}
EndText: \\textgreater{}}
-
GI: FOOTNOTE
StartText: \\footnote{
EndText: }
-
GI: XREF
Replace: ${_followlink LINKEND 140}
-
# A link within the document: its text (a printed page has no anchors).
GI: LINK
StartText:
-
# A figure: a numbered title over its content, in the flow of the text (a
# float could not stand in a list item or a table).
GI: FIGURE INFORMALFIGURE
StartText: ^\n\\begin{center}^
EndText: ^\\end{center}^
-
# An image cannot be assumed to exist where the document is printed: its
# text object, or the name of its file in a frame.
GI: MEDIAOBJECT INLINEMEDIAOBJECT
Relation: child TEXTOBJECT
Replace: ${_followrel child TEXTOBJECT 110}
-
GI: MEDIAOBJECT INLINEMEDIAOBJECT
Replace: ${_followrel child IMAGEOBJECT 160}
-
GI: #action
SpecID: 160
Ignore: all
StartText: ${_followrel child IMAGEDATA 161}
-
GI: #action
SpecID: 161
Ignore: all
StartText: \\fbox{\\texttt{\\detokenize{${FILEREF}}}}
-
GI: GRAPHIC INLINEGRAPHIC
Replace: \\fbox{\\texttt{\\detokenize{${FILEREF}}}}
-
GI: #action
SpecID: 140
Ignore: all
StartText: ${_followrel child TITLE 141}${_followrel child TERM 141}${_followrel child REFMETA 142}
-
GI: #action
SpecID: 141
StartText: ``
EndText: ''
-
GI: #action
SpecID: 142
Ignore: all
StartText: ${_followrel child REFENTRYTITLE 110}${_followrel child MANVOLNUM 143}
-
GI: #action
SpecID: 143
StartText: (
EndText: )
-

# Any other title: a run-in heading.
GI: TITLE
StartText: ^\n\\paragraph{
EndText: }^
-

# Anything else: its content, without markup.
GI: *
-
