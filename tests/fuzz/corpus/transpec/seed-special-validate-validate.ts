# Validation (-v) writes no output, but special calls still run: the
# command creates its file, _set sets, and the messages appear.
GI: MANUAL
StartText: ${_gi}${_!touch ran-while-validating}${_set v set-while-validating}${_nosuch}
EndText: ${_env USER}${_include ../command/command.ts}${_id SETUP 1}
Ignore: all
-
GI: _one
SpecID: 1
Message: action on ${ID}, v=${v}^
-
