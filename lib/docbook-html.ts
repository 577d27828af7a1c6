# docbook-html.ts: DocBook (SGML or XML) to one HTML page.
#
#   onsgmls -b utf-8 doc.sgml | qlx -t docbook-html.ts > doc.html
#
# The spec names its maps (html.sdata, and html.cmap, which escapes the
# data's &, < and >); -s and -c override them.
# A book or article gets a title page (title, subtitle, authors, copyright,
# legal notice, revision history, abstract) and a table of contents;
# chapters, appendices and parts are numbered ("Chapter 2.", "Appendix A."),
# and so are tables, figures and examples ("Table 2.1.").  Footnotes are
# numbered and listed at the end of the page.  Every element ID becomes an
# anchor (in lower case) and cross references link to it.  Tables are HTML
# tables; CALS spans are not rendered.  Processing instructions are dropped
# (those for other tools, dbhtml, dbfo, dblatex, draw no warning).
#
# Variables (set them with -D name=value):
#   lang       the document language (default en)
#   css        the URL of a style sheet to link (default none)
#
# SpecIDs 100-199 are the named actions of this file; their name #action
# matches no element, so they run only when an action names them.

GI: _Start
Var: _sdatamap html.sdata
Var: _charmap html.cmap
StartText: <!DOCTYPE html>^<html lang="${lang en}">^<head>^<meta charset="utf-8">^<meta name="generator" content="qlx docbook-html.ts">^<style>div.para { margin: 1em 0 }</style>^
-
GI: _End
StartText: ^</body>^</html>^
-
# Processing instructions are for other tools (dbhtml, dbfo, dblatex, ...).
GI: _*
Replace:
-

#------------------------------------------------------------------------
# The head: written by the document element, the first element reached.

GI: BOOK ARTICLE SET
Context: ^$
StartText: <title>${_action 111}</title>^${_isset css 101}</head>^<body>^<div class="${_gi l}"${_attval ID 103}>^${_action 200}${_action 280}${_action 222t}
EndText: ^${_action 250}</div>^
-
GI: REFENTRY PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECTION
Context: ^$
StartText: <title>${_action 111}</title>^${_isset css 101}</head>^<body>^${_attval ID 102}${_action 230t}
EndText: ^${_action 250}
-
# The document's title: the TITLE of the element or of its info element.
GI: #action
SpecID: 111
Ignore: all
StartText: ${_relation child TITLE 112 113}
-
GI: #action
SpecID: 112
Ignore: all
StartText: ${_followrel child TITLE 110}
-
GI: #action
SpecID: 113
Ignore: all
StartText: ${_followrel child BOOKINFO 114}${_followrel child ARTICLEINFO 114}${_followrel child ARTHEADER 114}${_followrel child INFO 114}${_followrel child SETINFO 114}${_followrel child REFMETA 115}
-
GI: #action
SpecID: 114
Ignore: all
StartText: ${_followrel child TITLE 110}
-
GI: #action
SpecID: 115
Ignore: all
StartText: ${_followrel child REFENTRYTITLE 110}
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

GI: REFMETA REFENTRYINFO ARTICLEINFO BOOKINFO CHAPTERINFO APPENDIXINFO PREFACEINFO SECTIONINFO SECT1INFO SECT2INFO SECT3INFO SECT4INFO SECT5INFO REFSECT1INFO REFSECT2INFO REFSECT3INFO REFSYNOPSISDIVINFO SETINFO INFO DOCINFO PARTINFO REFERENCEINFO ARTHEADER TITLEABBREV INDEXTERM REMARK COMMENT TOC LOT INDEX BEGINPAGE COLSPEC SPANSPEC
Ignore: all
-

#------------------------------------------------------------------------
# Divisions: a div each, with the ID as its id.

GI: BOOK ARTICLE SET PART REFERENCE CHAPTER APPENDIX PREFACE SECT1 SECT2 SECT3 SECT4 SECT5 SECTION SIMPLESECT REFENTRY REFSECT1 REFSECT2 REFSECT3 GLOSSARY GLOSSDIV BIBLIOGRAPHY COLOPHON DEDICATION PARTINTRO
StartText: ^<div class="${_gi l}"${_attval ID 103}>^${_action 230t}${_action 240t}
EndText: ^</div>^
-
GI: #action
SpecID: 103
Ignore: all
StartText: \sid="${ID:l}"
-
GI: REFSYNOPSISDIV
StartText: ^<div class="refsynopsisdiv"${_attval ID 103}>${_relation child TITLE 199 120}^
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
StartText: ^<div class="refnamediv"${_attval ID 103}>^<h2>Name</h2>^<p>
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

