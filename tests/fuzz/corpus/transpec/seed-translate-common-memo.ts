# Memo to HTML-like text: the cases of this folder share it.
GI: _Start
StartText: <!-- ${transpec} -->^
-
GI: _End
EndText: ^<!-- end: ${paras} paragraphs, last kind ${kind none} -->^
-
GI: MEMO
StartText: <memo id="${ID:l}" status="${STATUS}">^
EndText: ^</memo>^
-
GI: HEAD
StartText: <header>
EndText: </header>^
-
GI: TO FROM
StartText: ^  <line>
EndText: </line>
-
GI: NOTE
Replace: ^  <note replaced="yes"/>
-
GI: B
StartText: <b>
EndText: </b>
-
GI: P
Context: BODY
StartText: ^<p n="${paras}">
EndText: </p>
Increment: paras
Set: kind ${KIND}
-
GI: CODE
Verbatim: yes
StartText: ^<pre>
EndText: </pre>^
-
GI: SECRET
Ignore: all
StartText: ^[secret elided]
-
GI: BODY
StartText: ^<body>
EndText: ^</body>
-
GI: _page
StartText: ^<page n="
EndText: "/>
-
