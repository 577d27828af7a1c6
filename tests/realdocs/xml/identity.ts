# Every element as a tag with all its attributes; data and processing
# instructions as they come.
GI: *
StartText: <${_gi} ${_allatts}>
EndText: </${_gi}>
-