# The document's own title is on the title page.
GI: TITLE SUBTITLE
Context: ^(BOOK|ARTICLE|SET)$
Ignore: all
-
# Headings by the depth of the division.  Chapters, appendices and parts
# carry their label.
GI: TITLE
Context: ^CHAPTER( |$)
StartText: ^<h2 class="title">Chapter ${chap}.\s
EndText: </h2>^${_action 295}${_followrel parent CHAPTER 600t}
-
GI: TITLE
Context: ^APPENDIX( |$)
StartText: ^<h2 class="title">Appendix ${app}.\s
EndText: </h2>^${_action 295}${_followrel parent APPENDIX 600t}
-
GI: TITLE
Context: ^PART( |$)
StartText: ^<h1 class="title">Part ${partr}.\s
EndText: </h1>^${_followrel parent PART 600t}
-
GI: TITLE
Context: ^TABLE( |$)
StartText: ^<caption>Table ${clabel }${tbl}.\s
EndText: </caption>^
-
GI: TITLE
Context: ^FIGURE( |$)
StartText: ^<p class="title"${_attval ID 103}><b>Figure ${clabel }${fig}.\s
EndText: </b></p>^
-
GI: TITLE
Context: ^EXAMPLE( |$)
StartText: ^<p class="title"${_attval ID 103}><b>Example ${clabel }${ex}.\s
EndText: </b></p>^
-
GI: TITLE
Context: ^(BIBLIOENTRY|BIBLIOMIXED|BIBLIOSET)( |$)
StartText: <i${_attval ID 103}>
EndText: </i>
-
GI: TITLE
Context: ^(BOOK|ARTICLE|SET|REFENTRY)( |$)
StartText: ^<h1${_attval ID 103}>
EndText: </h1>^
-
GI: TITLE
Context: ^(PART|REFERENCE|CHAPTER|APPENDIX|PREFACE|SECT1|REFSECT1|REFSYNOPSISDIV|GLOSSARY|BIBLIOGRAPHY|COLOPHON|DEDICATION)( |$)
StartText: ^<h2${_attval ID 103}>
EndText: </h2>^${_action 295}
-
GI: TITLE
Context: ^SECTION (ARTICLE|BOOK|PARTINTRO|REFENTRY)( |$)
StartText: ^<h2${_attval ID 103}>
EndText: </h2>^${_action 295}
-
GI: TITLE
Context: ^(SECT2|REFSECT2|SIMPLESECT|SECTION)( |$)
StartText: ^<h3${_attval ID 103}>
EndText: </h3>^${_action 295}
-
GI: TITLE
Context: ^(SECT3|SECT4|SECT5|REFSECT3)( |$)
StartText: ^<h4${_attval ID 103}>
EndText: </h4>^${_action 295}
-
GI: TITLE
Context: ^INFORMALTABLE( |$)
StartText: ^<caption>
EndText: </caption>^
-
GI: TITLE
StartText: ^<p class="title"${_attval ID 103}><b>
EndText: </b></p>^
-
GI: REFENTRYTITLE
Context: CITEREFENTRY
StartText: <b${_attval ID 103}>
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
Context: ^FOOTNOTE( |$)
Relation: sibling- PARA
StartText: <br>
-
GI: PARA SIMPARA
Context: ^(ENTRY|FOOTNOTE|TERM|MEMBER)( |$)
-
# A paragraph may hold lists, tables and verbatim text, which no HTML p
# element may: a div of class para stands for it.
GI: PARA SIMPARA
StartText: ^<div class="para"${_attval ID 103}>
EndText: </div>^
-
GI: FORMALPARA
StartText: ^<div class="formalpara"${_attval ID 103}>
EndText: </div>^
-
GI: ADDRESS
Context: ^(AFFILIATION|AUTHOR|EDITOR|OTHERCREDIT)( |$)
StartText: <span class="address"${_attval ID 103}>
EndText: </span>
-
GI: PROGRAMLISTING SCREEN LITERALLAYOUT SYNOPSIS ADDRESS FUNCSYNOPSISINFO
StartText: ^<pre class="${_gi l}"${_attval ID 103}>
EndText: </pre>^
-
GI: NOTE TIP WARNING CAUTION IMPORTANT
StartText: ^<div class="${_gi l}"${_attval ID 103}>${_relation child TITLE 199 130}^
EndText: ^</div>^
-
GI: #action
SpecID: 130
Ignore: all
StartText: <p class="title"><b>${_gi M}</b></p>
-
GI: BLOCKQUOTE EPIGRAPH
StartText: ^<blockquote${_attval ID 103}>^
EndText: ^</blockquote>^
-
GI: ATTRIBUTION
StartText: ^<p class="attribution"${_attval ID 103}>&#8212;\s
EndText: </p>^
-
GI: FIGURE
StartText: ^<div class="figure"${_attval ID 103}>^${_action 261}
EndText: ^</div>^
-
GI: EXAMPLE
StartText: ^<div class="example"${_attval ID 103}>^${_action 262}
EndText: ^</div>^
-
GI: ABSTRACT
Action: 208
-
GI: SIDEBAR INFORMALEXAMPLE INFORMALFIGURE EQUATION INFORMALEQUATION
StartText: ^<div class="${_gi l}"${_attval ID 103}>^
EndText: ^</div>^
-

#------------------------------------------------------------------------
# Synopses

