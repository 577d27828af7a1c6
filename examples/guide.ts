# guide.ts -- the example document (guide.sgml) as HTML.
#     qlx -t guide.ts -s html.sdata -c html.cmap guide.esis
GI: _Start
StartText: <!DOCTYPE html>^
-
GI: ARTICLE
StartText: <html lang="${LANG en}">^<body>^
EndText: ^</body>^</html>^
-
GI: TITLE
Context: ARTICLE
StartText: <h1>
EndText: </h1>^
-
GI: TITLE
Context: SECTION SECTION
StartText: ^<h3>
EndText: </h3>^
-
GI: TITLE
Context: SECTION
StartText: ^<h2>
EndText: </h2>^
-
GI: SECTION
StartText: ^<section id="${ID:l}">^
EndText: ^</section>^
-
# A paragraph in a list item is the item's own text.
GI: PARA
Context: LISTITEM
-

GI: PARA
StartText: ^<p>
EndText: </p>^
-
GI: EMPHASIS
StartText: <em>
EndText: </em>
-
GI: LITERAL
StartText: <code>
EndText: </code>
-
GI: XREF
Replace: <a href="#${LINKEND:l}">${LINKEND:l}</a>
-
GI: ULINK
StartText: <a href="${URL}">
EndText: </a>
-
GI: ITEMIZEDLIST
StartText: ^<ul>^
EndText: ^</ul>^
-
GI: LISTITEM
StartText: ^<li>
EndText: </li>^
-
GI: PROGRAMLISTING
Verbatim:
StartText: ^<pre>
EndText: </pre>^
-
GI: TABLE
StartText: ^<table>^
EndText: ^</table>^
-
GI: TITLE
Context: TABLE
StartText: <caption>
EndText: </caption>^
-
GI: TGROUP COLSPEC TBODY
-
GI: THEAD
StartText: <thead>^
EndText: </thead>^
-
GI: ROW
StartText: <tr>
EndText: </tr>^
-
GI: ENTRY
Context: ROW THEAD
StartText: <th>
EndText: </th>
-
GI: ENTRY
StartText: <td>
EndText: </td>
-
