# docbook-man.ts: DocBook (SGML or XML) to a manual page for man(1).
#
#   onsgmls page.sgml | qlx -t docbook-man.ts -s roff.sdata -c roff.cmap > page.1
#   man -l page.1
#
# Written for REFENTRY documents (one manual page), but any DocBook
# document gives a readable page: its title names the page, its top
# sections become .SH sections.  Tables go through tbl (the page starts
# with the line that tells man to run it).  Use roff.cmap with this spec:
# the texts here assume that the data's dots, apostrophes, hyphens and
# backslashes are escaped by it.
#
# Variables (set them with -D name=value):
#   mansect    the section of a page whose markup gives none (default 1,
#              or 7 for a document that is not a REFENTRY)
#   mandate    the date of the page footer when REFENTRYINFO has no DATE
#   mansource  the source (footer) when REFMETA has no REFMISCINFO for it
#   manmanual  the manual (header) when REFMETA has no REFMISCINFO for it
#
# SpecIDs 100-199 are the named actions of this file; their name #action
# matches no element, so they run only when an action names them.

GI: _Start
Var: thdone no
Var: ol1 1
Var: ol2 1
StartText: '\\" t^.\\" Written by qlx with docbook-man.ts from a DocBook document.^.\\" Leading blanks of the data's lines are dropped outside verbatim text.^.de qlx-lsm^..^.lsm qlx-lsm
-
GI: _End
StartText: ^
-

#------------------------------------------------------------------------
# The page header: written once, by the first element that can open a
# page (the document element in the usual case).

# A page inside a book or reference after the first: a section.
GI: REFENTRY
StartText: ${_isset thdone yes 107}${_isset thdone no 101}
-
GI: ARTICLE BOOK SET PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECTION
StartText: ${_isset thdone no 102}
-

# .TH title section date source manual; text left-adjusted, so that a long
# word (a URL) cannot leave a justified line short.
GI: #action
SpecID: 101
Ignore: all
StartText: ^.TH "${_find gi-parent REFENTRYTITLE REFMETA 110}" "${_find gi-parent MANVOLNUM REFMETA 110}${_relation descendant MANVOLNUM 199 103}" "${_find gi-parent DATE REFENTRYINFO 110}${_relation descendant DATE 199 104}" "${_find attr CLASS source 110}${_find attr CLASS SOURCE 110}${_relation descendant REFMISCINFO 199 105}" "${_find attr CLASS manual 110}${_find attr CLASS MANUAL 110}${_relation descendant REFMISCINFO 199 106}"^.ad l^${_set thdone yes}
-
# .TH for a document that is not a manual page: its title, section 7.
GI: #action
SpecID: 102
Ignore: all
StartText: ^.TH "${_followrel child TITLE 110}${_find gi-parent TITLE ARTICLEINFO 110}${_find gi-parent TITLE BOOKINFO 110}" "${mansect 7}" "${mandate}" "${mansource}" "${manmanual}"^.ad l^${_set thdone yes}
-
GI: #action
SpecID: 107
Ignore: all
StartText: ^.SH^${_find gi-parent REFENTRYTITLE REFMETA 111}^
-
# Defaults for the parts of .TH that the markup lacks.
GI: #action
SpecID: 103
Ignore: all
StartText: ${mansect 1}
-
GI: #action
SpecID: 104
Ignore: all
StartText: ${mandate}
-
GI: #action
SpecID: 105
Ignore: all
StartText: ${mansource}
-
GI: #action
SpecID: 106
Ignore: all
StartText: ${manmanual}
-
# The content of an element, with nothing around it.
GI: #action
SpecID: 110
-
# The same, in bold.
GI: #action
SpecID: 111
StartText: \\fB
EndText: \\fR
-
# Nothing: the "else" of a test.
GI: #action
SpecID: 199
Ignore: all
-

#------------------------------------------------------------------------
# Metadata that the page header has used, or that a page does not show.

GI: REFMETA REFENTRYINFO ARTICLEINFO BOOKINFO CHAPTERINFO APPENDIXINFO PREFACEINFO SECTIONINFO SECT1INFO SECT2INFO SECT3INFO SECT4INFO SECT5INFO REFSECT1INFO REFSECT2INFO REFSECT3INFO REFSYNOPSISDIVINFO SETINFO INFO DOCINFO PARTINFO REFERENCEINFO TITLEABBREV SUBTITLE INDEXTERM REMARK COMMENT TOC LOT INDEX BEGINPAGE ANCHOR MEDIAOBJECT INLINEMEDIAOBJECT GRAPHIC INLINEGRAPHIC SCREENSHOT COLSPEC SPANSPEC
Ignore: all
-

#------------------------------------------------------------------------
# NAME and SYNOPSIS