GI: CMDSYNOPSIS
StartText: ^<p class="cmdsynopsis"${_attval ID 103}><code>
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
StartText: ^<div class="funcsynopsis"${_attval ID 103}>^
EndText: ^</div>^
-
GI: FUNCPROTOTYPE
StartText: ^<p${_attval ID 103}><code>
EndText: );</code></p>^
-
GI: FUNCDEF
EndText: (
-
GI: FUNCTION
Context: FUNCDEF
StartText: <b${_attval ID 103}>
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
StartText: ^<ul${_attval ID 103}>^
EndText: ^</ul>^
-
GI: ORDEREDLIST PROCEDURE SUBSTEPS
StartText: ^<ol${_attval ID 103}${_attval NUMERATION 296}>^
EndText: ^</ol>^
-
GI: LISTITEM STEP
Context: ^(ITEMIZEDLIST|ORDEREDLIST|PROCEDURE|SUBSTEPS)( |$)
StartText: ^<li${_attval ID 103}>
EndText: </li>^
-
GI: VARIABLELIST CALLOUTLIST
StartText: ^<dl${_attval ID 103}>^
EndText: ^</dl>^
-
GI: GLOSSLIST
StartText: ^<div class="glosslist"${_attval ID 103}>^
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
StartText: ^<dt${_attval ID 103}>
EndText: </dt>^
-
GI: LISTITEM GLOSSDEF CALLOUT
StartText: ^<dd${_attval ID 103}>
EndText: </dd>^
-
GI: GLOSSSEE GLOSSSEEALSO
StartText: ^<dd${_attval ID 103}>See\s
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
StartText: ^<ul class="simplelist"${_attval ID 103}>^
EndText: ^</ul>^
-
GI: MEMBER
StartText: ^<li${_attval ID 103}>
EndText: </li>^
-
GI: SEGMENTEDLIST
StartText: ^<div class="segmentedlist"${_attval ID 103}>^
EndText: ^</div>^
-
GI: SEGLISTITEM
StartText: ^<p${_attval ID 103}>
EndText: </p>^
-
GI: SEGTITLE
Ignore: all
-
GI: QANDASET QANDADIV
StartText: ^<dl class="qandaset"${_attval ID 103}>^
EndText: ^</dl>^
-
GI: QANDAENTRY
-
GI: QUESTION
StartText: ^<dt${_attval ID 103}>
EndText: </dt>^
-
GI: ANSWER
StartText: ^<dd${_attval ID 103}>
EndText: </dd>^
-

#------------------------------------------------------------------------
# Tables

GI: TABLE
StartText: ^${_action 260}<table${_attval ID 103}${_attval FRAME ALL 140}${_attval FRAME all 140}>^
EndText: ^</table>^
-
GI: INFORMALTABLE
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
StartText: ^<thead${_attval ID 103}>^
EndText: ^</thead>^
-
GI: TFOOT
StartText: ^<tfoot${_attval ID 103}>^
EndText: ^</tfoot>^
-
GI: TBODY
StartText: ^<tbody${_attval ID 103}>^
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

# The fields of a BIBLIOENTRY (a BIBLIOMIXED holds its own punctuation).
GI: AUTHOR AUTHORGROUP EDITOR CORPAUTHOR PUBLISHER PUBLISHERNAME ISBN ISSN PUBDATE EDITION RELEASEINFO COPYRIGHT PAGENUMS VOLUMENUM ISSUENUM ORGNAME SUBTITLE ABSTRACT
Context: ^(BIBLIOENTRY|BIBLIOSET)( |$)
EndText: .\s
-

GI: COMMAND OPTION USERINPUT FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD PARAMETER
Context: ^(PROGRAMLISTING|SCREEN|LITERALLAYOUT|SYNOPSIS|CMDSYNOPSIS|FUNCSYNOPSISINFO)( |$)
StartText: <span class="${_gi l}"${_attval ID 103}>
EndText: </span>
-
GI: COMMAND USERINPUT
StartText: <kbd${_attval ID 103}>
EndText: </kbd>
-
GI: SGMLTAG TAG
AttValue: CLASS ^(STARTTAG|starttag)$
StartText: <code${_attval ID 103}>&lt;
EndText: &gt;</code>
-
GI: SGMLTAG TAG
AttValue: CLASS ^(ENDTAG|endtag)$
StartText: <code${_attval ID 103}>&lt;/
EndText: &gt;</code>
-
GI: OPTION FUNCTION LITERAL ENVAR CODE SYSTEMITEM ERRORNAME ERRORCODE RETURNVALUE CONSTANT TYPE STRUCTNAME CLASSNAME METHODNAME PROPERTY TOKEN SGMLTAG TAG MARKUP PROMPT COMPUTEROUTPUT VARNAME STRUCTFIELD FILENAME
StartText: <code class="${_gi l}"${_attval ID 103}>
EndText: </code>
-
GI: REPLACEABLE PARAMETER
StartText: <var${_attval ID 103}>
EndText: </var>
-
GI: EMPHASIS
AttValue: ROLE ^(bold|strong|BOLD|STRONG)$
StartText: <strong${_attval ID 103}>
EndText: </strong>
-
GI: EMPHASIS
StartText: <em${_attval ID 103}>
EndText: </em>
-
GI: CITETITLE FIRSTTERM FOREIGNPHRASE WORDASWORD GLOSSTERM
StartText: <i${_attval ID 103}>
EndText: </i>
-
GI: KEYCAP KEYCOMBO GUIBUTTON GUILABEL GUIMENU GUIMENUITEM GUISUBMENU MENUCHOICE ACCEL
StartText: <b${_attval ID 103}>
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
StartText: <sup${_attval ID 103}>
EndText: </sup>
-
GI: SUBSCRIPT
StartText: <sub${_attval ID 103}>
EndText: </sub>
-
GI: ULINK
Content: [^ ]
StartText: <a href="${URL}">
EndText: </a>
-
GI: ULINK
Relation: child CITETITLE
StartText: <a href="${URL}">
EndText: </a>
-
GI: ULINK
Relation: child EMPHASIS
StartText: <a href="${URL}">
EndText: </a>
-
GI: ULINK
Relation: child LITERAL
StartText: <a href="${URL}">
EndText: </a>
-
# A link without text shows its URL.
GI: ULINK
Replace: <a href="${URL}">${URL}</a>
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
# A footnote leaves its number here; the text goes to the end of the page.
GI: FOOTNOTE
Ignore: all
StartText: ${_action 255}${_action 256}
-
GI: FOOTNOTEREF
Replace: <sup>[<a href="#${LINKEND:l}">*</a>]</sup>
-
GI: CITATION
StartText: <span class="citation"${_attval ID 103}>[
EndText: ]</span>
-
GI: ABBREV
Context: ^(BIBLIOENTRY|BIBLIOMIXED)( |$)
StartText: [
EndText: ]\s
-
GI: ACRONYM ABBREV SYMBOL APPLICATION PRODUCTNAME
StartText: <span class="${_gi l}"${_attval ID 103}>
EndText: ${_attval CLASS TRADE 270}${_attval CLASS trade 270}${_attval CLASS REGISTERED 271}${_attval CLASS registered 271}</span>
-
GI: ERRORTEXT
StartText: <code class="errortext"${_attval ID 103}>
EndText: </code>
-
GI: LINEANNOTATION
StartText: <em class="lineannotation"${_attval ID 103}>
EndText: </em>
-
GI: BIBLIOENTRY BIBLIOMIXED
StartText: ^<div class="${_gi l}"${_attval ID 103}>^<p>
EndText: </p>^</div>^
-
GI: BIBLIODIV
StartText: ^<div class="bibliodiv"${_attval ID 103}>^
EndText: ^</div>^
-
# A cross reference links to its target and names its title (or term);
# a section is "the section called" and its title in quotes.
GI: XREF
Replace: <a href="#${LINKEND:l}">${_followlink LINKEND 150t}</a>
-
GI: SECT1 SECT2 SECT3 SECT4 SECT5 SECTION SIMPLESECT REFSECT1 REFSECT2 REFSECT3
SpecID: 150
Ignore: all
StartText: the section called &#8220;${_followrel child TITLE 110}&#8221;
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

#------------------------------------------------------------------------
# The title page of a book, set or article, run on the document element:
# the title, then what its info element holds, in docbook-xsl's order.

GI: #action
SpecID: 200
Ignore: all
StartText: ^<div class="titlepage">^<h1 class="title">${_action 111}</h1>^${_followrel child SUBTITLE 201}${_followrel child BOOKINFO 202}${_followrel child ARTICLEINFO 202}${_followrel child ARTHEADER 202}${_followrel child INFO 202}${_followrel child SETINFO 202}</div>^<hr>^
-
GI: #action
SpecID: 201
StartText: ^<h2 class="subtitle">
EndText: </h2>^
-
GI: #action
SpecID: 202
Ignore: all
StartText: ${_find gi SUBTITLE 201}${_find gi AUTHOR 203}${_find gi CORPAUTHOR 217}${_find gi EDITOR 203}${_find gi OTHERCREDIT 203}${_find gi RELEASEINFO 204}${_find gi EDITION 204}${_find gi PUBDATE 204}${_find gi COPYRIGHT 205}${_find gi LEGALNOTICE 206}${_find gi REVHISTORY 207}${_find gi ABSTRACT 208}
-
# A person: the name as a heading, then affiliation, address, contribution.
GI: #action
SpecID: 203
Ignore: all
StartText: ^<div class="${_gi l}">^<h3 class="${_gi l}">${_followrel child HONORIFIC 290}${_followrel child FIRSTNAME 290}${_followrel child OTHERNAME 290}${_followrel child SURNAME 110}${_followrel child LINEAGE 110}${_followrel child PERSONNAME 110}</h3>^${_followrel child AFFILIATION 110}${_followrel child EMAIL 209}${_followrel child ADDRESS 209}${_followrel child CONTRIB 209}${_followrel child AUTHORBLURB 110}</div>^
-
# The info element of a division (its copyright, legal notice, authors,
# abstract) follows its title, as on the document's title page.
GI: #action
SpecID: 295
Ignore: all
StartText: ${_followrel sibling- CHAPTERINFO 202}${_followrel sibling- APPENDIXINFO 202}${_followrel sibling- PREFACEINFO 202}${_followrel sibling- PARTINFO 202}${_followrel sibling- SECT1INFO 202}${_followrel sibling- SECTIONINFO 202}${_followrel sibling- INFO 202}
-
# The numbering of an ordered list: type="A", "a", "I" or "i".
GI: #action
SpecID: 296
Ignore: all
StartText: ${_attval NUMERATION UPPERALPHA 297}${_attval NUMERATION upperalpha 297}${_attval NUMERATION LOWERALPHA 298}${_attval NUMERATION loweralpha 298}${_attval NUMERATION UPPERROMAN 299}${_attval NUMERATION upperroman 299}${_attval NUMERATION LOWERROMAN 289}${_attval NUMERATION lowerroman 289}
-
GI: #action
SpecID: 297
Ignore: all
StartText: \stype="A"
-
GI: #action
SpecID: 298
Ignore: all
StartText: \stype="a"
-
GI: #action
SpecID: 299
Ignore: all
StartText: \stype="I"
-
GI: #action
SpecID: 289
Ignore: all
StartText: \stype="i"
-
GI: #action
SpecID: 290
EndText: \s
-
GI: #action
SpecID: 217
StartText: ^<div class="corpauthor"><h3 class="corpauthor">
EndText: </h3></div>^
-
GI: #action
SpecID: 209
StartText: ^<p class="${_gi l}">
EndText: </p>^
-
GI: #action
SpecID: 204
StartText: ^<p class="${_gi l}">
EndText: </p>^
-
GI: #action
SpecID: 205
StartText: ^<p class="copyright">Copyright &#169;\s
EndText: </p>^
-
GI: #action
SpecID: 206
StartText: ^<div class="legalnotice"${_attval ID 103}>^
EndText: ^</div>^
-
GI: #action
SpecID: 207
StartText: ^<div class="revhistory">^<table>^<tr><th colspan="3">Revision History</th></tr>^
EndText: ^</table>^</div>^
-
GI: #action
SpecID: 208
StartText: ^<div class="abstract"${_attval ID 103}>^${_relation child TITLE 199 216}
EndText: ^</div>^
-
GI: #action
SpecID: 216
Ignore: all
StartText: <p class="title"><b>Abstract</b></p>^
-
GI: COPYRIGHT
Action: 205
-
GI: LEGALNOTICE
Action: 206
-
GI: REVHISTORY
Action: 207
-
GI: YEAR
Relation: sibling- YEAR
StartText: ,\s
-
GI: HOLDER
Relation: sibling- HOLDER
StartText: ,\s
-
GI: HOLDER
StartText: \s
-
GI: REVISION
StartText: ^<tr>
EndText: </tr>^
-
GI: REVNUMBER
StartText: <td>Revision\s
EndText: </td>
-
GI: DATE AUTHORINITIALS AUTHOR
Context: ^REVISION( |$)
StartText: <td>
EndText: </td>
-
GI: REVREMARK REVDESCRIPTION
StartText: </tr>^<tr><td colspan="3">
EndText: </td>
-
GI: HONORIFIC FIRSTNAME OTHERNAME
EndText: \s
-
GI: AFFILIATION
StartText: ^<div class="affiliation"${_attval ID 103}>
EndText: </div>^
-
GI: ORGNAME ORGDIV JOBTITLE SHORTAFFIL
Context: ^AFFILIATION( |$)
StartText: <span class="${_gi l}"${_attval ID 103}>
EndText: </span><br>^
-

#------------------------------------------------------------------------
# The table of contents, run on the document element.  Three levels in a
# book (chapter, section, subsection), two elsewhere.  An entry links to
# the anchor d-N that the division writes, N counting the divisions that
# the contents list, in document order.

# Only a document with divisions has contents.
GI: #action
SpecID: 280
Ignore: all
StartText: ${_relation child SECT1 210 281}
-
GI: #action
SpecID: 281
Ignore: all
StartText: ${_relation child SECTION 210 282}
-
GI: #action
SpecID: 282
Ignore: all
StartText: ${_relation child CHAPTER 210 283}
-
GI: #action
SpecID: 283
Ignore: all
StartText: ${_relation child PART 210 284}
-
GI: #action
SpecID: 284
Ignore: all
StartText: ${_relation child ARTICLE 210 285}
-
GI: #action
SpecID: 285
Ignore: all
StartText: ${_relation child APPENDIX 210 286}
-
GI: #action
SpecID: 286
Ignore: all
StartText: ${_relation child PREFACE 210 287}
-
GI: #action
SpecID: 287
Ignore: all
StartText: ${_relation child REFENTRY 210 288}
-
GI: #action
SpecID: 288
Ignore: all
StartText: ${_relation child REFERENCE 210}
-
GI: #action
SpecID: 210
Ignore: all
StartText: ^<div class="toc">^<p><b>Table of Contents</b></p>^<dl class="toc">^${_action 218t}</dl>^</div>^
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 211
Context: ^[A-Z0-9]+$
Ignore: all
Increment: tdn 1
EndText: <dt><a href="#d-${tdn}">${_action 212t}${_action 111}</a></dt>^${_action 219t}
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 240
Context: ^[A-Z0-9]+$
Ignore: all
Increment: dn 1
EndText: <a id="d-${dn}"></a>
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 214
Context: ^[A-Z0-9]+ [A-Z0-9]+$
Ignore: all
Increment: tdn 1
EndText: <dt><a href="#d-${tdn}">${_action 212t}${_action 111}</a></dt>^${_action 220t}
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 240
Context: ^[A-Z0-9]+ [A-Z0-9]+$
Ignore: all
Increment: dn 1
EndText: <a id="d-${dn}"></a>
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 215
Context: ^[A-Z0-9]+ [A-Z0-9]+ BOOK$
Ignore: all
Increment: tdn 1
EndText: <dt><a href="#d-${tdn}">${_action 212t}${_action 111}</a></dt>^
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 240
Context: ^[A-Z0-9]+ [A-Z0-9]+ BOOK$
Ignore: all
Increment: dn 1
EndText: <a id="d-${dn}"></a>
-
# The entries below an entry (or below the document element): one walk of
# its subtree for the children, chosen by its name, when it has a child
# division.
GI: BOOK BOOK
SpecID: 218
Ignore: all
StartText: ${_find parent BOOK 211t}
-
GI: ARTICLE ARTICLE
SpecID: 218
Ignore: all
StartText: ${_find parent ARTICLE 211t}
-
GI: SET SET
SpecID: 218
Ignore: all
StartText: ${_find parent SET 211t}
-
GI: PART PART
SpecID: 219
Relation: child CHAPTER
Ignore: all
StartText: <dd><dl>${_find parent PART 214t}</dl></dd>^
-
GI: PART PART
SpecID: 219
Relation: child APPENDIX
Ignore: all
StartText: <dd><dl>${_find parent PART 214t}</dl></dd>^
-
GI: PART PART
SpecID: 219
Relation: child PREFACE
Ignore: all
StartText: <dd><dl>${_find parent PART 214t}</dl></dd>^
-
GI: PART PART
SpecID: 219
Relation: child REFERENCE
Ignore: all
StartText: <dd><dl>${_find parent PART 214t}</dl></dd>^
-
GI: PART PART
SpecID: 219
Relation: child ARTICLE
Ignore: all
StartText: <dd><dl>${_find parent PART 214t}</dl></dd>^
-
GI: REFERENCE REFERENCE
SpecID: 219
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent REFERENCE 214t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 219
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 214t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 219
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 214t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 219
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 214t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 219
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 214t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 219
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 214t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 219
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 214t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 219
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 214t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 219
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 214t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 219
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 214t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 219
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 214t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 219
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 214t}</dl></dd>^
-
GI: SECT1 SECT1
SpecID: 219
Relation: child SECT2
Ignore: all
StartText: <dd><dl>${_find parent SECT1 214t}</dl></dd>^
-
GI: SECTION SECTION
SpecID: 219
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent SECTION 214t}</dl></dd>^
-
GI: PART PART
SpecID: 220
Relation: child CHAPTER
Ignore: all
StartText: <dd><dl>${_find parent PART 215t}</dl></dd>^
-
GI: PART PART
SpecID: 220
Relation: child APPENDIX
Ignore: all
StartText: <dd><dl>${_find parent PART 215t}</dl></dd>^
-
GI: PART PART
SpecID: 220
Relation: child PREFACE
Ignore: all
StartText: <dd><dl>${_find parent PART 215t}</dl></dd>^
-
GI: PART PART
SpecID: 220
Relation: child REFERENCE
Ignore: all
StartText: <dd><dl>${_find parent PART 215t}</dl></dd>^
-
GI: PART PART
SpecID: 220
Relation: child ARTICLE
Ignore: all
StartText: <dd><dl>${_find parent PART 215t}</dl></dd>^
-
GI: REFERENCE REFERENCE
SpecID: 220
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent REFERENCE 215t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 220
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 215t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 220
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 215t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 220
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 215t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 220
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 215t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 220
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 215t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 220
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 215t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 220
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 215t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 220
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 215t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 220
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 215t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 220
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 215t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 220
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 215t}</dl></dd>^
-
GI: SECT1 SECT1
SpecID: 220
Relation: child SECT2
Ignore: all
StartText: <dd><dl>${_find parent SECT1 215t}</dl></dd>^
-
GI: SECTION SECTION
SpecID: 220
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent SECTION 215t}</dl></dd>^
-
#------------------------------------------------------------------------
# In a book, a chapter, appendix or part lists its own contents under its
# title.  ctdn starts at the division's own anchor number and counts the
# same divisions as dn will; cchap numbers a part's chapters.

