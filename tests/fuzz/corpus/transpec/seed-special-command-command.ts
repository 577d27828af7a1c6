# ${_!command}: the command's output stands where the call stands, between
# the texts written before and after it, also when the output is a pipe.
GI: MANUAL
StartText: before ${_!printf 'one\ntwo\n'}after|${_!printf ''}|${_!exit 3}|${_!printf "%s" "${VERSION}"}|${_!printf x}${_!printf y}|end^
Ignore: all
-
