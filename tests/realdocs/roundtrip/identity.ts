# Writes every element back as a tag with all its attributes, raw, and its
# data as the document holds it; processing instructions are left out.
GI: _*
Ignore: data
-
StartText: <${_gi} ${_allatts}>
EndText: </${_gi}>
-