GI: CHAPTER APPENDIX PART
SpecID: 600
Context: BOOK$
Ignore: all
Set: ctdn ${dn}
Set: cchap ${chap 0}
EndText: ${_relation child SECT1 606 607}
-
GI: #action
SpecID: 607
Ignore: all
StartText: ${_relation child SECTION 606 608}
-
GI: #action
SpecID: 608
Ignore: all
StartText: ${_relation child CHAPTER 606}
-
GI: #action
SpecID: 606
Ignore: all
StartText: ^<div class="toc">^<p><b>Table of Contents</b></p>^<dl class="toc">^${_action 601t}</dl>^</div>^
-
GI: PART PART
SpecID: 601
Ignore: all
StartText: ${_find parent PART 602t}
-
GI: PART PART
SpecID: 603
Relation: child CHAPTER
Ignore: all
StartText: <dd><dl>${_find parent PART 604t}</dl></dd>^
-
GI: PART PART
SpecID: 603
Relation: child APPENDIX
Ignore: all
StartText: <dd><dl>${_find parent PART 604t}</dl></dd>^
-
GI: PART PART
SpecID: 603
Relation: child PREFACE
Ignore: all
StartText: <dd><dl>${_find parent PART 604t}</dl></dd>^
-
GI: PART PART
SpecID: 603
Relation: child REFERENCE
Ignore: all
StartText: <dd><dl>${_find parent PART 604t}</dl></dd>^
-
GI: PART PART
SpecID: 603
Relation: child ARTICLE
Ignore: all
StartText: <dd><dl>${_find parent PART 604t}</dl></dd>^
-
GI: REFERENCE REFERENCE
SpecID: 601
Ignore: all
StartText: ${_find parent REFERENCE 602t}
-
GI: REFERENCE REFERENCE
SpecID: 603
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent REFERENCE 604t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 601
Ignore: all
StartText: ${_find parent CHAPTER 602t}
-
GI: CHAPTER CHAPTER
SpecID: 603
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 604t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 603
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 604t}</dl></dd>^
-
GI: CHAPTER CHAPTER
SpecID: 603
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent CHAPTER 604t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 601
Ignore: all
StartText: ${_find parent APPENDIX 602t}
-
GI: APPENDIX APPENDIX
SpecID: 603
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 604t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 603
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 604t}</dl></dd>^
-
GI: APPENDIX APPENDIX
SpecID: 603
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent APPENDIX 604t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 601
Ignore: all
StartText: ${_find parent PREFACE 602t}
-
GI: PREFACE PREFACE
SpecID: 603
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 604t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 603
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 604t}</dl></dd>^
-
GI: PREFACE PREFACE
SpecID: 603
Relation: child REFENTRY
Ignore: all
StartText: <dd><dl>${_find parent PREFACE 604t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 601
Ignore: all
StartText: ${_find parent ARTICLE 602t}
-
GI: ARTICLE ARTICLE
SpecID: 603
Relation: child SECT1
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 604t}</dl></dd>^
-
GI: ARTICLE ARTICLE
SpecID: 603
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent ARTICLE 604t}</dl></dd>^
-
GI: SECT1 SECT1
SpecID: 601
Ignore: all
StartText: ${_find parent SECT1 602t}
-
GI: SECT1 SECT1
SpecID: 603
Relation: child SECT2
Ignore: all
StartText: <dd><dl>${_find parent SECT1 604t}</dl></dd>^
-
GI: SECT2 SECT2
SpecID: 601
Ignore: all
StartText: ${_find parent SECT2 602t}
-
GI: SECTION SECTION
SpecID: 601
Ignore: all
StartText: ${_find parent SECTION 602t}
-
GI: SECTION SECTION
SpecID: 603
Relation: child SECTION
Ignore: all
StartText: <dd><dl>${_find parent SECTION 604t}</dl></dd>^
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 602
Context: ^[A-Z0-9]+ [A-Z0-9]+$
Ignore: all
Increment: ctdn 1
EndText: <dt><a href="#d-${ctdn}">${_action 609t}${_action 111}</a></dt>^${_action 603t}
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 602
Context: ^[A-Z0-9]+ [A-Z0-9]+ BOOK$
Ignore: all
Increment: ctdn 1
EndText: <dt><a href="#d-${ctdn}">${_action 609t}${_action 111}</a></dt>^${_action 603t}
-
GI: PART REFERENCE CHAPTER APPENDIX PREFACE ARTICLE GLOSSARY BIBLIOGRAPHY SECT1 SECT2 SECTION REFENTRY
SpecID: 604
Context: ^[A-Z0-9]+ [A-Z0-9]+ BOOK$
Ignore: all
Increment: ctdn 1
EndText: <dt><a href="#d-${ctdn}">${_action 111}</a></dt>^
-
GI: CHAPTER CHAPTER
SpecID: 609
Ignore: all
Increment: cchap 1
EndText: ${cchap}.\s
-
# The label of a contents entry: a chapter's number, an appendix's letter,
# a part's Roman number.
GI: CHAPTER CHAPTER
SpecID: 212
Ignore: all
Increment: tchap 1
EndText: ${tchap}.\s
-
GI: APPENDIX APPENDIX
SpecID: 212
Relation: sibling- APPENDIX
Ignore: all
Increment: tapp 1
EndText: ${tapp}.\s
-
GI: APPENDIX APPENDIX
SpecID: 212
Ignore: all
Set: tapp A
EndText: ${tapp}.\s
-
GI: PART PART
SpecID: 212
Ignore: all
Increment: tpartn 1
EndText: ${_action 235}${_action 236}
-

