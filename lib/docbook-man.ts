# docbook-man.ts: DocBook (SGML or XML) to a manual page for man(1).
#
#   onsgmls -b utf-8 page.sgml | qlx -t docbook-man.ts > page.1
#   man -l page.1
#
# Written for REFENTRY documents (one manual page), but any DocBook
# document gives a readable page: its title names the page, its top
# sections become .SH sections.  Tables go through tbl (the page starts
# with the line that tells man to run it, and says that the page is in
# UTF-8, as onsgmls -b utf-8 writes it).  The spec names its maps,
# roff.sdata and roff.cmap: the texts here assume that the data's dots,
# apostrophes, hyphens and backslashes are escaped by the latter.  Blanks
# of the data are gathered into single spaces outside verbatim text
# (variable _blanks); hyphenation is off, text is left-adjusted.
#
# Links (ULINK) whose text is not their URL, and footnotes, are numbered
# ("text[1]") and listed with their URLs in a NOTES section at the end of
# the page, after AUTHOR(S) and COPYRIGHT from the REFENTRYINFO.
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
Var: _sdatamap roff.sdata
Var: _charmap roff.cmap
Var: _blanks collapse
Var: thdone no
Var: ol1 1
Var: ol2 1
Var: tnum 1
Var: lnum 0
Var: nlinks 0
Var: n2 1
Var: notes no
StartText: '\\" t -*- coding: utf-8 -*-^.\\" Written by qlx with docbook-man.ts from a DocBook document.^.\\" A line of a command synopsis after .br: no blank at its start.^.de qlx-nolead^..^
-
GI: _End
StartText: ^
-
# Processing instructions for other tools write nothing.
GI: _dbhtml
Ignore: data
-
GI: _dbfo
Ignore: data
-
GI: _dblatex
Ignore: data
-

#------------------------------------------------------------------------
# The page header: written once, by the first element that can open a
# page (the document element in the usual case).

# A page inside a book or reference after the first: a section.
GI: REFENTRY
StartText: ${_find gi ULINK 169}${_isset thdone yes 107}${_isset thdone no 101}
EndText: ${_followrel child REFENTRYINFO 160}${_isset notes yes 180}
-
GI: ARTICLE BOOK SET PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECTION
StartText: ${_isset thdone no 102}
-

# .TH title section date source manual: the title in upper case; the date
# from REFENTRYINFO (DATE, else PUBDATE); the source from REFMISCINFO
# (class source, with class version), else PRODUCTNAME and PRODUCTNUMBER;
# the manual from REFMISCINFO (class manual, else sectdesc), else the
# TITLE of REFENTRYINFO, else a REFMISCINFO of any class.  No hyphenation, text left-adjusted (a long word,
# a URL, cannot leave a justified line short).
GI: #action
SpecID: 101
Ignore: all
StartText: ^.TH "${_find gi-parent REFENTRYTITLE REFMETA 112}" "${_find gi-parent MANVOLNUM REFMETA 110}${_relation descendant MANVOLNUM 199 103}" "${_set got no}${_find gi-parent DATE REFENTRYINFO 113}${_isset got no 114}${_isset got no 104}" "${_set got no}${_find attr CLASS source 113}${_find attr CLASS SOURCE 113}${_isset got no 115}${_isset got no 105}${_find attr CLASS version 116}${_find attr CLASS VERSION 116}${_isset got product 117}" "${_set got no}${_find attr CLASS manual 113}${_find attr CLASS MANUAL 113}${_isset got no 118}${_isset got no 119}${_isset got no 109}${_isset got no 106}"^.nh^.ad l^${_set thdone yes}${_set fnum ${nlinks}}
-
# .TH for a document that is not a manual page: its title, section 7.
GI: #action
SpecID: 102
Ignore: all
StartText: ^.TH "${_followrel child TITLE 112}${_find gi-parent TITLE ARTICLEINFO 112}${_find gi-parent TITLE BOOKINFO 112}" "${mansect 7}" "${mandate}" "${mansource}" "${manmanual}"^.nh^.ad l^${_set thdone yes}${_set fnum ${nlinks}}
-
# An element's text in upper case.
GI: #action
SpecID: 112
Replace: ${+text:u}
-
# The content, remembering that something was found.
GI: #action
SpecID: 113
StartText: ${_set got yes}
-
GI: #action
SpecID: 114
Ignore: all
StartText: ${_find gi-parent PUBDATE REFENTRYINFO 113}
-
GI: #action
SpecID: 115
Ignore: all
StartText: ${_find gi-parent PRODUCTNAME REFENTRYINFO 113}${_isset got yes 108}
-
GI: #action
SpecID: 108
Ignore: all
StartText: ${_set got product}
-
# Last, a REFMISCINFO of another class.
GI: #action
SpecID: 109
Ignore: all
StartText: ${_find gi-parent REFMISCINFO REFMETA 113}
-
GI: #action
SpecID: 116
StartText: \s
-
GI: #action
SpecID: 117
Ignore: all
StartText: ${_find gi-parent PRODUCTNUMBER REFENTRYINFO 116}
-
GI: #action
SpecID: 118
Ignore: all
StartText: ${_find attr CLASS sectdesc 113}${_find attr CLASS SECTDESC 113}
-
GI: #action
SpecID: 119
Ignore: all
StartText: ${_find gi-parent TITLE REFENTRYINFO 113}
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
# AUTHOR(S) and COPYRIGHT, from the REFENTRYINFO, at the end of the page
# (action 160 translates its content with the specs of this part).

