# For each element of an ESIS stream (onsgmls -l), in document order: 1
# when a line record stands in its info block (the reader then gives it
# that line), else 0.
{ c = substr($0, 1, 1) }
c == "-" || c == "?" || c == ")" { info = 0; own = 0; next }
c == "L" { if (info || depth == 0) own = 1; next }
c == "(" { print own; info = 0; own = 0; depth++; next }
c == "A" || c == "D" || c == "E" || c == "I" || c == "N" || c == "f" || c == "p" || c == "s" { info = 1 }