# The numbers of the body: chapter, appendix and part labels, and the
# counters of tables, figures and examples, which start again in each
# chapter and appendix of a book (clabel is the chapter's label then).
GI: CHAPTER CHAPTER
SpecID: 230
Ignore: all
Increment: chap 1
Set: tbl 0
Set: fig 0
Set: ex 0
EndText: ${_action 231}
-
GI: #action
SpecID: 231
Ignore: all
Set: clabel ${chap}.
-
GI: APPENDIX APPENDIX
SpecID: 230
Relation: sibling- APPENDIX
Ignore: all
Increment: app 1
Set: tbl 0
Set: fig 0
Set: ex 0
EndText: ${_action 232}
-
GI: APPENDIX APPENDIX
SpecID: 230
Ignore: all
Set: app A
Set: tbl 0
Set: fig 0
Set: ex 0
EndText: ${_action 232}
-
GI: #action
SpecID: 232
Ignore: all
Set: clabel ${app}.
-
GI: PART PART
SpecID: 230
Ignore: all
Increment: partn 1
EndText: ${_action 233}
-
GI: #action
SpecID: 233
Ignore: all
StartText: ${_isset partn 1 301}${_isset partn 2 302}${_isset partn 3 303}${_isset partn 4 304}${_isset partn 5 305}${_isset partn 6 306}${_isset partn 7 307}${_isset partn 8 308}${_isset partn 9 309}${_isset partn 10 310}${_isset partn 11 311}${_isset partn 12 312}${_isset partn 13 313}${_isset partn 14 314}${_isset partn 15 315}${_isset partn 16 316}${_isset partn 17 317}${_isset partn 18 318}${_isset partn 19 319}${_isset partn 20 320}
-
GI: #action
SpecID: 235
Ignore: all
StartText: ${_isset tpartn 1 321}${_isset tpartn 2 322}${_isset tpartn 3 323}${_isset tpartn 4 324}${_isset tpartn 5 325}${_isset tpartn 6 326}${_isset tpartn 7 327}${_isset tpartn 8 328}${_isset tpartn 9 329}${_isset tpartn 10 330}${_isset tpartn 11 331}${_isset tpartn 12 332}${_isset tpartn 13 333}${_isset tpartn 14 334}${_isset tpartn 15 335}${_isset tpartn 16 336}${_isset tpartn 17 337}${_isset tpartn 18 338}${_isset tpartn 19 339}${_isset tpartn 20 340}
-
GI: #action
SpecID: 301
Ignore: all
Set: partr I
-
GI: #action
SpecID: 321
Ignore: all
Set: tpartr I
-
GI: #action
SpecID: 302
Ignore: all
Set: partr II
-
GI: #action
SpecID: 322
Ignore: all
Set: tpartr II
-
GI: #action
SpecID: 303
Ignore: all
Set: partr III
-
GI: #action
SpecID: 323
Ignore: all
Set: tpartr III
-
GI: #action
SpecID: 304
Ignore: all
Set: partr IV
-
GI: #action
SpecID: 324
Ignore: all
Set: tpartr IV
-
GI: #action
SpecID: 305
Ignore: all
Set: partr V
-
GI: #action
SpecID: 325
Ignore: all
Set: tpartr V
-
GI: #action
SpecID: 306
Ignore: all
Set: partr VI
-
GI: #action
SpecID: 326
Ignore: all
Set: tpartr VI
-
GI: #action
SpecID: 307
Ignore: all
Set: partr VII
-
GI: #action
SpecID: 327
Ignore: all
Set: tpartr VII
-
GI: #action
SpecID: 308
Ignore: all
Set: partr VIII
-
GI: #action
SpecID: 328
Ignore: all
Set: tpartr VIII
-
GI: #action
SpecID: 309
Ignore: all
Set: partr IX
-
GI: #action
SpecID: 329
Ignore: all
Set: tpartr IX
-
GI: #action
SpecID: 310
Ignore: all
Set: partr X
-
GI: #action
SpecID: 330
Ignore: all
Set: tpartr X
-
GI: #action
SpecID: 311
Ignore: all
Set: partr XI
-
GI: #action
SpecID: 331
Ignore: all
Set: tpartr XI
-
GI: #action
SpecID: 312
Ignore: all
Set: partr XII
-
GI: #action
SpecID: 332
Ignore: all
Set: tpartr XII
-
GI: #action
SpecID: 313
Ignore: all
Set: partr XIII
-
GI: #action
SpecID: 333
Ignore: all
Set: tpartr XIII
-
GI: #action
SpecID: 314
Ignore: all
Set: partr XIV
-
GI: #action
SpecID: 334
Ignore: all
Set: tpartr XIV
-
GI: #action
SpecID: 315
Ignore: all
Set: partr XV
-
GI: #action
SpecID: 335
Ignore: all
Set: tpartr XV
-
GI: #action
SpecID: 316
Ignore: all
Set: partr XVI
-
GI: #action
SpecID: 336
Ignore: all
Set: tpartr XVI
-
GI: #action
SpecID: 317
Ignore: all
Set: partr XVII
-
GI: #action
SpecID: 337
Ignore: all
Set: tpartr XVII
-
GI: #action
SpecID: 318
Ignore: all
Set: partr XVIII
-
GI: #action
SpecID: 338
Ignore: all
Set: tpartr XVIII
-
GI: #action
SpecID: 319
Ignore: all
Set: partr XIX
-
GI: #action
SpecID: 339
Ignore: all
Set: tpartr XIX
-
GI: #action
SpecID: 320
Ignore: all
Set: partr XX
-
GI: #action
SpecID: 340
Ignore: all
Set: tpartr XX
-
GI: #action
SpecID: 236
Ignore: all
StartText: ${tpartr}.\s
-
GI: #action
SpecID: 260
Ignore: all
Increment: tbl 1
EndText: <a id="table-${clabel }${tbl}"></a>
-
GI: #action
SpecID: 261
Ignore: all
Increment: fig 1
EndText: <a id="figure-${clabel }${fig}"></a>
-
GI: #action
SpecID: 262
Ignore: all
Increment: ex 1
EndText: <a id="example-${clabel }${ex}"></a>
-
GI: #action
SpecID: 270
Ignore: all
StartText: &#8482;
-
GI: #action
SpecID: 271
Ignore: all
StartText: &#174;
-

