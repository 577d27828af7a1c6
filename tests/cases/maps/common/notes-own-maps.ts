# The same spec, naming its own maps (found in the library, -l).
Var: _sdatamap notes.sdata
Var: _charmap notes.cmap
GI: NOTES
StartText: <notes>\|[br   ]\|
EndText: ^</notes>^
-
GI: P
StartText: ^<p>
EndText: </p>
-
GI: CODE
Verbatim: yes
StartText: ^<code>
EndText: </code>
-
