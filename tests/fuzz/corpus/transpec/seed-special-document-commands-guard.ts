# Text of the document never runs a command: not as the text of a special
# call, not as a _set value, and not later through a variable holding it.
# A "!" that the spec's author wrote still runs the command.
GI: P
StartText: ^[${_${CMD}}] [${_${+content}}]${_set fromattr ${CMD}}${_set fromdata ${+content}}
EndText: ${_set copy ${fromattr}} [${fromattr}] [${fromdata}]
Ignore: data
-
GI: DOC
StartText: author: [${_!printf author-ran}]${_!touch author-file}${_set mine !./say-ok}
EndText: ^mine: [${mine}] copy: [${copy}] [${_${copy}}]^
-