#------------------------------------------------------------------------
# Footnotes: a number in the text, the texts at the end of the page.

GI: #action
SpecID: 255
Ignore: all
Increment: fn 1
-
GI: #action
SpecID: 256
Ignore: all
StartText: <sup>[<a id="fnr-${fn}" href="#fn-${fn}">${fn}</a>]</sup>
-
GI: #action
SpecID: 250
Ignore: all
StartText: ${_isset fn 251}
-
GI: #action
SpecID: 251
Ignore: all
StartText: ^<div class="footnotes">^<hr>^${_find top gi FOOTNOTE 252}</div>^
-
GI: #action
SpecID: 252
StartText: ^<div class="footnote"${_attval ID 103}>${_action 253}${_action 254}
EndText: </div>^
-
GI: #action
SpecID: 253
Ignore: all
Increment: fnl 1
-
GI: #action
SpecID: 254
Ignore: all
StartText: <sup>[<a id="fn-${fnl}" href="#fnr-${fnl}">${fnl}</a>]</sup>\s
-

#------------------------------------------------------------------------
# A book lists its tables, figures and examples after its contents, those
# of each chapter and appendix under the chapter's label.

GI: BOOK BOOK
SpecID: 222
Ignore: all
StartText: ${_relation descendant TABLE 500}${_relation descendant FIGURE 510}${_relation descendant EXAMPLE 520}
-
GI: #action
SpecID: 500
Ignore: all
StartText: ^<div class="list-of-tables">^<p><b>List of Tables</b></p>^<dl>^${_find gi CHAPTER 501}${_find gi APPENDIX 502t}</dl>^</div>^
-
GI: #action
SpecID: 501
Ignore: all
Increment: lctable 1
Set: lntable 0
EndText: ${_action 503}${_action 505}
-
GI: APPENDIX APPENDIX
SpecID: 502
Relation: sibling- APPENDIX
Ignore: all
Increment: latable 1
Set: lntable 0
EndText: ${_action 504}${_action 505}
-
GI: APPENDIX APPENDIX
SpecID: 502
Ignore: all
Set: latable A
Set: lntable 0
EndText: ${_action 504}${_action 505}
-
GI: #action
SpecID: 503
Ignore: all
Set: lltable ${lctable}.
-
GI: #action
SpecID: 504
Ignore: all
Set: lltable ${latable}.
-
GI: #action
SpecID: 505
Ignore: all
StartText: ${_find gi TABLE 506}
-
GI: #action
SpecID: 506
Ignore: all
Increment: lntable 1
EndText: <dt><a href="#table-${lltable}${lntable}">${lltable}${lntable}.\s${_followrel child TITLE 110}</a></dt>^
-
GI: #action
SpecID: 510
Ignore: all
StartText: ^<div class="list-of-figures">^<p><b>List of Figures</b></p>^<dl>^${_find gi CHAPTER 511}${_find gi APPENDIX 512t}</dl>^</div>^
-
GI: #action
SpecID: 511
Ignore: all
Increment: lcfigure 1
Set: lnfigure 0
EndText: ${_action 513}${_action 515}
-
GI: APPENDIX APPENDIX
SpecID: 512
Relation: sibling- APPENDIX
Ignore: all
Increment: lafigure 1
Set: lnfigure 0
EndText: ${_action 514}${_action 515}
-
GI: APPENDIX APPENDIX
SpecID: 512
Ignore: all
Set: lafigure A
Set: lnfigure 0
EndText: ${_action 514}${_action 515}
-
GI: #action
SpecID: 513
Ignore: all
Set: llfigure ${lcfigure}.
-
GI: #action
SpecID: 514
Ignore: all
Set: llfigure ${lafigure}.
-
GI: #action
SpecID: 515
Ignore: all
StartText: ${_find gi FIGURE 516}
-
GI: #action
SpecID: 516
Ignore: all
Increment: lnfigure 1
EndText: <dt><a href="#figure-${llfigure}${lnfigure}">${llfigure}${lnfigure}.\s${_followrel child TITLE 110}</a></dt>^
-
GI: #action
SpecID: 520
Ignore: all
StartText: ^<div class="list-of-examples">^<p><b>List of Examples</b></p>^<dl>^${_find gi CHAPTER 521}${_find gi APPENDIX 522t}</dl>^</div>^
-
GI: #action
SpecID: 521
Ignore: all
Increment: lcexample 1
Set: lnexample 0
EndText: ${_action 523}${_action 525}
-
GI: APPENDIX APPENDIX
SpecID: 522
Relation: sibling- APPENDIX
Ignore: all
Increment: laexample 1
Set: lnexample 0
EndText: ${_action 524}${_action 525}
-
GI: APPENDIX APPENDIX
SpecID: 522
Ignore: all
Set: laexample A
Set: lnexample 0
EndText: ${_action 524}${_action 525}
-
GI: #action
SpecID: 523
Ignore: all
Set: llexample ${lcexample}.
-
GI: #action
SpecID: 524
Ignore: all
Set: llexample ${laexample}.
-
GI: #action
SpecID: 525
Ignore: all
StartText: ${_find gi EXAMPLE 526}
-
GI: #action
SpecID: 526
Ignore: all
Increment: lnexample 1
EndText: <dt><a href="#example-${llexample}${lnexample}">${llexample}${lnexample}.\s${_followrel child TITLE 110}</a></dt>^
-
#------------------------------------------------------------------------
# A segment of a segmented list is headed by its SEGTITLE, the one at the
# same position: the list's first SEGTITLE, then its following siblings.

