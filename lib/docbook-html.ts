# docbook-html.ts: DocBook (SGML or XML) to one HTML page.
#
#   onsgmls doc.sgml | qlx -t docbook-html.ts -s html.sdata -c html.cmap > doc.html
#
# Use html.cmap with this spec, so that the data's &, < and > are escaped.
# Element IDs become anchors (in lower case) and cross references link to
# them.  Tables are HTML tables; CALS spans are not rendered.
#
# Variables (set them with -D name=value):
#   lang       the document language (default en)
#   css        the URL of a style sheet to link (default none)
#
# SpecIDs 100-199 are the named actions of this file; their name #action
# matches no element, so they run only when an action names them.

GI: _Start
StartText: <!DOCTYPE html>^<html lang="${lang en}">^<head>^<meta charset="utf-8">^<meta name="generator" content="qlx docbook-html.ts">^<style>div.para { margin: 1em 0 }</style>^
-
GI: _End
StartText: ^</body>^</html>^
-

#------------------------------------------------------------------------
# The head: written by the document element, the first element reached.

GI: BOOK ARTICLE REFENTRY SET PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECTION
Context: ^$
StartText: <title>${_followrel child TITLE 110}${_find gi-parent TITLE ARTICLEINFO 110}${_find gi-parent TITLE BOOKINFO 110}${_find gi-parent REFENTRYTITLE REFMETA 110}</title>^${_isset css 101}</head>^<body>^${_attval ID 102}
-
GI: #action
SpecID: 101
Ignore: all
StartText: <link rel="stylesheet" href="${css}">^
-
# An anchor for an element's ID.
GI: #action
SpecID: 102
Ignore: all
StartText: <a id="${ID:l}"></a>
-
# The content of an element, with nothing around it.
GI: #action
SpecID: 110
-

#------------------------------------------------------------------------
# Metadata that the page does not show.

GI: REFMETA REFENTRYINFO ARTICLEINFO BOOKINFO CHAPTERINFO APPENDIXINFO PREFACEINFO SECTIONINFO SECT1INFO SECT2INFO SECT3INFO SECT4INFO SECT5INFO REFSECT1INFO REFSECT2INFO REFSECT3INFO REFSYNOPSISDIVINFO SETINFO INFO DOCINFO PARTINFO REFERENCEINFO TITLEABBREV INDEXTERM REMARK COMMENT TOC LOT INDEX BEGINPAGE COLSPEC SPANSPEC
Ignore: all
-

#------------------------------------------------------------------------
# Divisions: a div each, with the ID as its id.

GI: BOOK ARTICLE SET PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECT2 SECT3 SECT4 SECT5 SECTION SIMPLESECT REFENTRY REFSECT1 REFSECT2 REFSECT3 GLOSSARY GLOSSDIV BIBLIOGRAPHY COLOPHON DEDICATION PARTINTRO
StartText: ^<div class="${_gi l}"${_attval ID 103}>^
EndText: ^</div>^
-
GI: #action
SpecID: 103
Ignore: all
StartText: \sid="${ID:l}"
-
GI: REFSYNOPSISDIV
StartText: ^<div class="refsynopsisdiv">${_relation child TITLE 199 120}^
EndText: ^</div>^
-
GI: #action
SpecID: 120
Ignore: all
StartText: ^<h2>Synopsis</h2>^
-
GI: #action
SpecID: 199
Ignore: all
-
GI: REFNAMEDIV
StartText: ^<div class="refnamediv">^<h2>Name</h2>^<p>
EndText: </p>^</div>^
-
GI: REFNAME
NthChild: 1
-
GI: REFNAME
StartText: ,\s
-
GI: REFPURPOSE
StartText: \s&#8212;\s
-
GI: REFDESCRIPTOR REFCLASS
Ignore: all
-

# Headings by the depth of the division.
GI: TITLE
Context: ^(BOOK|ARTICLE|SET|REFENTRY)( |$)
StartText: ^<h1>
EndText: </h1>^
-
GI: TITLE
Context: ^(PART|REFERENCE|CHAPTER|APPENDIX|PREFACE|SECT1|REFSECT1|REFSYNOPSISDIV|GLOSSARY|BIBLIOGRAPHY|COLOPHON|DEDICATION)( |$)
StartText: ^<h2>
EndText: </h2>^
-
GI: TITLE
Context: ^SECTION (ARTICLE|BOOK|PARTINTRO|REFENTRY)( |$)
StartText: ^<h2>
EndText: </h2>^
-
GI: TITLE
Context: ^(SECT2|REFSECT2|SIMPLESECT|SECTION)( |$)
StartText: ^<h3>
EndText: </h3>^
-
GI: TITLE
Context: ^(SECT3|SECT4|SECT5|REFSECT3)( |$)
StartText: ^<h4>
EndText: </h4>^
-
GI: TITLE
Context: ^(TABLE|INFORMALTABLE)( |$)
StartText: ^<caption>
EndText: </caption>^
-
GI: TITLE
StartText: ^<p class="title"><b>
EndText: </b></p>^
-
GI: REFENTRYTITLE
Context: CITEREFENTRY
StartText: <b>
EndText: </b>
-
GI: MANVOLNUM
Context: CITEREFENTRY
StartText: (
EndText: )
-

