
G1 X -5 Y 1 C 0 F300
 Y 120000
 X 5
 Y 1
M30
