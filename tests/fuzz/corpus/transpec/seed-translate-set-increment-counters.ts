Var: num 9
Var: neg -3
Var: letter a
Var: word ab
Var: big 1
GI: B
Increment: num
Increment: neg
Increment: letter
Increment: word
Increment: big 2
Increment: fresh
Increment: zz x
EndText: ^${num} ${neg} ${letter} ${word} ${big} ${fresh} ${zz}
-
GI: P
Set: kind ${KIND}
Set: fixed !echo from-the-spec
Set: gone
EndText: ^kind=${kind} fixed=${fixed} gone=${gone unset}
-
GI: MEMO
StartText: [${zz none}]
-
