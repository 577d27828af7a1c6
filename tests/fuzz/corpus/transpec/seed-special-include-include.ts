# _include copies a file as it stands; a name that cannot be opened is
# looked for in the library directories (-l).
GI: MANUAL
StartText: [${_include part.txt}]^[${_include libpart.txt}][${_include nosuch.txt}][${_include}]^
Ignore: all
-
