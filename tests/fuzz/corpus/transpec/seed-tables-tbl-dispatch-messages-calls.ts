# Calls that name no instruction, an unknown format or instruction, and
# no format at all: messages only, and the translation goes on.
GI: TABLE
StartText: <${_calstable tbl}|${_calstable nroff tablestart}|${_calstable tbl tablebegin}|${_calstable}|${_calstable tex middle}>
-