GI: REFNAMEDIV
StartText: ^.SH NAME^
EndText: ^
-
GI: REFNAME
NthChild: 1
-
GI: REFNAME
StartText: , 
-
GI: REFPURPOSE
StartText: \s\\- 
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
StartText: ^.SH SYNOPSIS^
-
GI: CMDSYNOPSIS
StartText: ^.PP^
EndText: ^
-
GI: COMMAND
Context: CMDSYNOPSIS
NthChild: 1
StartText: \\fB
EndText: \\fR
-
GI: COMMAND
Context: CMDSYNOPSIS
StartText: \s\\fB
EndText: \\fR
-
GI: SBR
StartText: ^.br^
-
# Arguments: [opt], {req}, plain; "..." when repeated.  The members of
# a group are separated by "|" and have no brackets of their own.
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
StartText: \s{
EndText: }${_attval REP REPEAT 124}
-
GI: ARG GROUP
StartText: \s
EndText: ${_attval REP REPEAT 124}
-
GI: #action
SpecID: 121
Ignore: all
StartText: \s|\s
-
GI: #action
SpecID: 122
Ignore: all
StartText: {
-
GI: #action
SpecID: 123
Ignore: all
StartText: }
-
GI: #action
SpecID: 124
Ignore: all
StartText: \\&...
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
GI: FUNCSYNOPSIS
StartText: ^.PP^
EndText: ^
-
GI: FUNCSYNOPSISINFO
StartText: ^.nf^.lsm^
EndText: ^.fi^.lsm qlx-lsm^.PP^
-
GI: FUNCPROTOTYPE
StartText: ^.br^
EndText: );^
-
GI: FUNCDEF
EndText: (
-
GI: FUNCTION
Context: FUNCDEF
StartText: \\fB
EndText: \\fR
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
Replace: \\&...
-

#------------------------------------------------------------------------
# Sections

# A table's title is written before the table (see TABLE).
GI: TITLE
Context: TABLE
Ignore: all
-
# Top sections: .SH, and a title on the next line.
GI: TITLE
Context: ^(REFSECT1|REFSYNOPSISDIV|CHAPTER|APPENDIX|PREFACE|SECT1|GLOSSARY|BIBLIOGRAPHY|PART|REFERENCE|COLOPHON|DEDICATION)( |$)
StartText: ^.SH^
EndText: ^
-
GI: TITLE
Context: ^SECTION (ARTICLE|BOOK|PARTINTRO|REFENTRY)( |$)
StartText: ^.SH^
EndText: ^
-
# Second level: .SS
GI: TITLE
Context: ^(REFSECT2|SECT2|SIMPLESECT|SECTION)( |$)
StartText: ^.SS^
EndText: ^
-
# Deeper: a paragraph in bold.
GI: TITLE
Context: ^(REFSECT3|SECT3|SECT4|SECT5|REFSECTION)( |$)
StartText: ^.PP^\\fB
EndText: \\fR^
-
# The document's own title is its NAME.
GI: TITLE
Context: ^(ARTICLE|BOOK|SET)( |$)
StartText: ^.SH NAME^
EndText: ^
-
# Titles of blocks: a bold line.
GI: TITLE
Context: ^(EXAMPLE|FIGURE|PROCEDURE|SIDEBAR|EQUATION|FORMALPARA|BLOCKQUOTE|ITEMIZEDLIST|ORDEREDLIST|VARIABLELIST|SEGMENTEDLIST|GLOSSDIV|QANDADIV|QANDASET|MSGSET|TASK|BIBLIODIV)( |$)
StartText: ^.PP^\\fB
EndText: \\fR^
-
GI: TITLE
Context: ^(NOTE|TIP|WARNING|CAUTION|IMPORTANT)( |$)
StartText: \\fB
EndText: \\fR^.br^
-
GI: TITLE
StartText: ^.PP^\\fB
EndText: \\fR^
-
GI: REFENTRYTITLE
Context: CITEREFENTRY
StartText: \\fB
EndText: \\fR
-
GI: MANVOLNUM
Context: CITEREFENTRY
StartText: (
EndText: )
-

#------------------------------------------------------------------------
# Paragraphs.  Inside a list item, a note or a table entry the first
# paragraph follows the item's tag; later ones are indented paragraphs.

GI: PARA SIMPARA
Context: ^(ENTRY|FOOTNOTE|TERM|QUESTION|ANSWER|MEMBER)( |$)
NthChild: 1
-
GI: PARA SIMPARA
Context: ^(ENTRY|FOOTNOTE|TERM|MEMBER)( |$)
StartText: \s
-
GI: PARA SIMPARA FORMALPARA
Context: ^(LISTITEM|STEP|CALLOUT|GLOSSDEF)( |$)
NthChild: 1
EndText: ^
-
GI: PARA SIMPARA FORMALPARA
Context: ^(LISTITEM|STEP|CALLOUT|GLOSSDEF)( |$)
StartText: ^.IP^
EndText: ^
-
GI: PARA SIMPARA FORMALPARA
StartText: ^.PP^
EndText: ^
-
GI: PARA
Context: FORMALPARA
-

#------------------------------------------------------------------------
# Verbatim text: no filling, line ends and leading blanks kept.

# In a list item: an indented paragraph at the item's indentation.
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS
Context: ^(LISTITEM|STEP|CALLOUT|GLOSSDEF)( |$)
StartText: ^.IP^.nf^.lsm^
EndText: ^.fi^.lsm qlx-lsm^
-
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS
StartText: ^.sp^.RS 4^.nf^.lsm^
EndText: ^.fi^.lsm qlx-lsm^.RE^
-
GI: SCREENCO PROGRAMLISTINGCO
-
GI: LINEANNOTATION
StartText: \\fI
EndText: \\fR
-

#------------------------------------------------------------------------
# Lists

# A list inside a list item is indented by one more level.
GI: ITEMIZEDLIST ORDEREDLIST VARIABLELIST SIMPLELIST GLOSSLIST PROCEDURE CALLOUTLIST SEGMENTEDLIST
Context: ^(LISTITEM|STEP|GLOSSDEF|CALLOUT|ENTRY|NOTE|TIP|WARNING|CAUTION|IMPORTANT)( |$)
StartText: ^.RS${_set ol2 1}^
EndText: ^.RE^
-
GI: ORDEREDLIST PROCEDURE
StartText: ${_set ol1 1}
-
GI: LISTITEM
Context: ITEMIZEDLIST
StartText: ^.IP \\(bu 2^
EndText: ^
-
# Ordered lists and procedures: numbered, one counter per nesting level.
GI: LISTITEM STEP
Context: ^(ORDEREDLIST|PROCEDURE|SUBSTEPS) (LISTITEM|STEP|CALLOUT|GLOSSDEF)( |$)
StartText: ^.IP ${ol2}. 4^
EndText: ^
Increment: ol2
-
GI: LISTITEM STEP
Context: ^(ORDEREDLIST|PROCEDURE|SUBSTEPS)( |$)
StartText: ^.IP ${ol1}. 4^
EndText: ^
Increment: ol1
-
GI: SUBSTEPS
StartText: ^.RS${_set ol2 1}^
EndText: ^.RE^
-
GI: VARLISTENTRY GLOSSENTRY
StartText: ^.TP^
EndText: ^
-
# Every term of an entry on a line of its own: the first on the tag line.
GI: TERM
NthChild: 1
StartText: \\fB
EndText: \\fR^
-
GI: TERM
StartText: ^.TQ^\\fB
EndText: \\fR^
-
GI: LISTITEM GLOSSDEF
Context: ^(VARLISTENTRY|GLOSSENTRY)( |$)
-
GI: GLOSSTERM
Context: GLOSSENTRY
StartText: \\fB
EndText: \\fR^
-
GI: GLOSSSEE
StartText: ^.IP^See\s
EndText: .^
-
GI: GLOSSSEEALSO
StartText: ^.IP^See also\s
EndText: .^
-
GI: CALLOUT
StartText: ^.IP "(${AREAREFS})" 4^
EndText: ^
-
GI: MEMBER
PAttSet: TYPE INLINE
Relation: sibling- MEMBER
StartText: ,\s
-
GI: MEMBER
PAttSet: TYPE INLINE
-
GI: MEMBER
StartText: ^.br^
EndText: ^
-
GI: SEGLISTITEM
StartText: ^.PP^
EndText: ^
-
GI: SEG
StartText: ^.br^
EndText: ^
-
GI: SEGTITLE
Ignore: all
-
GI: QUESTION
StartText: ^.PP^\\fBQ:\\fR\s
EndText: ^
-
GI: ANSWER
StartText: ^.PP^\\fBA:\\fR\s
EndText: ^
-

#------------------------------------------------------------------------
# Blocks

GI: NOTE TIP WARNING CAUTION IMPORTANT
StartText: ^.PP^.RS 4^\\fB${_gi M}:\\fR${_relation child TITLE 199 130}
EndText: ^.RE^
-
GI: #action
SpecID: 130
Ignore: all
StartText: ^.br^
-
GI: BLOCKQUOTE EPIGRAPH SIDEBAR
StartText: ^.RS 4^
EndText: ^.RE^
-
GI: ATTRIBUTION
StartText: ^.PP^\\(em\s
EndText: ^
-
GI: EXAMPLE INFORMALEXAMPLE FIGURE INFORMALFIGURE EQUATION INFORMALEQUATION
StartText: ^
EndText: ^
-

#------------------------------------------------------------------------
# CALS tables through tbl.

# The title goes before the table: tbl takes nothing but rows.
GI: TABLE INFORMALTABLE
StartText: ^.sp^${_followrel child TITLE 150}${_calstable tbl tablestart}
EndText: ${_calstable tbl tableend}^.sp^
-
GI: #action
SpecID: 150
StartText: \\fB
EndText: \\fR^.br^
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
GI: ENTRYTBL
Replace: (table)${_calstable tbl entryend}
-

#------------------------------------------------------------------------
# Inline elements

GI: COMMAND OPTION USERINPUT FUNCTION LITERAL ENVAR CODE SYSTEMITEM KEYCAP KEYCOMBO GUIBUTTON GUILABEL GUIMENU GUIMENUITEM GUISUBMENU MENUCHOICE ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN APPLICATION PRODUCTNAME SGMLTAG TAG MARKUP PROMPT ACCEL
Context: ^(COMMAND|OPTION|USERINPUT|FUNCTION|LITERAL|ENVAR|CODE|TERM|GLOSSTERM|TITLE)( |$)
-
GI: SGMLTAG TAG
AttValue: CLASS ^(STARTTAG|starttag)$
StartText: \\fB<
EndText: >\\fR
-
GI: SGMLTAG TAG
AttValue: CLASS ^(ENDTAG|endtag)$
StartText: \\fB</
EndText: >\\fR
-
GI: SGMLTAG TAG
AttValue: CLASS ^(EMPTYTAG|emptytag)$
StartText: \\fB<
EndText: />\\fR
-
GI: SGMLTAG TAG
AttValue: CLASS ^(GENENTITY|genentity)$
StartText: \\fB&
EndText: ;\\fR
-
GI: COMMAND OPTION USERINPUT FUNCTION LITERAL ENVAR CODE SYSTEMITEM KEYCAP KEYCOMBO GUIBUTTON GUILABEL GUIMENU GUIMENUITEM GUISUBMENU MENUCHOICE ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT ACCEL
StartText: \\fB
EndText: \\fR
-
# Italic inside bold text returns to bold.
GI: REPLACEABLE PARAMETER EMPHASIS FILENAME CITETITLE FIRSTTERM GLOSSTERM VARNAME STRUCTFIELD FOREIGNPHRASE WORDASWORD
Context: ^(COMMAND|OPTION|USERINPUT|FUNCTION|LITERAL|ENVAR|CODE|TERM|GLOSSTERM|TITLE|FUNCDEF)( |$)
StartText: \\fI
EndText: \\fB
-
GI: EMPHASIS
AttValue: ROLE ^(bold|strong|BOLD|STRONG)$
StartText: \\fB
EndText: \\fR
-
GI: REPLACEABLE PARAMETER EMPHASIS FILENAME CITETITLE FIRSTTERM GLOSSTERM VARNAME STRUCTFIELD FOREIGNPHRASE WORDASWORD
StartText: \\fI
EndText: \\fR
-
GI: QUOTE
StartText: \\(lq
EndText: \\(rq
-
GI: TRADEMARK
EndText: \\(tm
-
GI: SUPERSCRIPT
StartText: \\(ha
-
GI: ULINK
StartText: \\fI
EndText: \\fR \\(la${URL}\\(ra
-
GI: EMAIL
StartText: \\(la
EndText: \\(ra
-
GI: FOOTNOTE
StartText: \s[
EndText: ]
-
GI: SUBSCRIPT
StartText: _
-
# A cross reference names the title (or term) of its target.
GI: XREF
Replace: ${_followlink LINKEND 140}
-
GI: #action
SpecID: 140
Ignore: all
StartText: ${_followrel child TITLE 141}${_followrel child TERM 141}${_followrel child REFMETA 142}
-
GI: #action
SpecID: 141
StartText: \\(lq
EndText: \\(rq
-
GI: #action
SpecID: 142
Ignore: all
StartText: ${_followrel child REFENTRYTITLE 111}${_followrel child MANVOLNUM 143}
-
GI: #action
SpecID: 143
StartText: (
EndText: )
-
GI: LINK OLINK PHRASE ABBREV ACRONYM CITATION AUTHOR PERSONNAME FIRSTNAME SURNAME OTHERNAME HONORIFIC LINEAGE CORPAUTHOR ORGNAME JOBTITLE INTERFACE HARDWARE MSGTEXT COMPUTEROUTPUT OPTIONAL INLINEEQUATION
-

# Anything else: its content, without markup.
GI: *
-