#------------------------------------------------------------------------
# Paragraphs and blocks

# An element that holds only data and inline elements opens a paragraph.
GI: PARA SIMPARA
Context: ^(ENTRY|FOOTNOTE|TERM|MEMBER)( |$)
-
# A paragraph may hold lists, tables and verbatim text, which no HTML p
# element may: a div of class para stands for it.
GI: PARA SIMPARA
StartText: ^<div class="para">
EndText: </div>^
-
GI: FORMALPARA
StartText: ^<div class="formalpara">
EndText: </div>^
-
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS FUNCSYNOPSISINFO
StartText: ^<pre class="${_gi l}">
EndText: </pre>^
-
GI: NOTE TIP WARNING CAUTION IMPORTANT
StartText: ^<div class="${_gi l}">${_relation child TITLE 199 130}^
EndText: ^</div>^
-
GI: #action
SpecID: 130
Ignore: all
StartText: <p class="title"><b>${_gi M}</b></p>
-
GI: BLOCKQUOTE EPIGRAPH
StartText: ^<blockquote>^
EndText: ^</blockquote>^
-
GI: ATTRIBUTION
StartText: ^<p class="attribution">&#8212;\s
EndText: </p>^
-
GI: SIDEBAR EXAMPLE INFORMALEXAMPLE FIGURE INFORMALFIGURE EQUATION INFORMALEQUATION ABSTRACT
StartText: ^<div class="${_gi l}"${_attval ID 103}>^
EndText: ^</div>^
-

#------------------------------------------------------------------------
# Synopses