GI: SEG
NthChild: 1
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 541}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 541
Ignore: all
StartText: ${_followrel child SEGTITLE 530}
-
GI: SEG
NthChild: 2
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 542}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 542
Ignore: all
StartText: ${_followrel child SEGTITLE 531}
-
GI: SEG
NthChild: 3
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 543}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 543
Ignore: all
StartText: ${_followrel child SEGTITLE 532}
-
GI: SEG
NthChild: 4
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 544}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 544
Ignore: all
StartText: ${_followrel child SEGTITLE 533}
-
GI: SEG
NthChild: 5
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 545}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 545
Ignore: all
StartText: ${_followrel child SEGTITLE 534}
-
GI: SEG
NthChild: 6
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 546}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 546
Ignore: all
StartText: ${_followrel child SEGTITLE 535}
-
GI: SEG
NthChild: 7
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 547}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 547
Ignore: all
StartText: ${_followrel child SEGTITLE 536}
-
GI: SEG
NthChild: 8
StartText: ^<span class="segtitle">${_followrel ancestor SEGMENTEDLIST 548}:</span>\s
EndText: <br>^
-
GI: #action
SpecID: 548
Ignore: all
StartText: ${_followrel child SEGTITLE 537}
-
GI: #action
SpecID: 530
-
GI: SEG
StartText: ^
EndText: <br>^
-
GI: #action
SpecID: 531
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 530}
-
GI: #action
SpecID: 532
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 531}
-
GI: #action
SpecID: 533
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 532}
-
GI: #action
SpecID: 534
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 533}
-
GI: #action
SpecID: 535
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 534}
-
GI: #action
SpecID: 536
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 535}
-
GI: #action
SpecID: 537
Ignore: all
StartText: ${_followrel sibling+1 SEGTITLE 536}
-
# Anything else: its content, without markup, and an anchor for its ID.
GI: *
StartText: ${_attval ID 102}
-