GI: #action
SpecID: 160
StartText: ${_set nauth 0}${_find gi AUTHOR 165}${_set hdr AUTHORS}${_isset nauth 1 166}${_relation descendant AUTHOR 167}
-
GI: #action
SpecID: 165
Ignore: all
Increment: nauth
-
GI: #action
SpecID: 166
Ignore: all
StartText: ${_set hdr AUTHOR}
-
GI: #action
SpecID: 167
Ignore: all
StartText: ^.SH "${hdr}"^
-
GI: AUTHOR EDITOR OTHERCREDIT
Context: ^(REFENTRYINFO|AUTHORGROUP)( |$)
StartText: ^.PP^${_set _blanks drop}
EndText: ${_relation descendant CONTRIB 199 163}${_set _blanks collapse}
-
GI: #action
SpecID: 163
Ignore: all
StartText: ^.RS 4^Author\\&.^.RE^
-
GI: HONORIFIC FIRSTNAME OTHERNAME SURNAME LINEAGE
Context: ^(AUTHOR|EDITOR|OTHERCREDIT|PERSONNAME)( |$)
NthChild: 1
StartText: \\fB
EndText: \\fR
-
GI: HONORIFIC FIRSTNAME OTHERNAME SURNAME LINEAGE
Context: ^(AUTHOR|EDITOR|OTHERCREDIT|PERSONNAME)( |$)
StartText: \s\\fB
EndText: \\fR
-
GI: CONTRIB
StartText: ^.RS 4^
EndText: ^.RE^
-
GI: EMAIL
Context: ^(ADDRESS )?(AUTHOR|EDITOR|OTHERCREDIT)( |$)
StartText: \s<
EndText: >
-
# An address in an author (where a parser may put it around an EMAIL):
# its e-mail address and contribution only.
GI: ADDRESS
Context: ^(AUTHOR|EDITOR|OTHERCREDIT)( |$)
-
GI: STREET POB POSTCODE CITY STATE COUNTRY PHONE FAX OTHERADDR
Context: ^ADDRESS (AUTHOR|EDITOR|OTHERCREDIT)( |$)
Ignore: all
-
GI: AFFILIATION AUTHORBLURB
Context: ^(AUTHOR|EDITOR|OTHERCREDIT)( |$)
Ignore: all
-
GI: COPYRIGHT
Context: REFENTRYINFO
StartText: ^.SH "COPYRIGHT"^.br^Copyright \\(co\s${_set _blanks drop}
EndText: ^.br^${_set _blanks collapse}
-
GI: YEAR
Context: COPYRIGHT
Relation: sibling- YEAR
StartText: ,\s
-
GI: HOLDER
Context: COPYRIGHT
StartText: \s
-
GI: LEGALNOTICE
Context: REFENTRYINFO
StartText: ${_relation sibling COPYRIGHT 199 164}
-
GI: #action
SpecID: 164
Ignore: all
StartText: ^.SH "COPYRIGHT"^
-
GI: DATE PUBDATE TITLE SUBTITLE TITLEABBREV PRODUCTNAME PRODUCTNUMBER RELEASEINFO ADDRESS REVHISTORY ORGNAME EDITION ISSUENUM VOLUMENUM ABSTRACT KEYWORDSET SUBJECTSET BIBLIOMISC PUBLISHER EMAIL AFFILIATION CORPNAME INVPARTNUMBER PRINTHISTORY MODESPEC ITERMSET GRAPHIC MEDIAOBJECT
Context: REFENTRYINFO
Ignore: all
-

#------------------------------------------------------------------------
# Links and footnotes.  A link that has a text other than its URL, and a
# footnote, are numbered in the text; the NOTES section at the end lists
# them: the links first, then the footnotes (numbered after the links).

# Action 168 tells a link's kind (le: yes when it has no text; lt is "x"
# and the first word of its text); the actions that follow it choose by
# that and by the text (a URL as text).
GI: #action
SpecID: 168
Ignore: all
StartText: ${_set le no}${_set lt x${+text}}${_isset lt x 198}
-
GI: #action
SpecID: 198
Ignore: all
StartText: ${_set le yes}
-
# Counted before the page (nlinks): the numbered links.
GI: #action
SpecID: 169
Ignore: all
StartText: ${_action 168}${_action 170t}
-
GI: #action
SpecID: 170
VarValue: le yes
Ignore: all
-
GI: #action
SpecID: 170
Content: ^[ ]*(https?|ftp|mailto|file):
Ignore: all
-
GI: #action
SpecID: 170
Ignore: all
Increment: nlinks
-
# In the text.
GI: ULINK
Replace: ${_action 168}${_action 171t}
-
GI: #action
SpecID: 171
VarValue: le yes
Replace: ${URL}
-
GI: #action
SpecID: 171
Content: ^[ ]*(https?|ftp|mailto|file):
-
GI: #action
SpecID: 171
EndText: \\&\\s-2\\u[${lnum}]\\d\\s+2
Increment: lnum
Set: notes yes
-
GI: FOOTNOTE
Ignore: all
EndText: \\&\\s-2\\u[${fnum}]\\d\\s+2
Increment: fnum
Set: notes yes
-
# The NOTES section.
GI: #action
SpecID: 180
Ignore: all
StartText: ^.SH "NOTES"^${_find gi ULINK 179}${_find gi FOOTNOTE 182}
-
GI: #action
SpecID: 179
Ignore: all
StartText: ${_action 168}${_action 181t}
-
GI: #action
SpecID: 181
VarValue: le yes
Ignore: all
-
GI: #action
SpecID: 181
Content: ^[ ]*(https?|ftp|mailto|file):
Ignore: all
-
GI: #action
SpecID: 181
StartText: ^.IP " ${n2}." 4^
EndText: ^.RS 4^\\%${URL}^.RE^
Increment: n2
-
GI: #action
SpecID: 182
StartText: ^.IP " ${n2}." 4^
EndText: ^
Increment: n2
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
# A command synopsis: a hanging paragraph as wide as the command; the
# blanks between its arguments come from here, not from the source.
GI: CMDSYNOPSIS
StartText: ^${_followrel child COMMAND 191}${_set _blanks drop}.lsm qlx-nolead^
EndText: ^.lsm^${_set _blanks collapse}
-
GI: #action
SpecID: 191
Replace: ^.HP "\\w'\\fB${+text}\\fR\\\s'u"^
-
GI: COMMAND
Context: CMDSYNOPSIS
NthChild: 1
StartText: \\fB
EndText: \\fR
-
GI: COMMAND
Context: CMDSYNOPSIS
StartText: \\fB
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
# An argument inside an argument follows the blank of its parent's data;
# the others are separated by a blank from here (CMDSYNOPSIS has element
# content: no blanks of the source).
GI: ARG GROUP
Context: ARG
AttValue: CHOICE ^(OPT|opt)$
StartText: [
EndText: ]${_attval REP REPEAT 124}
-
GI: ARG GROUP
Context: ARG
AttValue: CHOICE ^(REQ|req)$
StartText: {
EndText: }${_attval REP REPEAT 124}
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
Context: ARG
EndText: ${_attval REP REPEAT 124}
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
# A function synopsis: the #include lines in bold, each prototype a
# hanging paragraph as wide as its name, function and types in bold,
# parameters in italics.
GI: FUNCSYNOPSIS
StartText: ^.sp^
EndText: ^
-
GI: FUNCSYNOPSISINFO
StartText: ^.sp^.ft B^.nf^${_set _blanks keep}
EndText: ^.fi^.ft^${_set _blanks collapse}
-
GI: FUNCPROTOTYPE
StartText: ^${_followrel child FUNCDEF 190}${_set _blanks drop}
EndText: );^${_set _blanks collapse}
-
GI: #action
SpecID: 190
Replace: ^.HP "\\w'\\fB${+text}(\\fR'u"^
-
GI: FUNCDEF
StartText: \\fB
EndText: \\fR(
-
GI: PARAMDEF
Relation: sibling- PARAMDEF
StartText: ,\s\\fB
EndText: \\fR
-
GI: PARAMDEF
StartText: \\fB
EndText: \\fR
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
# Top sections: .SH with the title in upper case, as man pages have it.
GI: TITLE
Context: ^(REFSECT1|REFSYNOPSISDIV|CHAPTER|APPENDIX|PREFACE|SECT1|GLOSSARY|BIBLIOGRAPHY|PART|REFERENCE|COLOPHON|DEDICATION)( |$)
Replace: ^.SH "${+text:u}"^
-
GI: TITLE
Context: ^SECTION (ARTICLE|BOOK|PARTINTRO|REFENTRY)( |$)
Replace: ^.SH "${+text:u}"^
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
StartText: ^.IP^.nf^${_set _blanks keep}
EndText: ^.fi^${_set _blanks collapse}
-
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS
StartText: ^.sp^.RS 4^.nf^${_set _blanks keep}
EndText: ^.fi^${_set _blanks collapse}.RE^
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
# A segmented list: each segment after its SEGTITLE (up to eight titles,
# remembered as segt1 ... segt8 while the list is read).
GI: SEGMENTEDLIST
StartText: ${_set segn 1}
-
GI: SEGLISTITEM
StartText: ^.PP^${_set segi 1}
EndText: ^
-
GI: SEGTITLE
Ignore: all
StartText: ${_action 230t}
-
GI: SEG
StartText: ^.br^${_action 231t}
EndText: ^
-
GI: #action
SpecID: 230
VarValue: segn 1
Ignore: all
Set: segt1 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 1
Ignore: all
StartText: \\fB${segt1}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 2
Ignore: all
Set: segt2 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 2
Ignore: all
StartText: \\fB${segt2}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 3
Ignore: all
Set: segt3 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 3
Ignore: all
StartText: \\fB${segt3}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 4
Ignore: all
Set: segt4 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 4
Ignore: all
StartText: \\fB${segt4}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 5
Ignore: all
Set: segt5 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 5
Ignore: all
StartText: \\fB${segt5}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 6
Ignore: all
Set: segt6 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 6
Ignore: all
StartText: \\fB${segt6}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 7
Ignore: all
Set: segt7 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 7
Ignore: all
StartText: \\fB${segt7}\\fR:\s
Increment: segi
-
GI: #action
SpecID: 230
VarValue: segn 8
Ignore: all
Set: segt8 ${+text}
Increment: segn
-
GI: #action
SpecID: 231
VarValue: segi 8
Ignore: all
StartText: \\fB${segt8}\\fR:\s
Increment: segi
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
# A table's title, numbered, in bold before it, as docbook-xsl has it.
GI: TABLE INFORMALTABLE
StartText: ^.sp^${_followrel child TITLE 150}${_calstable tbl tablestart}
EndText: ${_calstable tbl tableend}^.sp^
-
GI: #action
SpecID: 150
StartText: \\fBTable ${tnum}.\\fR\s\\fB
EndText: \\fR^.br^
Increment: tnum
-
# The foot after the body, where it is read.
GI: TGROUP
StartText: ${_calstable tbl tablegroup}
EndText: ${_followrel child TFOOT 151}${_calstable tbl tablegroupend}
-
GI: TFOOT
Ignore: all
-
GI: #action
SpecID: 151
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
Context: ^(COMMAND|OPTION|USERINPUT|FUNCTION|LITERAL|ENVAR|CODE|TERM|GLOSSTERM|TITLE|FUNCDEF|PARAMDEF)( |$)
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
GI: EMAIL
StartText: <
EndText: >
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
