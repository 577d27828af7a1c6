GI: FIGURE
Quit: Figures are not allowed.
-
GI: *
-
