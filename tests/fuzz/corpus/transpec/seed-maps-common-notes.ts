# Notes to HTML-like text, written through the maps of this folder.
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
