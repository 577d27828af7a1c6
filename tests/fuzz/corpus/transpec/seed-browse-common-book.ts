# The book as a plain outline; the browser cases share it.
Var: count 0
GI: _Start
StartText: [start for ${reader}]^
-
GI: _End
EndText: ^[end after ${count} paragraphs]^
-
GI: BOOK
StartText: <book status="${STATUS}">^
EndText: ^</book>
-
GI: SECTION APPENDIX
StartText: ^<section id="${ID}">
EndText: ^</section>
-
GI: TITLE
StartText: ^= 
-
GI: PARA
StartText: ^<p n="${count}">
EndText: </p>
Increment: count
-
GI: EMPH
StartText: *
EndText: *
-
GI: FIGURE
Replace: ^[figure]
-
GI: NOTE
-
GI: _page
StartText: [page:
EndText: ]
-