GI: CMDSYNOPSIS
StartText: ^<p class="cmdsynopsis"><code>
EndText: </code></p>^
-
GI: SBR
StartText: <br>
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
StartText: ...
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
StartText: ^<div class="funcsynopsis">^
EndText: ^</div>^
-
GI: FUNCPROTOTYPE
StartText: ^<p><code>
EndText: );</code></p>^
-
GI: FUNCDEF
EndText: (
-
GI: FUNCTION
Context: FUNCDEF
StartText: <b>
EndText: </b>
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
Replace: ...
-

#------------------------------------------------------------------------
# Lists

GI: ITEMIZEDLIST
StartText: ^<ul>^
EndText: ^</ul>^
-
GI: ORDEREDLIST PROCEDURE SUBSTEPS
StartText: ^<ol>^
EndText: ^</ol>^
-
GI: LISTITEM STEP
Context: ^(ITEMIZEDLIST|ORDEREDLIST|PROCEDURE|SUBSTEPS)( |$)
StartText: ^<li>
EndText: </li>^
-
GI: VARIABLELIST CALLOUTLIST
StartText: ^<dl>^
EndText: ^</dl>^
-
GI: GLOSSLIST
StartText: ^<div class="glosslist">^
EndText: ^</div>^
-
GI: GLOSSENTRY
StartText: ^<dl class="glossentry">${_attval ID 104}
EndText: ^</dl>^
-
GI: VARLISTENTRY
StartText: ^${_attval ID 104}
-
GI: #action
SpecID: 104
Ignore: all
StartText: <dt id="${ID:l}"></dt>
-
GI: TERM GLOSSTERM
Context: ^(VARLISTENTRY|GLOSSENTRY)( |$)
StartText: ^<dt>
EndText: </dt>^
-
GI: LISTITEM GLOSSDEF CALLOUT
StartText: ^<dd>
EndText: </dd>^
-
GI: GLOSSSEE GLOSSSEEALSO
StartText: ^<dd>See\s
EndText: .</dd>^
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
GI: SIMPLELIST
StartText: ^<ul class="simplelist">^
EndText: ^</ul>^
-
GI: MEMBER
StartText: ^<li>
EndText: </li>^
-
GI: SEGMENTEDLIST
StartText: ^<div class="segmentedlist">^
EndText: ^</div>^
-
GI: SEGLISTITEM
StartText: ^<p>
EndText: </p>^
-
GI: SEG
StartText: ^
EndText: <br>^
-
GI: SEGTITLE
Ignore: all
-
GI: QANDASET QANDADIV
StartText: ^<dl class="qandaset">^
EndText: ^</dl>^
-
GI: QANDAENTRY
-
GI: QUESTION
StartText: ^<dt>
EndText: </dt>^
-
GI: ANSWER
StartText: ^<dd>
EndText: </dd>^
-

#------------------------------------------------------------------------
# Tables

GI: TABLE INFORMALTABLE
StartText: ^<table${_attval ID 103}${_attval FRAME ALL 140}${_attval FRAME all 140}>^
EndText: ^</table>^
-
GI: #action
SpecID: 140
Ignore: all
StartText: \sborder="1"
-
GI: TGROUP
-
GI: THEAD
StartText: ^<thead>^
EndText: ^</thead>^
-
GI: TFOOT
StartText: ^<tfoot>^
EndText: ^</tfoot>^
-
GI: TBODY
StartText: ^<tbody>^
EndText: ^</tbody>^
-
GI: ROW
StartText: ^<tr>
EndText: </tr>^
-
GI: ENTRY
Context: ROW THEAD
StartText: <th>
EndText: </th>
-
GI: ENTRY ENTRYTBL
StartText: <td>
EndText: </td>
-

#------------------------------------------------------------------------
# Inline elements

GI: COMMAND OPTION USERINPUT FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD PARAMETER
Context: ^(PROGRAMLISTING|SCREEN|LITERALLAYOUT|SYNOPSIS|CMDSYNOPSIS|FUNCSYNOPSISINFO)( |$)
StartText: <span class="${_gi l}">
EndText: </span>
-
GI: COMMAND USERINPUT
StartText: <kbd>
EndText: </kbd>
-
GI: SGMLTAG TAG
AttValue: CLASS ^(STARTTAG|starttag)$
StartText: <code>&lt;
EndText: &gt;</code>
-
GI: SGMLTAG TAG
AttValue: CLASS ^(ENDTAG|endtag)$
StartText: <code>&lt;/
EndText: &gt;</code>
-
GI: OPTION FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD FILENAME
StartText: <code class="${_gi l}">
EndText: </code>
-
GI: REPLACEABLE PARAMETER
StartText: <var>
EndText: </var>
-
GI: EMPHASIS
AttValue: ROLE ^(bold|strong|BOLD|STRONG)$
StartText: <strong>
EndText: </strong>
-
GI: EMPHASIS
StartText: <em>
EndText: </em>
-
GI: CITETITLE FIRSTTERM FOREIGNPHRASE WORDASWORD GLOSSTERM
StartText: <i>
EndText: </i>
-
GI: KEYCAP KEYCOMBO GUIBUTTON GUILABEL GUIMENU GUIMENUITEM GUISUBMENU MENUCHOICE ACCEL
StartText: <b>
EndText: </b>
-
GI: QUOTE
StartText: &#8220;
EndText: &#8221;
-
GI: TRADEMARK
EndText: &#8482;
-
GI: SUPERSCRIPT
StartText: <sup>
EndText: </sup>
-
GI: SUBSCRIPT
StartText: <sub>
EndText: </sub>
-
GI: ULINK
StartText: <a href="${URL}">
EndText: </a>
-
GI: EMAIL
StartText: &lt;<a href="mailto:${+content}">
EndText: </a>&gt;
-
GI: LINK
StartText: <a href="#${LINKEND:l}">
EndText: </a>
-
GI: ANCHOR
Replace: <a id="${ID:l}"></a>
-
GI: FOOTNOTE
StartText: <small> [
EndText: ]</small>
-
# A cross reference links to its target and names its title (or term).
GI: XREF
Replace: <a href="#${LINKEND:l}">${_followlink LINKEND 150}</a>
-
GI: #action
SpecID: 150
Ignore: all
StartText: ${_followrel child TITLE 110}${_followrel child TERM 110}${_followrel child REFMETA 151}
-
GI: #action
SpecID: 151
Ignore: all
StartText: ${_followrel child REFENTRYTITLE 110}${_followrel child MANVOLNUM 152}
-
GI: #action
SpecID: 152
StartText: (
EndText: )
-
GI: MEDIAOBJECT INLINEMEDIAOBJECT
StartText: ${_find gi TEXTOBJECT 110}
Ignore: all
-
GI: GRAPHIC INLINEGRAPHIC
Replace: <img src="${FILEREF}" alt="">
-

# Anything else: its content, without markup.
GI: *
-
