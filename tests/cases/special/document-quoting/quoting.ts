# Text of the document inside an author's command is one quoted word: no
# command of its own runs, and it arrives whole as one argument, in every
# quoting the author may have put around it.
GI: P
StartText: ${_!printf '[%s]' ${X}}^${_!printf "[%s]" "${X}"}^${_!printf '[%s]' 'x${X}x'}^
  ${_!printf '[%s]' "$(printf %s ${X})"}^${_!printf '[%s]' "`printf %s ${X}`"}^
  ${_!printf '[%s]' ${+content}}^${_eachatt W 101}${_eachcon 102}^
  ${_!printf '%s' ${X} | tr a-z A-Z}^${_set v !echo${Y}}[${v}]^
Ignore: all
-
GI: #action
SpecID: 101
Ignore: all
StartText: ${_!printf '<%s>' ${each_A}}
-
GI: #action
SpecID: 102
Ignore: all
StartText: ${_!printf '(%s)' ${each_C}}
-
